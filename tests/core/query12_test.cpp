#include "core/catalogue.hpp"
#include "core/query12.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace quenlio;

TEST(NormalizeSerial, UpperCasesThenTurnsEveryOIntoZero) {
    EXPECT_EQ(NormalizeSerial("dnphx0a1dtf9"), "DNPHX0A1DTF9");
    EXPECT_EQ(NormalizeSerial("oOo"), "000");
    EXPECT_EQ(NormalizeSerial("DNoPHXOA1DTF9"), "DN0PHX0A1DTF9");
    EXPECT_EQ(NormalizeSerial(""), "");
    // Nothing else is touched, and the character count stays the same.
    EXPECT_EQ(NormalizeSerial("Ｏ中ö0Q"), "Ｏ中ö0Q");
    EXPECT_EQ(NormalizeSerial("\xE4\xB8o"), "\xE4\xB8"
                                            "0");
}

struct AutofillCase {
    std::string_view ModelCode, PartNumber, DeviceModel, Carrier;
};

void PrintTo(const AutofillCase& c, std::ostream* os) {
    *os << c.ModelCode;
}

class Autofill : public testing::TestWithParam<AutofillCase> {};

TEST_P(Autofill, FillsAPartNumberTheCatalogueKnows) {
    const AutofillCase& c = GetParam();
    const std::string serial = "DNPHX0A1" + std::string(c.ModelCode);
    EXPECT_EQ(AutofillPartNumber(serial), c.PartNumber);
    const auto entry = LookupPartNumber(c.PartNumber);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->DeviceModel, c.DeviceModel);
    EXPECT_EQ(entry->SalesRegion, "美国");
    EXPECT_EQ(entry->Carrier, c.Carrier);
}

INSTANTIATE_TEST_SUITE_P(
    ModelCodes, Autofill,
    testing::Values(AutofillCase{"DTF9", "MD276LL", "iPhone 4S 16GB 黑色(CDMA)", "Verizon"},
                    AutofillCase{"DTFC", "MD277LL", "iPhone 4S 16GB 白色(CDMA)", "Verizon"},
                    AutofillCase{"DTFD", "MD278LL", "iPhone 4S 32GB 黑色(CDMA)", "Verizon"},
                    AutofillCase{"DTFF", "MD279LL", "iPhone 4S 32GB 白色(CDMA)", "Verizon"},
                    AutofillCase{"DTFG", "MD280LL", "iPhone 4S 64GB 黑色(CDMA)", "Verizon"},
                    AutofillCase{"DTFH", "MD281LL", "iPhone 4S 64GB 白色(CDMA)", "Verizon"},
                    AutofillCase{"DTDK", "MD269LL", "iPhone 4S 64GB 黑色(GSM)", "AT&T"},
                    AutofillCase{"DTDR", "MD271LL", "iPhone 4S 64GB 白色(GSM)", "AT&T"}));

TEST(AutofillPartNumber, MatchesOnlyTheExactLastFourCharacters) {
    EXPECT_EQ(AutofillPartNumber("DTDK"), "MD269LL");
    EXPECT_EQ(AutofillPartNumber("中国人DTDR"), "MD271LL");
    EXPECT_FALSE(AutofillPartNumber("DNPHX0A1DTDA"));
    EXPECT_FALSE(AutofillPartNumber("DNPHX0A1DTDK "));
    EXPECT_FALSE(AutofillPartNumber("DNPHX0A1dtdk")); // the box is upper-cased before this runs
    EXPECT_FALSE(AutofillPartNumber("TDK"));
    EXPECT_FALSE(AutofillPartNumber(""));
    EXPECT_FALSE(AutofillPartNumber("DTDK\x80"));
}

TEST(CheckHalfYearCode, AcceptsTheFiveHalfYearCodesInEitherCase) {
    for (char code : std::string("FGHJKfghjk"))
        EXPECT_TRUE(CheckHalfYearCode(std::string("DNP") + code + "X0A1DTF9")) << code;
    for (char code : std::string("LA0ICDEMZ1 "))
        EXPECT_FALSE(CheckHalfYearCode(std::string("DNP") + code + "X0A1DTF9")) << code;
    EXPECT_FALSE(CheckHalfYearCode("DNP"));
    EXPECT_FALSE(CheckHalfYearCode(""));
    EXPECT_FALSE(CheckHalfYearCode("DNP中"));
    EXPECT_TRUE(CheckHalfYearCode("中国人F"));
    EXPECT_TRUE(CheckHalfYearCode("DN\x80h"));
    EXPECT_FALSE(CheckHalfYearCode("DN\xE4\xB8H")); // the broken sequence is two characters
}

struct QueryCase {
    std::string_view Serial, PartNumber;
    QueryResult Expected;
};

void PrintTo(const QueryCase& c, std::ostream* os) {
    *os << '"' << c.Serial << "\", \"" << c.PartNumber << '"';
}

class Query12 : public testing::TestWithParam<QueryCase> {};

TEST_P(Query12, FillsEveryField) {
    const QueryResult result = SerialQuery12(GetParam().Serial, GetParam().PartNumber);
    EXPECT_EQ(result.DeviceModel, GetParam().Expected.DeviceModel);
    EXPECT_EQ(result.ProductionDate, GetParam().Expected.ProductionDate);
    EXPECT_EQ(result.SalesRegion, GetParam().Expected.SalesRegion);
    EXPECT_EQ(result.Carrier, GetParam().Expected.Carrier);
    EXPECT_EQ(result.Factory, GetParam().Expected.Factory);
    EXPECT_EQ(result.AfterSalesReplacement, GetParam().Expected.AfterSalesReplacement);
    // Nothing is remembered between queries.
    EXPECT_EQ(SerialQuery12(GetParam().Serial, GetParam().PartNumber), result);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, Query12,
    testing::Values(QueryCase{"DNPJ10A1DTDK",
                              "MD269LL",
                              {"iPhone 4S 64GB 黑色(GSM)", "2012年07月01日-07月07日", "美国", "AT&T",
                               "中国-成都富士康", "否(供参考)"}},
                    QueryCase{"F1xGHa1bDTF9",
                              "md239ch",
                              {"iPhone 4S 16GB 白色(GSM)", "2011年09月25日-10月01日", "中国", "中国联通/移动",
                               "中国-郑州富士康", "否(供参考)"}},
                    QueryCase{"C7GKY0A1XXXX",
                              "MD235ZP",
                              {"iPhone 4S 16GB 黑色(GSM)", "2013年", "香港 ", "-", "中国-富士康", "是"}},
                    QueryCase{"DQGL10A1XXXX", "MD999CH", {"", "", "", "", "中国-富士康", "是"}},
                    QueryCase{"", "", {"", "", "", "", "中国-富士康", "否(供参考)"}},
                    QueryCase{"c3kh", " MD297CH", {"", "2012年", "", "", "中国-富士康", "是"}},
                    // Broken and multi-byte characters take one place each, wherever they stand.
                    QueryCase{"中国人K1\x80\xFF",
                              "md235zp\xE4",
                              {"iPhone 4S 16GB 黑色(GSM)", "2013年01月01日-01月05日", "香港 ", "-",
                               "中国-富士康", "否(供参考)"}},
                    QueryCase{"\xE4\xB8"
                              "GJ3",
                              "MD128J\xE4",
                              {"", "2012年07月15日-07月21日", "", "", "中国-富士康", "否(供参考)"}}));

// The screen's flag colour and photo go with the query's own fields: red for exactly the units the
// flag calls "是", the photo of the model found, none without one.
TEST(DisplayQuery12, FlagsAndPhotoFollowTheFields) {
    const QueryDisplay12 replaced = DisplayQuery12("c7gKY0A1XXXX", "MD235ZP");
    EXPECT_EQ(replaced.Result, SerialQuery12("c7gKY0A1XXXX", "MD235ZP"));
    EXPECT_TRUE(replaced.FlagRed);
    EXPECT_EQ(replaced.Photo, ModelPhoto::BlackIPhone4);
    const QueryDisplay12 plain = DisplayQuery12("F1xGHa1bDTF9", "MD239CH");
    EXPECT_FALSE(plain.FlagRed);
    EXPECT_EQ(plain.Photo, ModelPhoto::WhiteIPhone4);
    const QueryDisplay12 unknown = DisplayQuery12("DQGL10A1XXXX", "MD999CH");
    EXPECT_TRUE(unknown.FlagRed);
    EXPECT_EQ(unknown.Photo, ModelPhoto::None);
}
