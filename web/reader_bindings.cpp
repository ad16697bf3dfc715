// The bar-code reader the scan box runs in a worker, a module of its own that the page loads
// only when 扫描条码 is first pressed: a picture's RGBA pixels in (as a canvas gives them), what the
// label gives the query screen out. The codes come from the reader, their meaning from core's
// label rule; this file only converts.
#include "core/label.hpp"
#include "reader/reader.hpp"

#include <emscripten/bind.h>

#include <cstddef>
#include <cstdint>
#include <string>

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

private:
    reader::GreyPicture m_picture;
};

} // namespace

EMSCRIPTEN_BINDINGS(quenlio_reader) {
    using namespace emscripten;
    value_object<ScanReading>("ScanReading")
        .field("Outcome", &ScanReading::Outcome)
        .field("Serial", &ScanReading::Serial)
        .field("PartNumber", &ScanReading::PartNumber)
        .field("Message", &ScanReading::Message);
    constant("LongestSide", reader::LongestSide);
    constant("MostPixels", double(reader::MostPixels));
    function("readLabel", &ReadFrame);
    class_<Photo>("Photo")
        .constructor<int, int>()
        .function("empty", &Photo::Empty)
        .function("put", &Photo::Put)
        .function("read", &Photo::Read);
}
