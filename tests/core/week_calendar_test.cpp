#include "core/week_calendar.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

using namespace quenlio;
using namespace std::chrono;

namespace {

const std::string WeekAlphabet = "123456789CDFGHJKLMNPQRTVWXY";

// What each half-year lists: its year label, its first two weeks and its last listed week.
struct HalfYearCase {
    char Code;
    std::string YearLabel;
    std::string Week1, Week2;
    char LastCode;
    std::string LastWeek;
};

void PrintTo(const HalfYearCase& c, std::ostream* os) {
    *os << c.Code;
}

const HalfYearCase HalfYearCases[] = {
    {'F', "2011年", "01月01日-01月01日", "01月02日-01月08日", 'Y', "06月26日-06月30日"},
    {'G', "2011年", "07月01日-07月02日", "07月03日-07月09日", 'Y', "12月25日-12月31日"},
    {'H', "2012年", "01月01日-01月07日", "01月08日-01月14日", 'X', "06月24日-06月30日"},
    {'J', "2012年", "07月01日-07月07日", "07月08日-07月14日", 'Y', "12月30日-12月31日"},
    {'K', "2013年", "01月01日-01月05日", "01月06日-01月12日", 'X', "06月23日-06月29日"},
};

std::string Serial(char halfYear, char week) {
    return std::string("DN0") + halfYear + week + "ABCDTF9";
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first and last day of a range "MM月DD日-MM月DD日" in `year`.
std::pair<sys_days, sys_days> ReadRange(std::string_view range, int year) {
    const auto number = [&](std::size_t at) {
        return static_cast<unsigned>(std::stoi(std::string(range.substr(at, 2))));
    };
    // "月" and "日" take three bytes each.
    const year_month_day first{std::chrono::year{year}, month{number(0)}, day{number(5)}};
    const year_month_day last{std::chrono::year{year}, month{number(11)}, day{number(16)}};
    EXPECT_TRUE(first.ok() && last.ok()) << range;
    return {sys_days{first}, sys_days{last}};
}

class WeekCalendar : public testing::TestWithParam<HalfYearCase> {};

} // namespace

TEST_P(WeekCalendar, ListsSundayToSaturdayWeeksEndToEnd) {
    const HalfYearCase& half = GetParam();
    const int year = std::stoi(half.YearLabel);
    const std::size_t listed = WeekAlphabet.find(half.LastCode) + 1;
    std::vector<std::pair<sys_days, sys_days>> weeks;
    for (std::size_t i = 0; i < listed; ++i) {
        const char code = WeekAlphabet[i];
        SCOPED_TRACE(std::string(1, half.Code) + code);
        const std::string date = DecodeProductionDate(Serial(half.Code, code));
        ASSERT_TRUE(date.starts_with(half.YearLabel)) << date;
        EXPECT_EQ(DecodeProductionDate(Serial(Lower(half.Code), Lower(code))), date);
        weeks.push_back(ReadRange(std::string_view(date).substr(half.YearLabel.size()), year));
    }
    EXPECT_EQ(DecodeProductionDate(Serial(half.Code, '1')), half.YearLabel + half.Week1);
    EXPECT_EQ(DecodeProductionDate(Serial(half.Code, '2')), half.YearLabel + half.Week2);
    EXPECT_EQ(DecodeProductionDate(Serial(half.Code, half.LastCode)), half.YearLabel + half.LastWeek);
    // Each week starts the day after the one before; all but the first and the last run Sunday to
    // Saturday, and those two end on a Saturday and start on a Sunday.
    for (std::size_t i = 0; i < weeks.size(); ++i) {
        SCOPED_TRACE("week " + std::to_string(i + 1));
        const auto [first, last] = weeks[i];
        if (i > 0) {
            EXPECT_EQ(first, weeks[i - 1].second + days{1});
            EXPECT_EQ(weekday{first}, Sunday);
        }
        if (i + 1 < weeks.size()) {
            EXPECT_EQ(weekday{last}, Saturday);
        }
        EXPECT_LE(first, last);
        EXPECT_LE(last - first, days{6});
    }
    // Past the last listed week, the year alone.
    for (std::size_t i = listed; i < WeekAlphabet.size(); ++i)
        EXPECT_EQ(DecodeProductionDate(Serial(half.Code, WeekAlphabet[i])), half.YearLabel);
}

TEST_P(WeekCalendar, AnyOtherWeekCodeGivesTheYearAlone) {
    const HalfYearCase& half = GetParam();
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (WeekAlphabet.find(upper) != std::string::npos)
            continue;
        EXPECT_EQ(DecodeProductionDate(Serial(half.Code, c)), half.YearLabel) << "week byte " << byte;
    }
    // A serial that ends at the half-year code, or has a multi-byte character as its week code.
    EXPECT_EQ(DecodeProductionDate(std::string("DN0") + half.Code), half.YearLabel);
    EXPECT_EQ(DecodeProductionDate(std::string("DN0") + half.Code + "一ABC"), half.YearLabel);
}

INSTANTIATE_TEST_SUITE_P(HalfYears, WeekCalendar, testing::ValuesIn(HalfYearCases),
                         [](const testing::TestParamInfo<HalfYearCase>& info) {
                             return std::string(1, info.param.Code);
                         });

struct WeekCase {
    std::string_view Serial;
    std::string_view Expected;
};

void PrintTo(const WeekCase& c, std::ostream* os) {
    *os << '"' << c.Serial << '"';
}

class WeekExamples : public testing::TestWithParam<WeekCase> {};

TEST_P(WeekExamples, DecodeToTheListedText) {
    EXPECT_EQ(DecodeProductionDate(GetParam().Serial), GetParam().Expected);
}

// The first, second and last listed week of every half-year, and weeks that cross a month.
INSTANTIATE_TEST_SUITE_P(
    Listed, WeekExamples,
    testing::Values(
        WeekCase{"DN0F1", "2011年01月01日-01月01日"}, WeekCase{"DN0F2", "2011年01月02日-01月08日"},
        WeekCase{"DN0FY", "2011年06月26日-06月30日"}, WeekCase{"DN0G1", "2011年07月01日-07月02日"},
        WeekCase{"DN0G2", "2011年07月03日-07月09日"}, WeekCase{"DN0GY", "2011年12月25日-12月31日"},
        WeekCase{"DN0GH", "2011年09月25日-10月01日"}, WeekCase{"DN0H1", "2012年01月01日-01月07日"},
        WeekCase{"DN0H2", "2012年01月08日-01月14日"}, WeekCase{"DN0HX", "2012年06月24日-06月30日"},
        WeekCase{"DN0J1", "2012年07月01日-07月07日"}, WeekCase{"DN0J2", "2012年07月08日-07月14日"},
        WeekCase{"DN0JY", "2012年12月30日-12月31日"}, WeekCase{"DN0K1", "2013年01月01日-01月05日"},
        WeekCase{"DN0K2", "2013年01月06日-01月12日"}, WeekCase{"DN0KX", "2013年06月23日-06月29日"},
        WeekCase{"DN0KT", "2013年06月02日-06月08日"}, WeekCase{"dn0kt", "2013年06月02日-06月08日"},
        WeekCase{"DN0H9", "2012年02月26日-03月03日"},
        // K lists no 27th week (the rule's Sunday 30 June alone); H has none by the rule.
        WeekCase{"DN0KY", "2013年"}, WeekCase{"DN0HY", "2012年"},
        // Positions count characters; each byte of a broken sequence counts as one.
        WeekCase{"中国人F1", "2011年01月01日-01月01日"},
        WeekCase{"\xE4\xB8"
                 "XG1",
                 "2011年07月01日-07月02日"}));

// Neither the week code nor anything after position 5 matters when the 4th character is no
// half-year code.
INSTANTIATE_TEST_SUITE_P(NoHalfYear, WeekExamples,
                         testing::Values(WeekCase{"DN0C1", ""}, WeekCase{"DN0D1", ""}, WeekCase{"DN0L1", ""},
                                         WeekCase{"DN001", ""}, WeekCase{"DN0I1", ""}, WeekCase{"DN0", ""},
                                         WeekCase{"", ""}, WeekCase{"DN0中1", ""},
                                         WeekCase{"\xE4\xB8\xAD"
                                                  "F1",
                                                  ""}));

TEST(WeekCalendarCodes, ZeroAndUnusedLettersGiveTheYearForEveryHalfYear) {
    for (const HalfYearCase& half : HalfYearCases)
        for (char week : std::string("0AZBEIOSU"))
            EXPECT_EQ(DecodeProductionDate(Serial(half.Code, week)), half.YearLabel) << half.Code << week;
}

TEST(WeekCalendarCodes, OnlyFiveBytesNameAHalfYear) {
    int halfYears = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string result = DecodeProductionDate(Serial(static_cast<char>(byte), '1'));
        if (!result.empty())
            ++halfYears;
    }
    EXPECT_EQ(halfYears, 10); // F G H J K in either case
}
