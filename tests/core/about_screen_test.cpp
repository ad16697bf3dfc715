#include "core/about_screen.hpp"

#include <gtest/gtest.h>

using namespace quenlio;
using Outcome = ScreenReading::Outcome;

namespace {

std::vector<ScreenWord> Words(std::vector<std::string> texts) {
    std::vector<ScreenWord> words;
    for (std::string& text : texts)
        words.push_back({std::move(text), 400, 100 * int(words.size()), 200, 30});
    return words;
}

// The words of an iOS 6 关于本机 screen with `serial` and `part`, values after their labels.
std::vector<ScreenWord> AboutScreen(std::string serial, std::string part = "MD297CH/A") {
    return Words({"名称", "iPhone", "总容量", "13.3", "GB", "版本", "6.0.1", "(10A523)", "运营商", "中国联通",
                  "13.0", "型号", part, "序列号", serial, "Wi-Fi", "地址", "3C:AB:8E:12:34:56", "IMEI", "01",
                  "325600", "123456", "7", "ICCID", "8986", "0112", "9876", "5432", "1098", "调制解调器固件",
                  "1.03.00"});
}

} // namespace

TEST(ReadAboutScreen, FindsTheSerialAndPartNumberAmongTheScreensOtherValues) {
    const ScreenReading reading = ReadAboutScreen(AboutScreen("F1RJP3XYDTWF"), 12);
    EXPECT_EQ(reading.Result, Outcome::Read);
    EXPECT_EQ(reading.Serial, "F1RJP3XYDTWF");
    EXPECT_EQ(reading.PartNumber, "MD297CH");
    EXPECT_EQ(reading.SerialFrom.Top, 1400);
    EXPECT_EQ(reading.PartFrom.Text, "MD297CH/A");
    // An old handset's 11-character serial on its own screen; the other screen's serial is named.
    EXPECT_EQ(ReadAboutScreen(AboutScreen("88923ABC3NP", "MB046LL/A"), 11).Serial, "88923ABC3NP");
    EXPECT_EQ(ReadAboutScreen(AboutScreen("88923ABC3NP"), 12).Result, Outcome::OtherScreen);
    EXPECT_EQ(ScreenMessage(ReadAboutScreen(AboutScreen("88923ABC3NP"), 12), 12),
              "这是11位序列号，请到11位序列号查询中扫描");
}

TEST(ReadAboutScreen, MendsWhatRecognitionMisreadsOnlyInPixels) {
    // A 1 read as I, a 0 written O: both mended in words read from pixels.
    EXPECT_EQ(ReadAboutScreen(AboutScreen("FIRJP3XYDTWF"), 12).Serial, "F1RJP3XYDTWF");
    EXPECT_EQ(ReadAboutScreen(AboutScreen("F1RJP3XYDTWF", "MDI28IP/A"), 12).PartNumber, "MD128IP");
    EXPECT_EQ(ReadAboutScreen(AboutScreen("C8PKO1ABDTWF"), 12).Serial, "C8PK01ABDTWF");
    EXPECT_EQ(ReadAboutScreen(AboutScreen("FIRJP3XYDTWF"), 12, false).Serial, "FIRJP3XYDTWF");
}

TEST(ReadAboutScreen, TakesNoVersionImeiOrSecondSerial) {
    // Without a part number in its screen form, none: a version, a bare code, a wrong suffix.
    for (const char* notPart : {"10A523", "MD297CH", "MD297CH/", "MD297CH/ABC", "MD297CH/1", "A1429/A"})
        EXPECT_EQ(ReadAboutScreen(AboutScreen("F1RJP3XYDTWF", notPart), 12).PartNumber, "") << notPart;
    EXPECT_EQ(ReadAboutScreen(Words({"013256001234567", "898601129876543210", "6.0.1"}), 12).Result,
              Outcome::NoSerial);
    // The same serial twice is one; two different ones give neither.
    std::vector<ScreenWord> twice = AboutScreen("F1RJP3XYDTWF");
    twice.push_back({"F1RJP3XYDTWF"});
    EXPECT_EQ(ReadAboutScreen(twice, 12).Result, Outcome::Read);
    twice.push_back({"F2MKT6LJFF9R"});
    const ScreenReading two = ReadAboutScreen(twice, 12);
    EXPECT_EQ(two.Result, Outcome::TwoSerials);
    EXPECT_EQ(two.Serial, "");
    EXPECT_EQ(ScreenMessage(ReadAboutScreen(Words({"名称"}), 12), 12), NoScreenSerial);
}

TEST(AgreedReading, OffersOnlyWhatBothReadingsRead) {
    const ScreenReading right = ReadAboutScreen(AboutScreen("F2MKT6LJFF9R"), 12);
    const ScreenReading swapped = ReadAboutScreen(AboutScreen("F2MKT6LJFFAR", "MD297CH/A"), 12);
    const ScreenReading otherPart = ReadAboutScreen(AboutScreen("F2MKT6LJFF9R", "MD298CH/A"), 12);
    EXPECT_EQ(AgreedReading(right, right).Serial, "F2MKT6LJFF9R");
    EXPECT_EQ(AgreedReading(right, swapped).Result, Outcome::NoSerial);
    const ScreenReading partless = AgreedReading(right, otherPart);
    EXPECT_EQ(partless.Serial, "F2MKT6LJFF9R");
    EXPECT_EQ(partless.PartNumber, "");
    EXPECT_EQ(AgreedReading(right, ReadAboutScreen({}, 12)).Result, Outcome::NoSerial);
}

TEST(CompareReadings, TellsWhichOfABoxAndAHandsetDiffer) {
    EXPECT_TRUE(CompareReadings("F1RJP3XYDTWF", "MD297CH", "F1RJP3XYDTWF", "MD297CH").Same());
    EXPECT_TRUE(CompareReadings("F1RJP3XYDTWF", "", "F1RJP3XYDTWF", "MD297CH").Same());
    const Pairing swapped = CompareReadings("F1RJP3XYDTWF", "MD297CH", "F2MKT6LJFF9R", "MD298CH");
    EXPECT_TRUE(swapped.SerialDiffers);
    EXPECT_TRUE(swapped.PartDiffers);
    EXPECT_FALSE(CompareReadings("F1RJP3XYDTWF", "MD297CH", "F1RJP3XYDTWF", "MD298CH").SerialDiffers);
}
