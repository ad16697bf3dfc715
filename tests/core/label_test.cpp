#include "core/label.hpp"

#include <gtest/gtest.h>

using namespace quenlio;
using Outcome = LabelReading::Outcome;

TEST(LabelSerial, TakesOnlyWhatTheScreenWouldTake) {
    EXPECT_EQ(LabelSerial("SF1RJP3XYDTWF", 12), "F1RJP3XYDTWF");
    EXPECT_EQ(LabelSerial("F1RJP3XYDTWF", 12), "F1RJP3XYDTWF");
    EXPECT_EQ(LabelSerial("S88923ABC3NP", 11), "88923ABC3NP");
    for (const char* refused : {"F1RAP3XYDTWF", "f1rjp3xydtwf", "XF1RJP3XYDTWF", "F1RJP3XYDTW",
                                "123456789012", "885909627837", "F1RJP3XY-TWF"})
        EXPECT_EQ(LabelSerial(refused, 12), "") << refused;
    for (const char* refused : {"88Z23ABC3NP", "88963ABC3NP", "88923123456", "F1RJP3XYDTWF", "SS88923ABC3NP"})
        EXPECT_EQ(LabelSerial(refused, 11), "") << refused;
}

TEST(LabelPartNumber, DropsTheIdentifierAndTheRegionSuffix) {
    EXPECT_EQ(LabelPartNumber("1PMD128J/A"), "MD128J");
    EXPECT_EQ(LabelPartNumber("MD297CH/A"), "MD297CH");
    EXPECT_EQ(LabelPartNumber("MB046LL"), "MB046LL");
    EXPECT_EQ(LabelPartNumber("1PMD12J"), "MD12J");
    for (const char* refused : {"1PMD2", "MD297CHX", "123456", "MDABCH", "1P", "", "/A", "md128j",
                                "1PMD128J-A", "0MD128J", "013425001234567"})
        EXPECT_EQ(LabelPartNumber(refused), "") << refused;
}

TEST(ReadLabel, NeverGuesses) {
    const LabelReading twoParts = ReadLabel({"S88923ABC3NP", "1PMB716CH/A", "1PMB046LL/A"}, 11);
    EXPECT_EQ(twoParts.Result, Outcome::Read);
    EXPECT_EQ(twoParts.PartNumber, "");
    EXPECT_TRUE(twoParts.TwoPartNumbers);
    const LabelReading twoSerials = ReadLabel({"SF1RJP3XYDTWF", "SDNPH7ABCDTDK", "1PMD297CH/A"}, 12);
    EXPECT_EQ(twoSerials.Result, Outcome::TwoSerials);
    EXPECT_EQ(twoSerials.Serial + twoSerials.PartNumber, "");
    EXPECT_EQ(ReadLabel({"S88923ABC3NP", "1PMB716CH/A"}, 12).Result, Outcome::OtherScreen);
    EXPECT_EQ(ReadLabel({"SF1RJP3XYDTWF"}, 11).Result, Outcome::OtherScreen);
    EXPECT_EQ(ReadLabel({"885909627837", "1PMD297CH/A", ""}, 12).Result, Outcome::NoSerial);
    EXPECT_EQ(ReadLabel({}, 11).Result, Outcome::NoSerial);
}
