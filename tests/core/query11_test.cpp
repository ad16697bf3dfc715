#include "core/query11.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <utility>

using namespace quenlio;

namespace {

using Row = std::pair<std::string, std::string>;

// A serial whose characters 1-8 decode to no replacement, 2009 and week 23.
std::string SerialEndingIn(const std::string& modelCode) {
    return "AB923XYZ" + modelCode;
}

const QueryResult Fresh{};

// The old catalogue of model codes, in full.
class OldModelCode : public testing::TestWithParam<Row> {};

TEST_P(OldModelCode, GivesItsModelInEitherCase) {
    const auto& [code, model] = GetParam();
    EXPECT_EQ(SerialQuery11(SerialEndingIn(code), "MB123CH", Fresh).DeviceModel, model);
    std::string lower = code;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(SerialQuery11(SerialEndingIn(lower), "MB123CH", Fresh).DeviceModel, model);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, OldModelCode,
    testing::Values(Row{"A4S", "iPhone 4 16GB 黑色"}, Row{"DZZ", "iPhone 4 16GB 白色"},
                    Row{"A4T", "iPhone 4 32GB 黑色"}, Row{"E00", "iPhone 4 32GB 白色"},
                    Row{"EDG", "iPhone 3GS 8GB 黑色"}, Row{"3NP", "iPhone 3GS 16GB 黑色"},
                    Row{"3NR", "iPhone 3GS 32GB 黑色"}, Row{"3NQ", "iPhone 3GS 16GB 白色"},
                    Row{"3NS", "iPhone 3GS 32GB 白色"}, Row{"8M7", "iPhone 3GS 16GB 黑色"},
                    Row{"8M8", "iPhone 3GS 16GB 白色"}, Row{"8M9", "iPhone 3GS 32GB 黑色"},
                    Row{"8MB", "iPhone 3GS 32GB 白色"}, Row{"Y7H", "iPhone 3G 8GB 黑色"},
                    Row{"Y7K", "iPhone 3G 16GB 黑色"}, Row{"1R4", "iPhone 3G 16GB 白色"},
                    Row{"VR0", "iPhone 4GB"}, Row{"WH8", "iPhone 8GB"}, Row{"0KH", "iPhone 16GB"}));

// Codes that look like a row but are none keep whatever the box showed.
class UnknownModelCode : public testing::TestWithParam<std::string> {};

TEST_P(UnknownModelCode, KeepsTheShownModel) {
    QueryResult shown;
    shown.DeviceModel = "iPhone 3G 8GB 黑色";
    EXPECT_EQ(SerialQuery11(SerialEndingIn(GetParam()), "MB123CH", shown).DeviceModel, "iPhone 3G 8GB 黑色");
    EXPECT_EQ(SerialQuery11(SerialEndingIn(GetParam()), "MB123CH", Fresh).DeviceModel, "");
}

INSTANTIATE_TEST_SUITE_P(Catalogue, UnknownModelCode,
                         testing::Values("EOO", "VRO", "OKH", "A4", "8M", "", "A 4S", "中4S", "8N9"));

TEST(OldModelCode, IsReadFromCharactersNineToElevenCountingChineseAsOne) {
    EXPECT_EQ(SerialQuery11("中国923XYZ8M9", "MB123CH", Fresh).DeviceModel, "iPhone 3GS 32GB 黑色");
    EXPECT_EQ(SerialQuery11("AB923XYZA8M9", "MB123CH", Fresh).DeviceModel, ""); // 12 characters: "A8M"
}

// Every region key, as the 6th and 7th characters of the part number.
class OldRegionKey : public testing::TestWithParam<Row> {};

TEST_P(OldRegionKey, GivesItsRegionAndOnlyLlNamesACarrier) {
    const auto& [key, region] = GetParam();
    std::string lower = key;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& partNumber : {"MB123" + key, "mb123" + lower}) {
        const QueryResult result = SerialQuery11(SerialEndingIn("8M9"), partNumber, Fresh);
        EXPECT_EQ(result.SalesRegion, region) << partNumber;
        EXPECT_EQ(result.Carrier, key == "LL" ? "AT&T" : "-") << partNumber;
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, OldRegionKey,
                         testing::Values(Row{"CH", "中国"}, Row{"LL", "美国"}, Row{"ZP", "香港"},
                                         Row{"KH", "韩国"}, Row{"J", "日本"}, Row{"TA", "台湾"},
                                         Row{"ZA", "新加坡"}, Row{"B", "英国"}, Row{"AB", "沙特阿拉伯"},
                                         Row{"BZ", "巴西"}, Row{"F", "法国"}, Row{"DN", "奥地利"},
                                         Row{"NF", "比利时"}, Row{"CS", "捷克"}, Row{"KN", "丹麦"},
                                         Row{"KS", "瑞典/芬兰"}, Row{"CM", "匈牙利"}, Row{"C", "加拿大"},
                                         Row{"FD", "瑞士"}, Row{"D", "德国"}, Row{"X", "澳大利亚"}));

// Part numbers whose suffix matches no key: the region box keeps its text, the carrier is the dash.
class UnknownRegionKey : public testing::TestWithParam<std::string> {};

TEST_P(UnknownRegionKey, KeepsTheShownRegionAndShowsNoCarrier) {
    QueryResult shown;
    shown.SalesRegion = "美国";
    shown.Carrier = "AT&T";
    const QueryResult result = SerialQuery11(SerialEndingIn("8M9"), GetParam(), shown);
    EXPECT_EQ(result.SalesRegion, "美国");
    EXPECT_EQ(result.Carrier, "-");
}

INSTANTIATE_TEST_SUITE_P(Catalogue, UnknownRegionKey,
                         testing::Values("MB123JA", "MB123L", "MB123", "", "MB12LL", "MB123 L", "MB123日本"));

TEST(OldRegionKey, CountsChineseCharactersAsOne) {
    const QueryResult result = SerialQuery11(SerialEndingIn("8M9"), "型号123LL", Fresh);
    EXPECT_EQ(result.SalesRegion, "美国");
    EXPECT_EQ(result.Carrier, "AT&T");
}

// Characters 3 to 5 of the serial and the production date they give.
class OldProductionDate : public testing::TestWithParam<Row> {};

TEST_P(OldProductionDate, JoinsYearAndWeekAsTyped) {
    const auto& [yearAndWeek, text] = GetParam();
    EXPECT_EQ(SerialQuery11("AB" + yearAndWeek + "XYZ8M9", "MB123CH", Fresh).ProductionDate, text);
}

INSTANTIATE_TEST_SUITE_P(Years, OldProductionDate,
                         testing::Values(Row{"923", "2009年第23周"}, Row{"005", "2010年第05周"},
                                         Row{"701", "2007年第01周"}, Row{"852", "2008年第52周"},
                                         Row{"110", "2011年第10周"}, Row{"249", "2012年第49周"},
                                         Row{"323", "第23周"}, Row{"423", "第23周"}, Row{"523", "第23周"},
                                         Row{"623", "第23周"}, Row{"A23", "第23周"}, Row{" 23", "第23周"},
                                         Row{"中23", "第23周"}, Row{"9a1", "2009年第a1周"},
                                         Row{"9-3", "2009年第-3周"}));

TEST(OldProductionDate, IsWrittenEvenForAShortSerial) {
    QueryResult shown;
    shown.ProductionDate = "2009年第23周";
    EXPECT_EQ(SerialQuery11("AB9", "", shown).ProductionDate, "2009年第周");
    EXPECT_EQ(SerialQuery11("", "", shown).ProductionDate, "第周");
}

// The after-sales replacement flag reads serial characters 1 and 2.
class OldReplacementFlag : public testing::TestWithParam<Row> {};

TEST_P(OldReplacementFlag, IsYesOnlyForTheThreePrefixes) {
    QueryResult shown;
    shown.AfterSalesReplacement = "是";
    const auto& [prefix, flag] = GetParam();
    EXPECT_EQ(SerialQuery11(prefix + "923XYZ8M9", "MB123CH", shown).AfterSalesReplacement, flag);
}

INSTANTIATE_TEST_SUITE_P(Prefixes, OldReplacementFlag,
                         testing::Values(Row{"5K", "是"}, Row{"5k", "是"}, Row{"61", "是"}, Row{"95", "是"},
                                         Row{"5L", "否"}, Row{"K5", "否"}, Row{"16", "否"}, Row{"59", "否"},
                                         Row{"AB", "否"}, Row{"C7", "否"}));

// The factory rule looks at the boxes after the query, texts kept from earlier queries included.
TEST(OldFactory, IsChinaOnlyWhenModelDateAndRegionAllHoldText) {
    const QueryResult first = SerialQuery11(SerialEndingIn("EOO"), "MB123CH", Fresh);
    EXPECT_EQ(first.DeviceModel, "");
    EXPECT_EQ(first.SalesRegion, "中国");
    EXPECT_EQ(first.Factory, "");

    const QueryResult second = SerialQuery11(SerialEndingIn("8M9"), "MB123JA", first);
    EXPECT_EQ(second.DeviceModel, "iPhone 3GS 32GB 黑色");
    EXPECT_EQ(second.SalesRegion, "中国"); // kept from the first query
    EXPECT_EQ(second.Carrier, "-");
    EXPECT_EQ(second.Factory, "中国");

    const QueryResult third = SerialQuery11(SerialEndingIn("EOO"), "MB123XX", second);
    EXPECT_EQ(third.DeviceModel, "iPhone 3GS 32GB 黑色");
    EXPECT_EQ(third.SalesRegion, "中国");
    EXPECT_EQ(third.Factory, "中国");
}

TEST(OldFactory, NeedsARegionFromThisOrAnEarlierQuery) {
    EXPECT_EQ(SerialQuery11(SerialEndingIn("8M9"), "MB123XX", Fresh).Factory, "");
    EXPECT_EQ(SerialQuery11(SerialEndingIn("8M9"), "MB123LL", Fresh).Factory, "中国");
}

TEST(OldFactory, KeepsTheShownFactoryWhenABoxIsEmpty) {
    QueryResult shown;
    shown.Factory = "中国";
    const QueryResult result = SerialQuery11(SerialEndingIn("EOO"), "MB123XX", shown);
    EXPECT_EQ(result.DeviceModel, "");
    EXPECT_EQ(result.Factory, "中国");
}

TEST(SerialQuery11, DecodesACompleteQuery) {
    QueryResult expected;
    expected.DeviceModel = "iPhone 3GS 16GB 白色";
    expected.ProductionDate = "2009年第23周";
    expected.SalesRegion = "日本";
    expected.Carrier = "-";
    expected.Factory = "中国";
    expected.AfterSalesReplacement = "是";
    EXPECT_EQ(SerialQuery11("5k923abc8m8", "mb496j", Fresh), expected);
}

// CheckOldSerial: characters 3, 4 and 5 of serials of 5 or more characters.
using Check = std::pair<std::string, bool>;
class OldSerialCheck : public testing::TestWithParam<Check> {};

TEST_P(OldSerialCheck, PassesOrFails) {
    const auto& [serial, passes] = GetParam();
    EXPECT_EQ(CheckOldSerial(serial), passes) << serial;
}

INSTANTIATE_TEST_SUITE_P(Short, OldSerialCheck,
                         testing::Values(Check{"", true}, Check{"A", true}, Check{"AB3", true},
                                         Check{"AB36", true}, Check{"中国中中", true}));

INSTANTIATE_TEST_SUITE_P(YearDigit, OldSerialCheck,
                         testing::Values(Check{"AB023", true}, Check{"AB123", true}, Check{"AB223", true},
                                         Check{"AB723", true}, Check{"AB823", true}, Check{"AB923", true},
                                         Check{"AB323", false}, Check{"AB423", false}, Check{"AB523", false},
                                         Check{"AB623", false}, Check{"ABA23", false}, Check{"AB 23", false},
                                         Check{"AB中23", false}, Check{"AB９23", false}));

INSTANTIATE_TEST_SUITE_P(WeekTens, OldSerialCheck,
                         testing::Values(Check{"AB903", true}, Check{"AB953", true}, Check{"AB9 3", true},
                                         Check{"AB9-3", true}, Check{"AB9/3", true}, Check{"AB9!3", true},
                                         Check{"AB963", false}, Check{"AB993", false}, Check{"AB9:3", false},
                                         Check{"AB9A3", false}, Check{"AB9a3", false}, Check{"AB9中3", false},
                                         Check{"AB9２3", false},
                                         Check{"AB9\x80"
                                               "3",
                                               false}));

INSTANTIATE_TEST_SUITE_P(WeekUnits, OldSerialCheck,
                         testing::Values(Check{"AB920", true}, Check{"AB929", true}, Check{"AB92A", false},
                                         Check{"AB92 ", false}, Check{"AB92/", false}, Check{"AB92:", false},
                                         Check{"AB92３", false}));

INSTANTIATE_TEST_SUITE_P(Lengths, OldSerialCheck,
                         testing::Values(Check{"AB923X", true}, Check{"AB963XYZ", false},
                                         Check{"5K923ABC8M9", true}, Check{"5K3236BC8M9", false},
                                         Check{"中国923", true}, Check{"中国中23", false},
                                         Check{"\xE4\xB8"
                                               "923",
                                               true}, // the two stray bytes are characters 1 and 2
                                         Check{"\xE4\xB8"
                                               "X923",
                                               false}));

// Whatever bytes arrive, the old-format rules answer without failing and keep their texts well formed.
TEST(OldSerialRobustness, RandomBytesNeverFail) {
    std::mt19937 random(20121215);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 24);
    for (int round = 0; round < 20000; ++round) {
        std::string serial, partNumber;
        for (int i = length(random); i > 0; --i)
            serial.push_back(static_cast<char>(byte(random)));
        for (int i = length(random); i > 0; --i)
            partNumber.push_back(static_cast<char>(byte(random)));
        QueryResult result;
        ASSERT_NO_THROW(CheckOldSerial(serial));
        ASSERT_NO_THROW(result = SerialQuery11(serial, partNumber, Fresh));
        ASSERT_TRUE(result.Carrier == "AT&T" || result.Carrier == "-");
        ASSERT_TRUE(result.AfterSalesReplacement == "是" || result.AfterSalesReplacement == "否");
        ASSERT_TRUE(result.ProductionDate.ends_with("周"));
        ASSERT_TRUE(result.Factory.empty() || result.Factory == "中国");
    }
}

} // namespace
