// The bar-code reader the scan box runs in a worker, a module of its own that the page loads
// only when 扫描条码 is first pressed: a picture's RGBA pixels in (as a canvas gives them), what the
// label gives the query screen out. The codes come from the reader, their meaning from core's
// label rule; this file only converts. A picture that holds no serial's bar code is prepared here
// for text recognition as on the desktop (ocr/'s Prepare), the page recognizes the prepared
// pictures with tesseract.js, and the words it finds come back to core's About-screen rule.
#include "core/about_screen.hpp"
#include "core/label.hpp"
#include "ocr/recognizer.hpp"
#include "reader/reader.hpp"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace quenlio;

struct ScanReading {
    std::string Outcome; // "Read", "NoSerial", "OtherScreen", "TwoSerials" or "TwoLabels"
    std::string Serial;  // with "Read", the serial for the screen's serial box
    std::string PartNumber;
    std::string Message; // the one line the screen says of it, or ""
};

const char* OutcomeName(LabelReading::Outcome outcome) {
    switch (outcome) {
    case LabelReading::Outcome::Read:
        return "Read";
    case LabelReading::Outcome::OtherScreen:
        return "OtherScreen";
    case LabelReading::Outcome::TwoSerials:
        return "TwoSerials";
    case LabelReading::Outcome::TwoLabels:
        return "TwoLabels";
    case LabelReading::Outcome::NoSerial:
        break;
    }
    return "NoSerial";
}

ScanReading Answer(const reader::GreyPicture& picture, int serialLength) {
    const LabelReading reading = reader::ReadLabelPicture(picture, std::size_t(serialLength));
    return {OutcomeName(reading.Result), reading.Serial, reading.PartNumber,
            std::string(LabelMessage(reading, std::size_t(serialLength)))};
}

// `rgba` holds `rows` rows of `width` pixels of four bytes; anything else is no pixels.
reader::Picture Pixels(const std::string& rgba, int width, int rows) {
    if (width <= 0 || rows <= 0 || rgba.size() != std::size_t(width) * std::size_t(rows) * 4)
        return {};
    return {reinterpret_cast<const std::uint8_t*>(rgba.data()), width, rows, reader::Pixels::Rgba, 0};
}

// One camera frame (the aiming frame's crop), read whole.
ScanReading ReadFrame(const std::string& rgba, int width, int height, int serialLength) {
    return Answer(reader::GreyPicture(Pixels(rgba, width, height)), serialLength);
}

// What a picture's text gives the screen: as ScanReading, with the boxes of the picture the serial
// and the part number were read from.
struct TextReading {
    std::string Outcome;
    std::string Serial;
    std::string PartNumber;
    std::string Message;
    ScreenWord SerialFrom;
    ScreenWord PartFrom;
};

const char* OutcomeName(ScreenReading::Outcome outcome) {
    switch (outcome) {
    case ScreenReading::Outcome::Read:
        return "Read";
    case ScreenReading::Outcome::OtherScreen:
        return "OtherScreen";
    case ScreenReading::Outcome::TwoSerials:
        return "TwoSerials";
    case ScreenReading::Outcome::NoSerial:
        break;
    }
    return "NoSerial";
}

// A photo, handed over a band of rows at a time (a canvas the size of a big photo is more than
// a phone's browser allows), then read. Empty, and read as no picture, when it is too big.
class Photo {
public:
    Photo(int width, int height) : m_picture(width, height) {}
    bool Empty() const { return m_picture.Empty(); }
    void Put(const std::string& rgba, int top, int rows) {
        m_picture.Put(Pixels(rgba, m_picture.Width(), rows), top);
    }
    ScanReading Read(int serialLength) const { return Answer(m_picture, serialLength); }
    // The pictures it is recognized as (ocr's Prepare), kept for the words read in them; how many.
    int Prepare() {
        m_prepared = ocr::Prepare(m_picture);
        return int(m_prepared.size());
    }
    // Prepared picture `i`: { width, height, pixels } (one grey byte a pixel, copied out).
    emscripten::val Prepared(int i) const {
        emscripten::val picture = emscripten::val::object();
        if (i < 0 || std::size_t(i) >= m_prepared.size())
            return picture;
        const ocr::Prepared& prepared = m_prepared[std::size_t(i)];
        picture.set("width", prepared.Width);
        picture.set("height", prepared.Height);
        picture.set("pixels", emscripten::val(emscripten::typed_memory_view(prepared.Pixels.size(), prepared.Pixels.data()))
                                  .call<emscripten::val>("slice"));
        return picture;
    }
    // `words`: an array, for each prepared picture in order, of the words recognized in it; what
    // they give the screen, each picture's reading by core's rule and then only what they agree on.
    TextReading ReadText(const emscripten::val& words, int serialLength) const {
        std::vector<ScreenReading> readings;
        for (std::size_t i = 0; i < m_prepared.size() && i < words["length"].as<std::size_t>(); ++i)
            readings.push_back(ReadAboutScreen(
                ocr::InPicture(emscripten::vecFromJSArray<ScreenWord>(words[i]), m_prepared[i]), std::size_t(serialLength), true));
        ScreenReading agreed = readings.empty() ? ScreenReading{} : readings.front();
        for (std::size_t i = 1; i < readings.size(); ++i)
            agreed = AgreedReading(agreed, readings[i]);
        return {OutcomeName(agreed.Result), agreed.Serial, agreed.PartNumber,
                std::string(ScreenMessage(agreed, std::size_t(serialLength))), agreed.SerialFrom, agreed.PartFrom};
    }

private:
    reader::GreyPicture m_picture;
    std::vector<ocr::Prepared> m_prepared;
};

} // namespace

EMSCRIPTEN_BINDINGS(quenlio_reader) {
    using namespace emscripten;
    value_object<ScanReading>("ScanReading")
        .field("Outcome", &ScanReading::Outcome)
        .field("Serial", &ScanReading::Serial)
        .field("PartNumber", &ScanReading::PartNumber)
        .field("Message", &ScanReading::Message);
    value_object<ScreenWord>("ScreenWord")
        .field("Text", &ScreenWord::Text)
        .field("Left", &ScreenWord::Left)
        .field("Top", &ScreenWord::Top)
        .field("Width", &ScreenWord::Width)
        .field("Height", &ScreenWord::Height);
    value_object<TextReading>("TextReading")
        .field("Outcome", &TextReading::Outcome)
        .field("Serial", &TextReading::Serial)
        .field("PartNumber", &TextReading::PartNumber)
        .field("Message", &TextReading::Message)
        .field("SerialFrom", &TextReading::SerialFrom)
        .field("PartFrom", &TextReading::PartFrom);
    constant("LongestSide", reader::LongestSide);
    constant("MostPixels", double(reader::MostPixels));
    function("readLabel", &ReadFrame);
    class_<Photo>("Photo")
        .constructor<int, int>()
        .function("empty", &Photo::Empty)
        .function("put", &Photo::Put)
        .function("read", &Photo::Read)
        .function("prepare", &Photo::Prepare)
        .function("prepared", &Photo::Prepared)
        .function("readText", &Photo::ReadText);
}
