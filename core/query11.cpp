#include "core/query11.hpp"

#include "core/text.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace quenlio {

namespace {

struct OldModelRow {
    std::string_view Code; // serial characters 9-11
    std::string_view Model;
};
// The old serials write the digit zero, never the letter O, in their model codes.
constexpr std::array<OldModelRow, 19> OldModelCodes{{
    {"A4S", "iPhone 4 16GB 黑色"},   {"DZZ", "iPhone 4 16GB 白色"},   {"A4T", "iPhone 4 32GB 黑色"},
    {"E00", "iPhone 4 32GB 白色"},   {"EDG", "iPhone 3GS 8GB 黑色"},  {"3NP", "iPhone 3GS 16GB 黑色"},
    {"3NR", "iPhone 3GS 32GB 黑色"}, {"3NQ", "iPhone 3GS 16GB 白色"}, {"3NS", "iPhone 3GS 32GB 白色"},
    {"8M7", "iPhone 3GS 16GB 黑色"}, {"8M8", "iPhone 3GS 16GB 白色"}, {"8M9", "iPhone 3GS 32GB 黑色"},
    {"8MB", "iPhone 3GS 32GB 白色"}, {"Y7H", "iPhone 3G 8GB 黑色"},   {"Y7K", "iPhone 3G 16GB 黑色"},
    {"1R4", "iPhone 3G 16GB 白色"},  {"VR0", "iPhone 4GB"},           {"WH8", "iPhone 8GB"},
    {"0KH", "iPhone 16GB"},
}};

struct YearRow {
    char Digit; // serial character 3, the last digit of the year
    std::string_view Year;
};
constexpr std::array<YearRow, 6> OldYears{{
    {'7', "2007年"},
    {'8', "2008年"},
    {'9', "2009年"},
    {'0', "2010年"},
    {'1', "2011年"},
    {'2', "2012年"},
}};

struct RegionRow {
    std::string_view Key; // part-number characters 6-7; one letter only for a 6-character part number
    std::string_view Region;
};
// clang-format off
constexpr std::array<RegionRow, 21> OldRegionCodes{{
    {"CH", "中国"},
    {"LL", "美国"},
    {"ZP", "香港"},
    {"KH", "韩国"},
    {"J", "日本"},
    {"TA", "台湾"},
    {"ZA", "新加坡"},
    {"B", "英国"},
    {"AB", "沙特阿拉伯"},
    {"BZ", "巴西"},
    {"F", "法国"},
    {"DN", "奥地利"},
    {"NF", "比利时"},
    {"CS", "捷克"},
    {"KN", "丹麦"},
    {"KS", "瑞典/芬兰"},
    {"CM", "匈牙利"},
    {"C", "加拿大"},
    {"FD", "瑞士"},
    {"D", "德国"},
    {"X", "澳大利亚"},
}};
// clang-format on

// Only the US suffix names a carrier; every other suffix shows the dash.
constexpr std::string_view AtAndTKey = "LL";
constexpr std::string_view AtAndT = "AT&T";
constexpr std::string_view NoCarrier = "-";

// Serial characters 1-2 of an after-sales replacement unit of the old format.
constexpr std::array<std::string_view, 3> OldReplacementPrefixes{"5K", "61", "95"};

constexpr std::string_view OldFactory = "中国";
constexpr std::string_view Replaced = "是";
constexpr std::string_view NotReplaced = "否";

template <typename Row, std::size_t N, typename KeyOf>
constexpr bool KeysAreUnique(const std::array<Row, N>& rows, KeyOf keyOf) {
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            if (keyOf(rows[i]) == keyOf(rows[j]))
                return false;
    return true;
}

template <typename Row, std::size_t N, typename TextOf>
constexpr bool TextsAreFilled(const std::array<Row, N>& rows, TextOf textOf) {
    return std::all_of(rows.begin(), rows.end(), [&](const Row& row) { return !textOf(row).empty(); });
}

static_assert(KeysAreUnique(OldModelCodes, [](const OldModelRow& r) { return r.Code; }));
static_assert(TextsAreFilled(OldModelCodes, [](const OldModelRow& r) { return r.Model; }));
static_assert(std::all_of(OldModelCodes.begin(), OldModelCodes.end(), [](const OldModelRow& r) {
    return r.Code.size() == 3 && r.Code.find('O') == std::string_view::npos;
}));
static_assert(KeysAreUnique(OldYears, [](const YearRow& r) { return r.Digit; }));
static_assert(KeysAreUnique(OldRegionCodes, [](const RegionRow& r) { return r.Key; }));
static_assert(TextsAreFilled(OldRegionCodes, [](const RegionRow& r) { return r.Region; }));
static_assert(std::all_of(OldRegionCodes.begin(), OldRegionCodes.end(),
                          [](const RegionRow& r) { return r.Key.size() == 1 || r.Key.size() == 2; }));

std::optional<std::string_view> LookupOldModel(std::string_view serial) {
    const std::string code = UpperAscii(CharSlice(serial, 9, 3));
    const auto row = std::find_if(OldModelCodes.begin(), OldModelCodes.end(),
                                  [&](const OldModelRow& r) { return r.Code == code; });
    if (row == OldModelCodes.end())
        return std::nullopt;
    return row->Model;
}

// A character that is not a single digit is no number and so matches no year.
std::string_view OldYearText(std::string_view serial) {
    const std::string_view digit = CharSlice(serial, 3, 1);
    const auto row = std::find_if(OldYears.begin(), OldYears.end(),
                                  [&](const YearRow& r) { return digit == std::string_view(&r.Digit, 1); });
    return row != OldYears.end() ? row->Year : std::string_view();
}

std::optional<std::string_view> LookupOldRegion(std::string_view regionKey) {
    const auto row = std::find_if(OldRegionCodes.begin(), OldRegionCodes.end(),
                                  [&](const RegionRow& r) { return r.Key == regionKey; });
    if (row == OldRegionCodes.end())
        return std::nullopt;
    return row->Region;
}

bool IsOldReplacementSerial(std::string_view serial) {
    const std::string prefix = UpperAscii(CharSlice(serial, 1, 2));
    return std::find(OldReplacementPrefixes.begin(), OldReplacementPrefixes.end(), prefix) !=
           OldReplacementPrefixes.end();
}

bool IsAsciiDigit(std::string_view character) {
    return character.size() == 1 && character.front() >= '0' && character.front() <= '9';
}

} // namespace

bool CheckOldSerial(std::string_view serial) {
    if (CharCount(serial) < 5)
        return true;
    // The year digit must be one the year table knows.
    const bool yearKnown = !OldYearText(serial).empty();
    const std::string_view weekTens = CharSlice(serial, 4, 1);
    const std::string_view weekUnits = CharSlice(serial, 5, 1);
    // The week's tens digit is compared by code, so blanks and punctuation below "0" pass.
    // A character outside ASCII compares by its first byte, which is above "5": it fails.
    const bool weekTensLow = static_cast<unsigned char>(weekTens.front()) <= static_cast<unsigned char>('5');
    return yearKnown && weekTensLow && IsAsciiDigit(weekUnits);
}

QueryResult SerialQuery11(std::string_view serial, std::string_view partNumber, const QueryResult& shown) {
    QueryResult result = shown;

    if (const auto model = LookupOldModel(serial))
        result.DeviceModel = *model;

    // The week is shown exactly as typed, even where it is no number.
    result.ProductionDate =
        std::string(OldYearText(serial)) + "第" + std::string(CharSlice(serial, 4, 2)) + "周";

    const std::string regionKey = UpperAscii(CharSlice(partNumber, 6, 2));
    if (const auto region = LookupOldRegion(regionKey))
        result.SalesRegion = *region;
    result.Carrier = regionKey == AtAndTKey ? AtAndT : NoCarrier;

    // Sees whatever the boxes hold after this query, including texts kept from an earlier one.
    if (!result.DeviceModel.empty() && !result.ProductionDate.empty() && !result.SalesRegion.empty())
        result.Factory = OldFactory;

    result.AfterSalesReplacement = IsOldReplacementSerial(serial) ? Replaced : NotReplaced;
    return result;
}

} // namespace quenlio
