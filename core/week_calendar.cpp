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

constexpr char UpperByte(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string DecodeProductionDate(std::string_view serial) {
    // Characters 4 and 5 in one walk; a half-year code is one ASCII byte, so the week code is
    // whatever character follows it (possibly none).
    const std::string_view codes = CharSlice(serial, 4, 2);
    if (codes.empty())
        return {};
    const char halfCode = UpperByte(codes[0]);
    std::size_t halfIndex = 0;
    while (halfIndex < HalfYears.size() && HalfYears[halfIndex].Code != halfCode)
        ++halfIndex;
    if (halfIndex == HalfYears.size())
        return {};
    const HalfYear& half = HalfYears[halfIndex];

    // A code outside the alphabet, or past the weeks this half-year lists, leaves the year alone.
    const std::string_view weekCode = codes.substr(1);
    const std::size_t week =
        weekCode.size() == 1 ? WeekCodes.find(UpperByte(weekCode[0])) : std::string_view::npos;
    if (week >= half.WeeksListed)
        return std::string(half.YearLabel);

    const RangeText& range = Weeks[halfIndex].Ranges[week];
    std::string result;
    result.reserve(half.YearLabel.size() + range.size());
    result.append(half.YearLabel).append(range.data(), range.size());
    return result;
}

} // namespace quenlio
