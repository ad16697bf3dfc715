#include "core/week_calendar.hpp"

#include "core/text.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

namespace quenlio {

namespace {

using namespace std::chrono;

// The week number within a half-year, written in this alphabet: "1" is week 1, "Y" week 27.
constexpr std::string_view WeekCodes = "123456789CDFGHJKLMNPQRTVWXY";

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

// "MM月DD日", months and days in two digits.
void AppendMonthDay(std::string& out, year_month_day day) {
    const auto twoDigits = [&](unsigned number) {
        out += static_cast<char>('0' + number / 10);
        out += static_cast<char>('0' + number % 10);
    };
    twoDigits(static_cast<unsigned>(day.month()));
    out += "月";
    twoDigits(static_cast<unsigned>(day.day()));
    out += "日";
}

// The serial's character at `position`, upper-cased; a NUL, which is no code, when it is not a
// single ASCII byte or the serial is shorter.
char CodeAt(std::string_view serial, std::size_t position) {
    const std::string_view character = CharSlice(serial, position, 1);
    return character.size() == 1 ? UpperAscii(character.front()) : '\0';
}

// The half-year that the serial's 4th character names, or the end of HalfYears.
auto FindHalfYear(std::string_view serial) {
    const char code = CodeAt(serial, 4);
    return std::find_if(HalfYears.begin(), HalfYears.end(),
                        [&](const HalfYear& h) { return h.Code == code; });
}

} // namespace

bool CheckHalfYearCode(std::string_view serial) {
    return FindHalfYear(serial) != HalfYears.end();
}

std::string DecodeProductionDate(std::string_view serial) {
    const auto half = FindHalfYear(serial);
    if (half == HalfYears.end())
        return {};
    std::string date(half->YearLabel);
    const std::size_t week = WeekCodes.find(CodeAt(serial, 5));
    if (week >= half->WeeksListed)
        return date;
    // Weeks run Sunday to Saturday and each half-year is counted on its own: week n starts n - 1
    // weeks after the Sunday on or before the half-year's first day, but never before that day,
    // and no week runs past the half-year's last day.
    const sys_days first{half->First}, last{half->Last};
    const sys_days sunday = first - (weekday{first} - Sunday) + weeks{static_cast<int>(week)};
    const sys_days start = std::max(first, sunday), end = std::min(sunday + days{6}, last);
    AppendMonthDay(date, year_month_day{start});
    date += '-';
    AppendMonthDay(date, year_month_day{end});
    return date;
}

} // namespace quenlio
