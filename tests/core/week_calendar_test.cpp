#include "core/week_calendar.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace quenlio;
using namespace std::chrono;

namespace {

const std::string WeekAlphabet = "123456789CDFGHJKLMNPQRTVWXY";

struct HalfYearCase {
    char Code;
    std::string YearLabel;
    year_month_day First, Last;
    std::size_t WeeksListed;
};

void PrintTo(const HalfYearCase& c, std::ostream* os) {
    *os << c.Code;
}

const HalfYearCase HalfYearCases[] = {
    {'F', "2011年", 2011y / 1 / 1, 2011y / 6 / 30, 27}, {'G', "2011年", 2011y / 7 / 1, 2011y / 12 / 31, 27},
    {'H', "2012年", 2012y / 1 / 1, 2012y / 6 / 30, 26}, {'J', "2012年", 2012y / 7 / 1, 2012y / 12 / 31, 27},
    {'K', "2013年", 2013y / 1 / 1, 2013y / 6 / 30, 26},
};

std::string MonthDay(sys_days day) {
    const year_month_day date{day};
    char text[32];
    std::snprintf(text, sizeof text, "%02u月%02u日", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    return text;
}

// The weeks of a half-year found by walking it one day at a time: a week opens on the first day
// or on a Sunday, and closes on a Saturday or on the last day.
std::vector<std::string> WalkWeeks(const HalfYearCase& half) {
    std::vector<std::string> weeks;
    std::string opened;
    for (sys_days day{half.First}; day <= sys_days{half.Last}; day += days{1}) {
        if (opened.empty())
            opened = MonthDay(day);
        if (weekday{day} == Saturday || day == sys_days{half.Last}) {
            weeks.push_back(opened + "-" + MonthDay(day));
            opened.clear();
        }
    }
    return weeks;
}

std::string Serial(char halfYear, char week) {
    return std::string("DN0") + halfYear + week + "ABCDTF9";
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

class WeekCalendar : public testing::TestWithParam<HalfYearCase> {};

} // namespace

TEST_P(WeekCalendar, ListsTheWeeksTheDayWalkGives) {
    const HalfYearCase& half = GetParam();
    const std::vector<std::string> walked = WalkWeeks(half);
    ASSERT_GE(walked.size(), half.WeeksListed);
    ASSERT_LE(walked.size(), WeekAlphabet.size());
    for (std::size_t i = 0; i < WeekAlphabet.size(); ++i) {
        const char code = WeekAlphabet[i];
        SCOPED_TRACE(std::string(1, half.Code) + code);
        const std::string expected = half.YearLabel + (i < half.WeeksListed ? walked[i] : "");
        EXPECT_EQ(DecodeProductionDate(Serial(half.Code, code)), expected);
        EXPECT_EQ(DecodeProductionDate(Serial(Lower(half.Code), Lower(code))), expected);
    }
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

TEST(WeekCalendarRule, KOmitsItsOneDayLastWeekAndHNeedsNone) {
    // The rule gives K a 27th week, Sunday 30 June alone, which is not listed; H ends on a Saturday.
    EXPECT_EQ(WalkWeeks(HalfYearCases[4]).size(), 27u);
    EXPECT_EQ(WalkWeeks(HalfYearCases[4]).back(), "06月30日-06月30日");
    EXPECT_EQ(WalkWeeks(HalfYearCases[2]).size(), 26u);
    EXPECT_EQ(DecodeProductionDate("DN0KY"), "2013年");
    EXPECT_EQ(DecodeProductionDate("DN0HY"), "2012年");
}

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
        const std::string_view result = DecodeProductionDate(Serial(static_cast<char>(byte), '1'));
        if (!result.empty())
            ++halfYears;
    }
    EXPECT_EQ(halfYears, 10); // F G H J K in either case
}
