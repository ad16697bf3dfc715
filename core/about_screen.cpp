#include "core/about_screen.hpp"

#include "core/label.hpp"
#include "core/lengths.hpp"
#include "core/query12.hpp"

#include <algorithm>

namespace quenlio {

namespace {

// The serial a word stands for on a screen of `length`-character serials, or the empty text.
std::string SerialOf(std::string_view word, std::size_t length, bool fromPixels) {
    if (word.size() != length)
        return {};
    std::string serial = NormalizeSerial(word);
    if (fromPixels)
        std::replace(serial.begin(), serial.end(), 'I', '1');
    return LabelSerial(serial, length);
}

// The part number of a word such as MD297CH/A: the catalogue's form, then "/" and the region's
// one or two letters. From pixels, an O or I where the form has digits is the digit.
std::string PartOf(std::string_view word, bool fromPixels) {
    const std::size_t slash = word.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::string_view suffix = word.substr(slash + 1);
    if (suffix.empty() || suffix.size() > 2 ||
        !std::all_of(suffix.begin(), suffix.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return {};
    std::string part(word.substr(0, slash));
    if (fromPixels)
        for (std::size_t i = 2; i < part.size() && i < 5; ++i)
            part[i] = part[i] == 'O' ? '0' : part[i] == 'I' ? '1' : part[i];
    return LabelPartNumber(part);
}

} // namespace

ScreenReading ReadAboutScreen(const std::vector<ScreenWord>& words, std::size_t serialLength, bool fromPixels) {
    const std::size_t otherLength = serialLength == Serial12Length ? Serial11Length : Serial12Length;
    ScreenReading reading;
    bool otherScreen = false;
    for (const ScreenWord& word : words) {
        if (std::string serial = SerialOf(word.Text, serialLength, fromPixels); !serial.empty()) {
            if (!reading.Serial.empty() && reading.Serial != serial)
                reading.Result = ScreenReading::Outcome::TwoSerials;
            reading.Serial = std::move(serial);
            reading.SerialFrom = word;
        } else if (std::string part = PartOf(word.Text, fromPixels); !part.empty() && reading.PartNumber.empty()) {
            reading.PartNumber = std::move(part);
            reading.PartFrom = word;
        } else {
            otherScreen = otherScreen || !SerialOf(word.Text, otherLength, fromPixels).empty();
        }
    }
    if (reading.Result == ScreenReading::Outcome::TwoSerials || reading.Serial.empty()) {
        const auto result = reading.Result == ScreenReading::Outcome::TwoSerials ? reading.Result
                            : otherScreen ? ScreenReading::Outcome::OtherScreen
                                          : ScreenReading::Outcome::NoSerial;
        reading = {};
        reading.Result = result;
        return reading;
    }
    reading.Result = ScreenReading::Outcome::Read;
    return reading;
}

ScreenReading AgreedReading(const ScreenReading& first, const ScreenReading& second) {
    if (first.Result != ScreenReading::Outcome::Read || second.Result != ScreenReading::Outcome::Read ||
        first.Serial != second.Serial) {
        ScreenReading none;
        // Readings that both refuse say why; any other disagreement reads as nothing found.
        if (first.Result == second.Result && first.Result != ScreenReading::Outcome::Read)
            none.Result = first.Result;
        return none;
    }
    ScreenReading agreed = first;
    if (first.PartNumber != second.PartNumber) {
        agreed.PartNumber.clear();
        agreed.PartFrom = {};
    }
    return agreed;
}

std::string_view ScreenMessage(const ScreenReading& reading, std::size_t serialLength) {
    switch (reading.Result) {
    case ScreenReading::Outcome::Read:
        return {};
    case ScreenReading::Outcome::OtherScreen: {
        LabelReading otherScreen;
        otherScreen.Result = LabelReading::Outcome::OtherScreen;
        return LabelMessage(otherScreen, serialLength);
    }
    case ScreenReading::Outcome::TwoSerials:
        return "图片中有两个不同的序列号，请只截取一台手机的关于本机";
    case ScreenReading::Outcome::NoSerial:
        break;
    }
    return NoScreenSerial;
}

Pairing CompareReadings(std::string_view labelSerial, std::string_view labelPart, std::string_view screenSerial,
                        std::string_view screenPart) {
    return {labelSerial != screenSerial, !labelPart.empty() && !screenPart.empty() && labelPart != screenPart};
}

} // namespace quenlio
