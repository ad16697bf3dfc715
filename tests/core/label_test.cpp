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

TEST(LabelPartNumber, TakesTheCataloguesFormWithoutIdentifierOrSuffix) {
    EXPECT_EQ(LabelPartNumber("1PMD128J/A"), "MD128J");
    EXPECT_EQ(LabelPartNumber("MD297CH/A"), "MD297CH");
    EXPECT_EQ(LabelPartNumber("MB046LL"), "MB046LL");
    // A model number (A1429), a version (10A523) and codes of the wrong shape are no part numbers.
    for (const char* refused :
         {"1PMD12J", "A1429", "1PA1429", "10A523", "MD297CHX", "123456", "MDABCH", "M1297CH", "MD29ACH",
          "MD297C1", "1P", "", "/A", "md128j", "1PMD128J-A", "013425001234567"})
        EXPECT_EQ(LabelPartNumber(refused), "") << refused;
}

// Codes one under another, as on a label: a code 300 pixels long every 100 pixels down from `top`.
std::vector<LabelCode> Label(std::vector<std::string> texts, double left = 0, double top = 0) {
    std::vector<LabelCode> codes;
    for (std::string& text : texts)
        codes.push_back({std::move(text), left + 150, top + 100 * double(codes.size()), 300});
    return codes;
}

std::vector<LabelCode> Together(std::vector<LabelCode> a, const std::vector<LabelCode>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ReadLabel, TakesTheSerialWithItsOwnLabelsPartNumber) {
    const LabelReading read = ReadLabel(
        Label({"SF1RJP3XYDTWF", "1PMD297CH/A", "013425001234567", "885909627837", "A1429", "CARTON7"}), 12);
    EXPECT_EQ(read.Result, Outcome::Read);
    EXPECT_EQ(read.Serial + " " + read.PartNumber, "F1RJP3XYDTWF MD297CH");
    EXPECT_EQ(LabelMessage(read, 12), "");
    const LabelReading serialAlone = ReadLabel(Label({"SF1RJP3XYDTWF", "013425001234567"}), 12);
    EXPECT_EQ(serialAlone.Result, Outcome::Read);
    EXPECT_EQ(LabelMessage(serialAlone, 12), "标签上没有找到型号");
    // A code read with no place (a hand scanner's) stands with any other.
    EXPECT_EQ(ReadLabel({{"S88923ABC3NP"}, {"1PMB716CH/A", 900, 900, 300}}, 11).PartNumber, "MB716CH");
}

TEST(ReadLabel, NeverTakesFromTwoLabels) {
    const auto near = Label({"SF1RJP3XYDTWF", "013425001234567", "885909627837"});
    // The far box's part number, its serial unread: two labels' codes, though one of each kind.
    EXPECT_EQ(ReadLabel(Together(near, Label({"1PMD300CH/A"}, 1000)), 12).Result, Outcome::TwoLabels);
    // Two boxes of one model: the same part number and UPC on both, the far one's serial unread.
    const auto far = Label({"1PMD297CH/A", "885909627837"}, 0, 800);
    EXPECT_EQ(ReadLabel(Together(Label({"SF1RJP3XYDTWF", "1PMD297CH/A", "885909627837"}), far), 12).Result,
              Outcome::TwoLabels);
    // Two different IMEIs, or part numbers, on what looks like one label.
    EXPECT_EQ(ReadLabel(Label({"SF1RJP3XYDTWF", "013425001234567", "013425001234568"}), 12).Result,
              Outcome::TwoLabels);
    const LabelReading twoParts = ReadLabel(Label({"S88923ABC3NP", "1PMB716CH/A", "1PMB046LL/A"}), 11);
    EXPECT_EQ(twoParts.Result, Outcome::TwoLabels);
    EXPECT_EQ(twoParts.Serial + twoParts.PartNumber, "");
    EXPECT_EQ(LabelMessage(twoParts, 11), "图片中有两个标签的条码，请只拍一个标签");
    const LabelReading twoSerials = ReadLabel(Label({"SF1RJP3XYDTWF", "SDNPH7ABCDTDK", "1PMD297CH/A"}), 12);
    EXPECT_EQ(twoSerials.Result, Outcome::TwoSerials);
    EXPECT_EQ(twoSerials.Serial + twoSerials.PartNumber, "");
}

TEST(ReadLabel, SaysWhereAnotherScreensSerialBelongs) {
    EXPECT_EQ(ReadLabel(Label({"S88923ABC3NP", "1PMB716CH/A"}), 12).Result, Outcome::OtherScreen);
    EXPECT_EQ(ReadLabel(Label({"SF1RJP3XYDTWF"}), 11).Result, Outcome::OtherScreen);
    EXPECT_EQ(ReadLabel(Label({"885909627837", "1PMD297CH/A", ""}), 12).Result, Outcome::NoSerial);
    EXPECT_EQ(ReadLabel({}, 11).Result, Outcome::NoSerial);
}

TEST(ReadScannedCode, TellsWhatOneScannedCodeIsForTheScreen) {
    const auto read = [](const char* text, std::size_t length) {
        const ScannedCode code = ReadScannedCode(text, length);
        return code.Serial + "|" + code.PartNumber + "|" + std::string(code.Message);
    };
    EXPECT_EQ(read("SF1RJP3XYDTWF", 12), "F1RJP3XYDTWF||");
    EXPECT_EQ(read("sf1rjp3xydtwf", 12), "F1RJP3XYDTWF||"); // Caps Lock on
    EXPECT_EQ(read("S88923ABC3NP", 11), "88923ABC3NP||");
    EXPECT_EQ(read("1PMD297CH/A", 12), "|MD297CH|");
    EXPECT_EQ(read("1pmb716ch/a", 11), "|MB716CH|");
    EXPECT_EQ(read("SF1RJP3XYDTWF", 11), "||这是12位序列号，请到12位序列号查询中扫描");
    EXPECT_EQ(read("S88923ABC3NP", 12), "||这是11位序列号，请到11位序列号查询中扫描");
    EXPECT_EQ(read("013425001234567", 12), "||这是IMEI码，请扫描序列号或型号的条码");
    EXPECT_EQ(read("885909627837", 11), "||这是商品条码，请扫描序列号或型号的条码");
    for (const char* unknown : {"SF1RAP3XYDTWF", "A1429", "CARTON7", ""})
        EXPECT_EQ(read(unknown, 12), "||这不是序列号或型号的条码") << unknown;
}
