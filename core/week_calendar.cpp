#include "core/week_calendar.hpp"

#include "core/text.hpp"

#include <array>
#include <chrono>

namespace quenlio {

namespace {

using namespace std::chrono;

// The week number within a half-year, written in this alphabet: "1" is week 1, "Y" week 27.
constexpr std::string_view WeekCodes = "123456789CDFGHJKLMNPQRTVWXY";
constexpr std::size_t MaxWeeks = WeekCodes.size();
static_assert(MaxWeeks == 27);

struct HalfYear {
    char Code; // the serial's 4th character
    std::string_view YearLabel;
    year_month_day First, Last;
    std::size_t WeeksListed;
};

constexpr std::array<HalfYear, 5> HalfYears{{
    {'F', "2011年", 2011y / January / 1, 2011y / June / 30, 27},
    {'G', "2011年", 2011y / July / 1, 2011y / December / 31, 27},
    {'H', "2012年", 2012y / January / 1, 2012y / June / 30, 26},
    {'J', "2012年", 2012y / July / 1, 2012y / December / 31, 27},
    // The rule gives K a 27th week of one day, Sunday 30 June 2013, which the week list leaves
    // out: "K" with "Y" yields the year alone.
    {'K', "2013年", 2013y / January / 1, 2013y / June / 30, 26},
}};

// "MM月DD日-MM月DD日": two digits, "月" and "日" of three bytes each, and the hyphen.
constexpr std::size_t RangeBytes = 21;
using RangeText = std::array<char, RangeBytes>;

struct WeekTable {
    std::array<RangeText, MaxWeeks> Ranges{};
    std::size_t Count = 0; // weeks the Sunday-to-Saturday rule gives
};

constexpr char* PutText(char* out, std::string_view text) {
    for (char c : text)
        *out++ = c;
    return out;
}

constexpr char* PutTwoDigits(char* out, unsigned value) {
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

constexpr char* PutMonthDay(char* out, year_month_day day) {
    out = PutTwoDigits(out, static_cast<unsigned>(day.month()));
    out = PutText(out, "月");
    out = PutTwoDigits(out, static_cast<unsigned>(day.day()));
    return PutText(out, "日");
}

// Weeks run Sunday to Saturday and each half-year is counted on its own: week 1 starts on its
// first day, and the week holding its last day ends there.
constexpr WeekTable WeeksOf(const HalfYear& half) {
    WeekTable table;
    const sys_days last{half.Last};
    for (sys_days start{half.First}; start <= last && table.Count < MaxWeeks; ++table.Count) {
        sys_days end = start + (Saturday - weekday{start});
        if (end > last)
            end = last;
        char* out = table.Ranges[table.Count].data();
        out = PutMonthDay(out, year_month_day{start});
        out = PutText(out, "-");
        PutMonthDay(out, year_month_day{end});
        start = end + days{1};
    }
    return table;
}

// Built by the compiler, so a decode only picks a text.
constexpr std::array<WeekTable, HalfYears.size()> Weeks = [] {
    std::array<WeekTable, HalfYears.size()> all{};
    for (std::size_t i = 0; i < HalfYears.size(); ++i)
        all[i] = WeeksOf(HalfYears[i]);
    return all;
}();

constexpr bool RuleCoversEveryListedWeek() {
    for (std::size_t i = 0; i < HalfYears.size(); ++i)
        if (Weeks[i].Count < HalfYears[i].WeeksListed)
            return false;
    return true;
}
static_assert(RuleCoversEveryListedWeek());
static_assert(Weeks[0].Count == 27 && Weeks[2].Count == 26 && Weeks[4].Count == 27);

// Year label and week range together, so a decode hands out one view: "2012年" (7 bytes) and the range.
constexpr std::size_t YearLabelBytes = 7;
using DateText = std::array<char, YearLabelBytes + RangeBytes>;

constexpr std::array<std::array<DateText, MaxWeeks>, HalfYears.size()> DateTexts = [] {
    std::array<std::array<DateText, MaxWeeks>, HalfYears.size()> all{};
    for (std::size_t i = 0; i < HalfYears.size(); ++i)
        for (std::size_t week = 0; week < Weeks[i].Count; ++week) {
            char* out = PutText(all[i][week].data(), HalfYears[i].YearLabel);
            for (char c : Weeks[i].Ranges[week])
                *out++ = c;
        }
    return all;
}();
static_assert(HalfYears[0].YearLabel.size() == YearLabelBytes &&
              HalfYears[4].YearLabel.size() == YearLabelBytes);

// Position in the week alphabet of each byte, either case; MaxWeeks for any other byte.
constexpr std::array<unsigned char, 256> WeekIndex = [] {
    std::array<unsigned char, 256> index{};
    index.fill(static_cast<unsigned char>(MaxWeeks));
    for (std::size_t i = 0; i < WeekCodes.size(); ++i) {
        const char c = WeekCodes[i];
        index[static_cast<unsigned char>(c)] = static_cast<unsigned char>(i);
        if (c >= 'A' && c <= 'Z')
            index[static_cast<unsigned char>(c - 'A' + 'a')] = static_cast<unsigned char>(i);
    }
    return index;
}();

// Which half-year a byte names, either case; HalfYears.size() for any other byte.
constexpr std::array<unsigned char, 256> HalfYearIndex = [] {
    std::array<unsigned char, 256> index{};
    index.fill(static_cast<unsigned char>(HalfYears.size()));
    for (std::size_t i = 0; i < HalfYears.size(); ++i) {
        index[static_cast<unsigned char>(HalfYears[i].Code)] = static_cast<unsigned char>(i);
        index[static_cast<unsigned char>(HalfYears[i].Code - 'A' + 'a')] = static_cast<unsigned char>(i);
    }
    return index;
}();

bool IsAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

} // namespace

std::string_view ProductionDateText(std::string_view serial) {
    // The 4th character starts at byte 3 when the first three are ASCII, as in every real serial;
    // otherwise the characters are counted.
    std::size_t at = 3;
    if (serial.size() < 4 || !IsAscii(serial[0]) || !IsAscii(serial[1]) || !IsAscii(serial[2])) {
        const std::string_view fourth = CharSlice(serial, 4, 1);
        if (fourth.empty())
            return {};
        at = static_cast<std::size_t>(fourth.data() - serial.data());
    }
    const std::size_t halfIndex = HalfYearIndex[static_cast<unsigned char>(serial[at])];
    if (halfIndex == HalfYears.size())
        return {};
    const HalfYear& half = HalfYears[halfIndex];
    // A half-year code is one ASCII byte, so the week code starts right after it. A byte of 0x80 and
    // above, alone or leading a longer character, is no week code.
    const std::size_t week =
        at + 1 < serial.size() ? WeekIndex[static_cast<unsigned char>(serial[at + 1])] : MaxWeeks;
    if (week >= half.WeeksListed)
        return half.YearLabel;
    return std::string_view(DateTexts[halfIndex][week].data(), DateTexts[halfIndex][week].size());
}

std::string DecodeProductionDate(std::string_view serial) {
    return std::string(ProductionDateText(serial));
}

} // namespace quenlio
