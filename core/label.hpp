#pragma once
// Reading a box label: which of the bar codes read off a picture is the serial number and which
// the part number, decided by rule from the codes' texts and places alone, for the query screen of
// one serial length. For labels only: a part number typed by hand keeps its region suffix.
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
// identifier "1P" and a region suffix ("/A"), the catalogue's form: two letters, three digits and
// one or two letters (MD297CH, MC605LL, MB046J).
std::string LabelPartNumber(std::string_view text);

// One bar code read off a picture: its text, and where it stands in the picture's pixels (the
// middle of its bars, and the length from its first bar to its last). Only the distances between
// codes against their lengths are read; a code of no length stands with every other.
struct LabelCode {
    std::string Text;
    double X = 0;
    double Y = 0;
    double Length = 0;
};

struct LabelReading {
    enum class Outcome {
        Read,        // one serial of the screen's kind; Serial holds it
        NoSerial,    // no serial of either kind
        OtherScreen, // serials of the other screen's length only
        TwoSerials,  // two different serials of the screen's kind: neither is taken
        TwoLabels,   // codes of two labels: nothing is taken
    };
    Outcome Result = Outcome::NoSerial;
    std::string Serial;
    std::string PartNumber; // with a Read serial, the part number of its label, if it was read
};

// Decides what the codes of one picture give the screen of `serialLength`-character serials.
// Codes stand together on one label when each is within one and a half code lengths of
// another of them. A picture holds two labels when it has two different codes of one kind
// (serials, part numbers, IMEIs, UPCs or EANs) or codes of these kinds that do not stand
// together: then nothing is taken, so a part number never comes from another box than its serial.
LabelReading ReadLabel(const std::vector<LabelCode>& codes, std::size_t serialLength);

// What a screen of `serialLength`-character serials says of a reading, in one line: why nothing
// was filled, or that the part number was left out; the empty text when both boxes were filled.
std::string_view LabelMessage(const LabelReading& reading, std::size_t serialLength);

// What one text that a hand scanner typed (a single bar code, as a keyboard gives it) is for the
// screen of `serialLength`-character serials: its serial, or a part number, each in the form
// LabelSerial and LabelPartNumber give; or, when it is neither, the one line the screen says of
// it (an IMEI, a retail UPC or EAN, the other screen's serial, or a code of no kind the screen
// takes). Letters count in either case, as a scanner types them with Caps Lock on.
struct ScannedCode {
    std::string Serial;
    std::string PartNumber;
    std::string_view Message; // empty when Serial or PartNumber holds the text
};
ScannedCode ReadScannedCode(std::string_view text, std::size_t serialLength);

// The scan's texts, the same on every face that shows them.
// The scan's button, and the title of its box and of every message it gives.
inline constexpr std::string_view ScanTitle = "扫描条码";
// A file that is no picture (or one of no kind that PictureTypes names), a damaged or an empty one.
inline constexpr std::string_view UnreadablePicture = "无法读取这张图片";
// The web's camera box: aiming, reading a photo, and why the camera cannot be used.
inline constexpr std::string_view ScanAim = "请将标签上的条码放入框内";
inline constexpr std::string_view ScanReadingLine = "正在读取……";
inline constexpr std::string_view CameraRefused = "没有使用相机的权限，请改用照片";
inline constexpr std::string_view NoCamera = "没有找到可用的相机，请改用照片";
inline constexpr std::string_view CameraInsecure = "此网址不能使用相机（需要HTTPS），请改用照片";
inline constexpr std::string_view CameraFailed = "相机无法打开，请改用照片";
// The web's reader could not be fetched (offline before the first visit was kept).
inline constexpr std::string_view ScanUnavailable = "条码读取功能无法载入，请联网后再试";

// The kinds of picture every face reads a label from: what phones and chat apps make. A face
// that cannot decode one of them (WebP, where its toolkit has no decoder) leaves it out.
struct PictureType {
    std::string_view MimeType;
    std::string_view Suffixes; // the file names' suffixes, blank-separated
};
inline constexpr PictureType PictureTypes[] = {
    {"image/jpeg", "jpg jpeg"}, {"image/png", "png"}, {"image/webp", "webp"},
    {"image/bmp", "bmp"},       {"image/gif", "gif"},
};

} // namespace quenlio
