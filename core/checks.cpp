#include "core/checks.hpp"

#include "core/text.hpp"

#include <algorithm>
#include <array>
#include <string>

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

} // namespace

std::string_view FactoryForSerial(std::string_view serial) {
    const std::string prefix = UpperAscii(CharSlice(serial, 1, 2));
    const auto row = std::find_if(FactoryTable.begin(), FactoryTable.end(),
                                  [&](const FactoryRow& r) { return r.Prefix == prefix; });
    return row != FactoryTable.end() ? row->Factory : DefaultFactory;
}

bool IsReplacementSerial(std::string_view serial) {
    const std::string prefix = UpperAscii(CharSlice(serial, 1, 3));
    return std::find(ReplacementPrefixes.begin(), ReplacementPrefixes.end(), prefix) !=
           ReplacementPrefixes.end();
}

ModelPhoto PhotoForModel(std::string_view deviceModel) {
    const auto rule = std::find_if(PhotoRules.begin(), PhotoRules.end(), [&](const PhotoRule& r) {
        return CharSlice(deviceModel, 1, CharCount(r.ModelName)) == r.ModelName &&
               CharSlice(deviceModel, r.ColourAt, 2) == r.Colour;
    });
    return rule != PhotoRules.end() ? rule->Photo : ModelPhoto::None;
}

} // namespace quenlio
