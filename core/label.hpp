#pragma once
// Reading a box label: which of the texts decoded from its bar codes is the serial number and
// which the part number, decided by rule from the texts alone, for the query screen of one
// serial length. For labels only: a part number typed by hand keeps its region suffix.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quenlio {

// The serial a decoded text stands for on the screen whose serials have `serialLength`
// characters (12 or 11), or the empty text. A serial is that many of A-Z and 0-9, not all digits
// (an IMEI, UPC or EAN is never one), or one character more with the data identifier "S" in
// front; it must pass the screen's own check: the half-year code for 12, the old serial's for 11.
std::string LabelSerial(std::string_view text, std::size_t serialLength);

// The part number a decoded text stands for, or the empty text: without a leading data
// identifier "1P" and a region suffix ("/A"), 5 to 7 of A-Z and 0-9, a letter first and a digit
// among them.
std::string LabelPartNumber(std::string_view text);

struct LabelReading {
    enum class Outcome {
        Read,        // one serial of the screen's kind; Serial holds it
        NoSerial,    // no serial of either kind
        OtherScreen, // serials of the other screen's length only
        TwoSerials,  // two different serials of the screen's kind: neither is taken
    };
    Outcome Result = Outcome::NoSerial;
    std::string Serial;
    std::string PartNumber;      // with a Read serial, the one part number the label holds
    bool TwoPartNumbers = false; // two different part numbers were found: neither is taken
};

// Decides what the texts of one picture give the screen of `serialLength`-character serials.
LabelReading ReadLabel(const std::vector<std::string>& texts, std::size_t serialLength);

// What a screen of `serialLength`-character serials says of a reading, in one line: why nothing
// was filled, or that the part number was left out; the empty text when both boxes were filled.
std::string_view LabelMessage(const LabelReading& reading, std::size_t serialLength);

// A file that is no picture, a damaged or an empty one.
inline constexpr std::string_view UnreadablePicture = "无法读取这张图片";
// The title of a box that says one of these.
inline constexpr std::string_view ScanTitle = "扫描条码";

} // namespace quenlio
