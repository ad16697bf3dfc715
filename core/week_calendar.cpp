#include "core/week_calendar.hpp"

#include "core/text.hpp"

#include <algorithm>
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

// A production date as stored: the year label "2012年" (7 bytes) and "MM月DD日-MM月DD日" (two digits,
// "月" and "日" of three bytes each, the hyphen).
constexpr std::size_t DateBytes = 7 + 21;
using DateText = std::array<char, DateBytes>;

struct HalfYearWeeks {
    std::array<DateText, MaxWeeks> Dates{};
    std::size_t Count = 0; // weeks the Sunday-to-Saturday rule gives
};

constexpr char* PutText(char* out, std::string_view text) {
    return std::copy(text.begin(), text.end(), out);
}

constexpr char* PutMonthDay(char* out, year_month_day day) {
    const unsigned month = static_cast<unsigned>(day.month()), dayOfMonth = static_cast<unsigned>(day.day());
    *out++ = static_cast<char>('0' + month / 10);
    *out++ = static_cast<char>('0' + month % 10);
    out = PutText(out, "月");
    *out++ = static_cast<char>('0' + dayOfMonth / 10);
    *out++ = static_cast<char>('0' + dayOfMonth % 10);
    return PutText(out, "日");
}

// Weeks run Sunday to Saturday and each half-year is counted on its own: week 1 starts on its
// first day, and the week holding its last day ends there.
constexpr HalfYearWeeks WeeksOf(const HalfYear& half) {
    HalfYearWeeks weeks;
    const sys_days last{half.Last};
    for (sys_days start{half.First}; start <= last && weeks.Count < MaxWeeks; ++weeks.Count) {
        const sys_days end = std::min(start + (Saturday - weekday{start}), last);
        char* out = PutText(weeks.Dates[weeks.Count].data(), half.YearLabel);
        out = PutMonthDay(out, year_month_day{start});
        out = PutText(out, "-");
        PutMonthDay(out, year_month_day{end});
        start = end + days{1};
    }
    return weeks;
}

// Built by the compiler, in the order of HalfYears, so a decode only picks a text.
constexpr std::array<HalfYearWeeks, HalfYears.size()> Weeks = [] {
    std::array<HalfYearWeeks, HalfYears.size()> all{};
    std::transform(HalfYears.begin(), HalfYears.end(), all.begin(), WeeksOf);
    return all;
}();

static_assert(std::all_of(HalfYears.begin(), HalfYears.end(),
                          [](const HalfYear& half) { return half.YearLabel.size() + 21 == DateBytes; }));
static_assert(Weeks[0].Count == 27 && Weeks[2].Count == 26 && Weeks[4].Count == 27);
static_assert(
    [] {
        for (std::size_t i = 0; i < HalfYears.size(); ++i)
            if (Weeks[i].Count < HalfYears[i].WeeksListed)
                return false;
        return true;
    }(),
    "the rule must give every week the list holds");

// The serial's character at `position`, upper-cased; a NUL, which is no code, when it is not a
// single ASCII byte or the serial is shorter.
char CodeAt(std::string_view serial, std::size_t position) {
    const std::string_view character = CharSlice(serial, position, 1);
    return character.size() == 1 ? UpperAscii(character.front()) : '\0';
}

} // namespace

std::string_view DecodeProductionDate(std::string_view serial) {
    const char halfCode = CodeAt(serial, 4);
    const auto half = std::find_if(HalfYears.begin(), HalfYears.end(),
                                   [&](const HalfYear& h) { return h.Code == halfCode; });
    if (half == HalfYears.end())
        return {};
    const std::size_t week = WeekCodes.find(CodeAt(serial, 5));
    if (week >= half->WeeksListed)
        return half->YearLabel;
    const DateText& date = Weeks[static_cast<std::size_t>(half - HalfYears.begin())].Dates[week];
    return std::string_view(date.data(), date.size());
}

} // namespace quenlio
