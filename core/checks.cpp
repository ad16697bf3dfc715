#include "core/checks.hpp"

#include "core/text.hpp"

#include <array>
#include <cstdint>

namespace quenlio {

namespace {

struct FactoryRow {
    std::string_view Prefix; // serial characters 1-2
    std::string_view Factory;
};
constexpr std::array<FactoryRow, 2> FactoryTable{{
    {"DN", "中国-成都富士康"},
    {"F1", "中国-郑州富士康"},
}};
constexpr std::string_view DefaultFactory = "中国-富士康";

// Serial characters 1-3 of an after-sales replacement unit.
constexpr std::array<std::string_view, 5> ReplacementPrefixes{"C7G", "C3K", "DQG", "DYJ", "CCP"};

struct PhotoRule {
    std::string_view ModelName; // the model text starts with this
    std::size_t ColourAt;       // character position of the colour word
    std::string_view Colour;
    ModelPhoto Photo;
};
// The colour word sits where the model name and the width of the capacity put it:
// "iPhone 5 16GB 黑色" (15), "iPhone 4S 16GB 黑色(GSM)" (16), "iPhone 4 8GB 黑色(GSM)" (14),
// "iPhone 4 16GB 白色(CDMA)" (15). Tested in this order; the first match wins.
constexpr std::array<PhotoRule, 8> PhotoRules{{
    {"iPhone 5", 15, "黑色", ModelPhoto::BlackIPhone5},
    {"iPhone 5", 15, "白色", ModelPhoto::WhiteIPhone5},
    {"iPhone 4S", 16, "黑色", ModelPhoto::BlackIPhone4},
    {"iPhone 4", 14, "黑色", ModelPhoto::BlackIPhone4},
    {"iPhone 4", 15, "黑色", ModelPhoto::BlackIPhone4},
    {"iPhone 4S", 16, "白色", ModelPhoto::WhiteIPhone4},
    {"iPhone 4", 14, "白色", ModelPhoto::WhiteIPhone4},
    {"iPhone 4", 15, "白色", ModelPhoto::WhiteIPhone4},
}};

// The serial's first `count` bytes upper-cased, packed one byte after another; the prefixes are
// ASCII, so a serial starts with one exactly when its first bytes pack alike, and no characters
// need counting. Zero when the serial is shorter, which no prefix packs to.
constexpr std::uint32_t PackPrefix(std::string_view text, std::size_t count) {
    if (text.size() < count)
        return 0;
    std::uint32_t packed = 0;
    for (std::size_t i = 0; i < count; ++i)
        packed = packed << 8 | static_cast<unsigned char>(UpperAsciiByte(text[i]));
    return packed;
}

} // namespace

std::string_view FactoryForSerial(std::string_view serial) {
    const std::uint32_t prefix = PackPrefix(serial, 2);
    for (const FactoryRow& row : FactoryTable)
        if (prefix == PackPrefix(row.Prefix, 2))
            return row.Factory;
    return DefaultFactory;
}

bool IsReplacementSerial(std::string_view serial) {
    const std::uint32_t prefix = PackPrefix(serial, 3);
    for (std::string_view known : ReplacementPrefixes)
        if (prefix == PackPrefix(known, 3))
            return true;
    return false;
}

ModelPhoto PhotoForModel(std::string_view deviceModel) {
    for (const PhotoRule& rule : PhotoRules) {
        if (CharSlice(deviceModel, 1, CharCount(rule.ModelName)) == rule.ModelName &&
            CharSlice(deviceModel, rule.ColourAt, 2) == rule.Colour)
            return rule.Photo;
    }
    return ModelPhoto::None;
}

} // namespace quenlio
