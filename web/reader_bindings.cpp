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
    std::string Outcome; // "Read", "NoSerial", "OtherScreen" or "TwoSerials"
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
    case LabelReading::Outcome::NoSerial:
        break;
    }
    return "NoSerial";
}

// `rgba` holds width × height pixels of four bytes; anything else reads as no picture.
ScanReading ReadLabelText(const std::string& rgba, int width, int height, int serialLength) {
    std::vector<std::string> codes;
    if (width > 0 && height > 0 && rgba.size() == std::size_t(width) * std::size_t(height) * 4)
        codes = reader::ReadCodes({reinterpret_cast<const std::uint8_t*>(rgba.data()), width, height,
                                   reader::Pixels::Rgba, 0});
    const LabelReading reading = ReadLabel(codes, std::size_t(serialLength));
    return {OutcomeName(reading.Result), reading.Serial, reading.PartNumber,
            std::string(LabelMessage(reading, std::size_t(serialLength)))};
}

} // namespace

EMSCRIPTEN_BINDINGS(quenlio_reader) {
    using namespace emscripten;
    value_object<ScanReading>("ScanReading")
        .field("Outcome", &ScanReading::Outcome)
        .field("Serial", &ScanReading::Serial)
        .field("PartNumber", &ScanReading::PartNumber)
        .field("Message", &ScanReading::Message);
    constant("LongestSide", reader::LongestSide);
    constant("UnreadablePicture", std::string(UnreadablePicture));
    function("readLabel", &ReadLabelText);
}
