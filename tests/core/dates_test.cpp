#include "core/dates.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <tuple>
#include <utility>

using namespace quenlio;
using namespace std::chrono;

namespace {

constexpr std::string_view Replacement = "您的机子属于苹果售后换机/官翻机，质量没什么问题";
constexpr std::string_view Earlier = "请重新核对您iPhone的实际激活时间！";
constexpr std::string_view SameDay = "恭喜，购买时间与激活时间完全符合，全新！";

std::string Days(const std::string& count, const std::string& verdict) {
    return "购买时间与激活时间相差" + count + "天，" + verdict;
}

// Each accepted way of writing a date, and the date it means.
class AcceptedDate : public testing::TestWithParam<std::pair<std::string, year_month_day>> {};

TEST_P(AcceptedDate, ReadsAsTheCalendarDate) {
    const auto& [text, expected] = GetParam();
    const auto date = ReadDate(text);
    ASSERT_TRUE(date.has_value()) << text;
    EXPECT_EQ(*date, expected) << text;
}

constexpr year_month_day Nov11 = 2013y / 11 / 11;
constexpr year_month_day Mar5 = 2013y / 3 / 5;

INSTANTIATE_TEST_SUITE_P(Forms, AcceptedDate,
                         testing::Values(std::pair{"2013-11-11", Nov11}, std::pair{"2013/11/11", Nov11},
                                         std::pair{"2013.11.11", Nov11}, std::pair{"2013年11月11日", Nov11},
                                         std::pair{"2013-3-5", Mar5}, std::pair{"2013/3/05", Mar5},
                                         std::pair{"2013.03.5", Mar5}, std::pair{"2013年3月5日", Mar5},
                                         std::pair{"2013年03月05日", Mar5},
                                         std::pair{"0001-01-01", year_month_day{year{1}, January, day{1}}},
                                         std::pair{"9999-12-31", 9999y / 12 / 31},
                                         std::pair{"2012-02-29", 2012y / 2 / 29},
                                         std::pair{"2000-02-29", 2000y / 2 / 29}));

INSTANTIATE_TEST_SUITE_P(
    BlanksAndTimes, AcceptedDate,
    testing::Values(std::pair{" 2013-11-11", Nov11}, std::pair{"2013-11-11  ", Nov11},
                    std::pair{"\t2013-11-11\t", Nov11}, std::pair{"2013-11-11\r\n", Nov11},
                    std::pair{"\u30002013年11月11日\u3000", Nov11}, std::pair{"2013-11-11 12:00:00", Nov11},
                    std::pair{"2013-11-11 0:00", Nov11}, std::pair{"2013-11-11   23:59:59 ", Nov11},
                    std::pair{"2013-11-11T12:00:00", Nov11}, std::pair{"2013-11-11T12:00:00Z", Nov11},
                    std::pair{"2013-11-11T12:00:00.250+08:00", Nov11},
                    // A fraction of any length, longer than any number holds.
                    std::pair{"2013-11-11 12:00:00.44444444444444444444444444", Nov11},
                    std::pair{"2013-11-11T12:00-0500", Nov11}, std::pair{"2013/11/11 8:30", Nov11},
                    std::pair{"2013年11月11日 12:00", Nov11},
                    std::pair{"2013年11月11日\u300012:00:00", Nov11}));

// Texts that are no date: each gives no estimate and no verdict.
class NoDate : public testing::TestWithParam<std::string> {};

TEST_P(NoDate, IsNotReadAndGivesNothing) {
    const std::string& text = GetParam();
    EXPECT_FALSE(ReadDate(text).has_value()) << text;
    EXPECT_FALSE(EstimateActivationDate(text).has_value()) << text;
    EXPECT_FALSE(RefurbishmentVerdict("2012-11-12", text, "ABC123456789").has_value()) << text;
    EXPECT_FALSE(RefurbishmentVerdict(text, "2012-11-12", "DQG123456789").has_value()) << text;
}

INSTANTIATE_TEST_SUITE_P(Impossible, NoDate,
                         testing::Values("2013-02-30", "2013-02-29", "2100-02-29", "2013-13-01", "2013-00-10",
                                         "2013-11-00", "2013-11-31", "2013-04-31", "0000-01-01",
                                         "2013-11-11 24:00", "2013-11-11 12:60", "2013-11-11 12:00:60",
                                         "2013-11-11T12:00+24:00"));

INSTANTIATE_TEST_SUITE_P(Malformed, NoDate,
                         testing::Values("", " ", "\u3000", "abc", "2013-11", "2013-11-", "20131111",
                                         "2013111", "13-11-11", "12013-11-11", "2013-011-11", "2013-11-011",
                                         "2013-11/11", "2013/11-11", "2013.11/11", "2013年11月11",
                                         "2013年11-11", "2013-11-11日", "+2013-11-11", "-2013-11-11",
                                         "2013 -11-11", "2013- 11-11", "2013-11-11x", "2013-11-11 abc",
                                         "2013-11-11T", "2013-11-11 12", "2013-11-11 12:0",
                                         "2013-11-11 12:00:", "2013-11-11 12:00:00.", "2013-11-1112:00",
                                         "2013-11-11T 12:00", "2013-11-11 12:00 12:00", "11-11-2013",
                                         "２０１３-11-11",
                                         "2013\xE2\x80"
                                         "11-11",
                                         "2013-11-11\xE3\x80",
                                         "\xFF"
                                         "2013-11-11",
                                         std::string("2013-11-11\0", 11)));

// The warranty end date minus 364 calendar days.
class Activation : public testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(Activation, IsThreeHundredSixtyFourDaysEarlier) {
    const auto& [warrantyEnd, activation] = GetParam();
    EXPECT_EQ(EstimateActivationDate(warrantyEnd), activation) << warrantyEnd;
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, Activation,
    testing::Values(std::pair{"2013-11-11", "2012-11-12"}, std::pair{"2013-02-28", "2012-03-01"},
                    std::pair{"2013-01-01", "2012-01-03"}, std::pair{"2014-03-01", "2013-03-02"},
                    std::pair{"2012-02-29", "2011-03-02"}, std::pair{"2016-02-29", "2015-03-02"},
                    std::pair{"2013-12-31", "2013-01-01"}, std::pair{"2014-01-01", "2013-01-02"},
                    std::pair{"2000-03-01", "1999-03-03"}, std::pair{"2100-03-01", "2099-03-02"},
                    std::pair{"9999-12-31", "9999-01-01"}, std::pair{"0002-01-01", "0001-01-02"},
                    std::pair{"0001-12-31", "0001-01-01"}));

INSTANTIATE_TEST_SUITE_P(OtherForms, Activation,
                         testing::Values(std::pair{"2013-1-5", "2012-01-07"},
                                         std::pair{"2013/11/11", "2012-11-12"},
                                         std::pair{"2013.11.11", "2012-11-12"},
                                         std::pair{"2013年11月11日", "2012-11-12"},
                                         std::pair{" 2013-11-11 10:20:30 ", "2012-11-12"}));

TEST(Activation, BeforeTheFirstYearIsNoDate) {
    EXPECT_FALSE(EstimateActivationDate("0001-12-30").has_value());
    EXPECT_FALSE(EstimateActivationDate("0001-01-01").has_value());
}

// Purchase dates against the activation date 2012-11-12, one for each band edge.
class VerdictBand : public testing::TestWithParam<std::tuple<int, std::string, std::string>> {};

TEST_P(VerdictBand, ShowsTheBandMessage) {
    const auto& [dayDifference, purchase, message] = GetParam();
    EXPECT_EQ(RefurbishmentVerdict("2012-11-12", purchase, "ABC123456789"), message) << dayDifference;
}

TEST_P(VerdictBand, GivesWayToTheReplacementMessage) {
    const auto& purchase = std::get<1>(GetParam());
    for (const char* serial : {"DQG123456789", "dqg123456789", "C7G1", "C3K", "DYJ", "CCP999999999"})
        EXPECT_EQ(RefurbishmentVerdict("2012-11-12", purchase, serial), Replacement) << serial;
    for (const char* serial : {"DQ", "", "DGQ123456789", "XDQG12345678"})
        EXPECT_NE(RefurbishmentVerdict("2012-11-12", purchase, serial), Replacement) << serial;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, VerdictBand,
    testing::Values(std::tuple{-1, "2012-11-11", std::string(Earlier)},
                    std::tuple{0, "2012-11-12", std::string(SameDay)},
                    std::tuple{1, "2012-11-13", Days("1", "新机！")},
                    std::tuple{4, "2012-11-16", Days("4", "新机！")},
                    std::tuple{5, "2012-11-17", Days("5", "您的iPhone是新机！")},
                    std::tuple{14, "2012-11-26", Days("14", "您的iPhone是新机！")},
                    std::tuple{15, "2012-11-27", Days("15", "问题不大")},
                    std::tuple{29, "2012-12-11", Days("29", "问题不大")},
                    std::tuple{30, "2012-12-12", Days("30", "可能不是全新，但翻新几率也不大")},
                    std::tuple{44, "2012-12-26", Days("44", "可能不是全新，但翻新几率也不大")},
                    std::tuple{45, "2012-12-27", Days("45", "有可能是翻新机")},
                    std::tuple{59, "2013-01-10", Days("59", "有可能是翻新机")},
                    std::tuple{60, "2013-01-11", Days("60", "翻新几率很大")},
                    std::tuple{179, "2013-05-10", Days("179", "翻新几率很大")},
                    std::tuple{180, "2013-05-11", Days("180", "翻新机！")},
                    std::tuple{32767, "2102-07-31", Days("32767", "翻新机！")},
                    std::tuple{32768, "2102-08-01", Days("32768", "翻新机！")},
                    std::tuple{-3650, "2002-11-15", std::string(Earlier)}));

TEST(Verdict, SpansMonthYearAndLeapDays) {
    EXPECT_EQ(RefurbishmentVerdict("2012-02-28", "2012-03-01", "ABC"), Days("2", "新机！"));
    EXPECT_EQ(RefurbishmentVerdict("2013-02-28", "2013-03-01", "ABC"), Days("1", "新机！"));
    EXPECT_EQ(RefurbishmentVerdict("2012-12-31", "2013-01-01", "ABC"), Days("1", "新机！"));
    EXPECT_EQ(RefurbishmentVerdict("2012-01-31", "2012-03-01", "ABC"),
              Days("30", "可能不是全新，但翻新几率也不大"));
    EXPECT_EQ(RefurbishmentVerdict("2011-11-12", "2012-11-12", "ABC"), Days("366", "翻新机！"));
}

TEST(Verdict, HugeDifferencesStillFallInABand) {
    EXPECT_EQ(RefurbishmentVerdict("1000-01-01", "9999-12-31", "ABC"), Days("3287181", "翻新机！"));
    EXPECT_EQ(RefurbishmentVerdict("9999-12-31", "1000-01-01", "ABC"), Earlier);
    EXPECT_EQ(RefurbishmentVerdict("9999-12-31", "1000-01-01", "CCP"), Replacement);
}

TEST(Verdict, ReadsBothDatesInAnyAcceptedForm) {
    EXPECT_EQ(RefurbishmentVerdict("2012/11/12", "2012年11月17日 10:00", "ABC"),
              Days("5", "您的iPhone是新机！"));
    EXPECT_EQ(RefurbishmentVerdict(" 2012.11.12", "2012-11-12T23:59:59", "ABC"), SameDay);
}

TEST(Verdict, AcceptsItsOwnEstimateUnchanged) {
    const auto activation = EstimateActivationDate("2013-11-11");
    ASSERT_TRUE(activation.has_value());
    EXPECT_EQ(RefurbishmentVerdict(*activation, *activation, "ABC"), SameDay);
}

std::string RandomBytes(std::mt19937& random) {
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    for (int i = length(random); i > 0; --i)
        text.push_back(static_cast<char>(byte(random)));
    return text;
}

// Something near a date: numbers of random widths and values between random separators,
// sometimes followed by a time or noise.
std::string RandomDateLike(std::mt19937& random) {
    const std::array<std::string, 9> separators{"-", "/", ".", "年", "月", "日", " ", "", ":"};
    std::uniform_int_distribution<std::size_t> pickSeparator(0, separators.size() - 1);
    std::uniform_int_distribution<int> number(0, 10000);
    std::uniform_int_distribution<int> coin(0, 3);
    std::string text = std::to_string(number(random));
    const std::string separator = coin(random) == 0 ? separators[pickSeparator(random)] : "-";
    text += separator + std::to_string(number(random) % 14) + separator + std::to_string(number(random) % 33);
    if (coin(random) == 0)
        text += " " + std::to_string(number(random) % 26) + ":" + std::to_string(number(random) % 62);
    if (coin(random) == 0)
        text += separators[pickSeparator(random)];
    return text;
}

// Random bytes, and random texts near a date, never make the date rules fail; what they
// accept they accept consistently.
TEST(DateRobustness, RandomTextsNeverFail) {
    std::mt19937 random(20131111);
    int readable = 0;
    for (int round = 0; round < 40000; ++round) {
        const bool bytes = round % 2 == 0;
        const std::string first = bytes ? RandomBytes(random) : RandomDateLike(random);
        const std::string second = bytes ? RandomBytes(random) : RandomDateLike(random);
        std::optional<year_month_day> firstDate, secondDate;
        std::optional<std::string> estimate, verdict;
        ASSERT_NO_THROW(firstDate = ReadDate(first));
        ASSERT_NO_THROW(secondDate = ReadDate(second));
        ASSERT_NO_THROW(estimate = EstimateActivationDate(first));
        ASSERT_NO_THROW(verdict = RefurbishmentVerdict(first, second, RandomBytes(random)));
        ASSERT_EQ(verdict.has_value(), firstDate.has_value() && secondDate.has_value());
        if (firstDate) {
            ++readable;
            ASSERT_TRUE(firstDate->ok());
        }
        if (estimate) {
            ASSERT_EQ(estimate->size(), 10u);
            const auto back = ReadDate(*estimate);
            ASSERT_TRUE(back.has_value()) << *estimate;
            ASSERT_EQ(sys_days{*firstDate} - sys_days{*back}, days{364});
        }
    }
    EXPECT_GT(readable, 1000); // the texts near a date do hit dates often
}

} // namespace
