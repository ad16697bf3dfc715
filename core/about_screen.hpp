#pragma once
// Reading the handset's own 关于本机 screen (设置 → 通用 → 关于本机), from the words that text
// recognition found in a screenshot or photo of it, or from a screen's text: which word is the
// serial number and which the part number, for the query screen of one serial length. And the
// pairing of a box label with a handset screen: whether the two give the same handset.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quenlio {

// One word read off a picture of the screen, and its box in the picture's pixels.
struct ScreenWord {
    std::string Text;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

struct ScreenReading {
    enum class Outcome {
        Read,        // one serial of the screen's kind; Serial holds it
        NoSerial,    // none, or readings that did not agree
        OtherScreen, // serials of the other screen's length only
        TwoSerials,  // two different serials of the screen's kind: neither is taken
    };
    Outcome Result = Outcome::NoSerial;
    std::string Serial;
    std::string PartNumber; // with a Read serial, the part number of the screen, if one was read
    ScreenWord SerialFrom;  // the words each was read from, as read, with their boxes
    ScreenWord PartFrom;
};

// What the words of one About screen give the screen of `serialLength`-character serials.
// The serial is the one word of that length that, with the serial's normalising (O → 0) and, for
// words read from pixels, I → 1 (no serial holds an I; recognition reads a 1 as one), passes the
// screen's own check. The part number is a word of the catalogue's form followed by its region
// suffix (MD297CH/A gives MD297CH): a screen always shows the suffix, so a word without it (a
// version such as 10A523 or 13.0) is never one. IMEIs, ICCIDs, addresses and versions never are.
ScreenReading ReadAboutScreen(const std::vector<ScreenWord>& words, std::size_t serialLength,
                              bool fromPixels = true);

// The reading that two readings of one picture (at two scales, say) agree on: a serial they do
// not read alike is none, and a part number they do not read alike is left out, so that a
// misread character is not offered. The boxes are the first reading's.
ScreenReading AgreedReading(const ScreenReading& first, const ScreenReading& second);

// What a screen of `serialLength`-character serials says of a reading that gives nothing, in one
// line; the empty text for a Read one.
std::string_view ScreenMessage(const ScreenReading& reading, std::size_t serialLength);

// A box label's reading against a handset screen's, each its serial and part number: which
// differ. Part numbers are compared only where both readings have one.
struct Pairing {
    bool SerialDiffers = false;
    bool PartDiffers = false;
    bool Same() const { return !SerialDiffers && !PartDiffers; }
};
Pairing CompareReadings(std::string_view labelSerial, std::string_view labelPart, std::string_view screenSerial,
                        std::string_view screenPart);

// The texts of reading a handset's screen, the same on every face.
inline constexpr std::string_view ReadingTextLine = "正在识别文字…";
inline constexpr std::string_view NoScreenSerial = "没有识别到序列号，请换一张清晰的截图";
// The box that shows what was read, beside the part of the picture it was read from, before
// anything is filled in; and its buttons.
inline constexpr std::string_view CheckReadingTitle = "核对识别结果";
inline constexpr std::string_view FillIn = "填入";
inline constexpr std::string_view CancelReading = "取消";
// The pairing of a box label and a handset's screen.
inline constexpr std::string_view BoxAgrees = "机盒一致";
inline constexpr std::string_view BoxDisagrees = "机盒不一致";
inline constexpr std::string_view TakeHandsets = "以手机为准";
// Labels of the two readings side by side.
inline constexpr std::string_view BoxReadingLabel = "机盒标签";
inline constexpr std::string_view ScreenReadingLabel = "手机屏幕";
// The web's camera box and photo path.
inline constexpr std::string_view ShootScreen = "拍摄屏幕";
inline constexpr std::string_view PickPhoto = "选取照片或截图";

} // namespace quenlio
