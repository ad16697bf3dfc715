#include "core/catalogue.hpp"
#include "tools/decode/batch.hpp"
#include "tests/decode/csv_reader.hpp"

#include <gtest/gtest.h>

#include <array>

namespace quenlio::batch {
namespace {

struct RowCase {
    const char* Name;
    std::string_view Line;
    std::array<std::string_view, 9> Fields; // as written to the CSV
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RowCase& c, std::ostream* out) {
    *out << c.Name;
}

class DecodeRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(DecodeRowTest, WritesTheScreensTexts) {
    const RowCase& c = GetParam();
    const std::optional<LineFields> fields = ParseLine(c.Line);
    ASSERT_TRUE(fields);
    Row row;
    row.Result.DeviceModel = "left from the row before";
    DecodeFields(*fields, row);
    std::string csv;
    AppendCsvRow(csv, row);
    const auto records = ReadCsv(csv);
    ASSERT_TRUE(records) << csv;
    ASSERT_EQ(records->size(), 1u);
    const CsvRecord& record = records->front();
    ASSERT_EQ(record.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(record[i], c.Fields[i]) << "column " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecodeRowTest,
    ::testing::Values(
        RowCase{"LowerCaseAndLetterO",
                "dnph7abcxyzo,md239ch",
                {"DNPH7ABCXYZ0", "MD239CH", "iPhone 4S 16GB 白色(GSM)", "2012年02月12日-02月18日", "中国",
                 "中国联通/移动", "中国-成都富士康", "否(供参考)", ""}},
        RowCase{"ReplacementWithTrailingBlankRegion",
                "C7GGHABC1234,MD235ZP",
                {"C7GGHABC1234", "MD235ZP", "iPhone 4S 16GB 黑色(GSM)", "2011年09月25日-10月01日", "香港 ",
                 "-", "中国-富士康", "是", ""}},
        RowCase{"AutofilledPartNumber",
                "F1XJYABCDTDK",
                {"F1XJYABCDTDK", "MD269LL", "iPhone 4S 64GB 黑色(GSM)", "2012年12月30日-12月31日", "美国",
                 "AT&T", "中国-郑州富士康", "否(供参考)", ""}},
        RowCase{"GivenPartNumberWinsOverAutofill",
                "F1XJYABCDTDK,MD239CH",
                {"F1XJYABCDTDK", "MD239CH", "iPhone 4S 16GB 白色(GSM)", "2012年12月30日-12月31日", "中国",
                 "中国联通/移动", "中国-郑州富士康", "否(供参考)", ""}},
        RowCase{"PartNumberCutToSeven",
                "F1XK1ABCXYZW,md128jxyz",
                {"F1XK1ABCXYZW", "MD128JX", "", "2013年01月01日-01月05日", "", "", "中国-郑州富士康",
                 "否(供参考)", ""}},
        RowCase{"UnknownWeekGivesTheYear",
                "DQGKYABCXYZW,MD236LL",
                {"DQGKYABCXYZW", "MD236LL", "iPhone 4S 16GB 黑色(CDMA)", "2013年", "美国", "—", "中国-富士康",
                 "是", ""}},
        RowCase{"ChineseCharactersCountOne",
                "中文PH7ABCXYZ0 MD297TA",
                {"中文PH7ABCXYZ0", "MD297TA", "iPhone 5 16GB 黑色", "2012年02月12日-02月18日", "台湾", "-",
                 "中国-富士康", "否(供参考)", ""}},
        RowCase{"WrongHalfYearCode",
                "DNPL7ABCXYZ0,md239ch",
                {"DNPL7ABCXYZ0", "MD239CH", "", "", "", "", "", "", "序列号有误"}},
        RowCase{"TenCharacters",
                "ABCDEFGHIJ,MD239CH",
                {"ABCDEFGHIJ", "MD239CH", "", "", "", "", "", "", "序列号长度应为11或12位"}},
        RowCase{"ThirteenCharactersKeptAsGiven",
                "dnph7abcxyzo1,MD239CH",
                {"dnph7abcxyzo1", "MD239CH", "", "", "", "", "", "", "序列号长度应为11或12位"}},
        RowCase{"NoSerial", ",MD239CH", {"", "MD239CH", "", "", "", "", "", "", "序列号长度应为11或12位"}},
        RowCase{"OldFormat",
                "5k923abc8m9,mb496ll",
                {"5K923ABC8M9", "MB496LL", "iPhone 3GS 32GB 黑色", "2009年第23周", "美国", "AT&T", "中国",
                 "是", ""}},
        RowCase{"OldFormatWithoutModelHasNoFactory",
                "12005ABCEOO\tMC603J",
                {"12005ABCEOO", "MC603J", "", "2010年第05周", "日本", "-", "", "否", ""}},
        RowCase{"OldFormatFailsItsCheck",
                "12605ABC8M9,MB496LL",
                {"12605ABC8M9", "MB496LL", "", "", "", "", "", "", "序列号有误"}},
        RowCase{"MalformedBytesShownAsReplacement",
                "\xFF\xFEPH7ABCXYZ0,MD2\xC0",
                {"\xEF\xBF\xBD\xEF\xBF\xBDPH7ABCXYZ0", "MD2\xEF\xBF\xBD", "", "2012年02月12日-02月18日", "",
                 "", "中国-富士康", "否(供参考)", ""}}),
    [](const auto& info) { return std::string(info.param.Name); });

// Serial beginnings with the factory and replacement flag they stand for.
struct SerialStart {
    std::string_view Prefix, Factory, Replacement;
};
constexpr std::array<SerialStart, 8> Starts{{
    {"DNP", "中国-成都富士康", "否(供参考)"},
    {"F1Q", "中国-郑州富士康", "否(供参考)"},
    {"C7G", "中国-富士康", "是"},
    {"c3k", "中国-富士康", "是"},
    {"DQG", "中国-富士康", "是"},
    {"DYJ", "中国-富士康", "是"},
    {"CCP", "中国-富士康", "是"},
    {"F2X", "中国-富士康", "否(供参考)"},
}};

// The first week of each half-year, with its code.
struct FirstWeek {
    char HalfYear;
    std::string_view Date;
};
constexpr std::array<FirstWeek, 5> FirstWeeks{{
    {'F', "2011年01月01日-01月01日"},
    {'G', "2011年07月01日-07月02日"},
    {'H', "2012年01月01日-01月07日"},
    {'J', "2012年07月01日-07月07日"},
    {'K', "2013年01月01日-01月05日"},
}};

TEST(RoundTripTest, EveryCatalogueKeyDecodesToItsTexts) {
    const auto catalogue = PartNumberCatalogue();
    ASSERT_EQ(catalogue.size(), 375u);
    std::string input;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const SerialStart& start = Starts[i % Starts.size()];
        const FirstWeek& week = FirstWeeks[i % FirstWeeks.size()];
        input += std::string(start.Prefix) + week.HalfYear + "1ABC" + "XYZW" + (i % 2 ? "," : "\t") +
                 std::string(catalogue[i].Key) + "\n";
    }
    struct StringSink : Decoder::Sink {
        void Write(std::string_view block) override { Text.append(block); }
        std::string Text;
    } sink;
    Decoder decoder(sink, false);
    decoder.BeginInput();
    decoder.Feed(input);
    decoder.EndInput();
    decoder.Flush();
    EXPECT_EQ(decoder.RowsWithNotes(), 0u);

    const auto records = ReadCsv(sink.Text);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), catalogue.size() + 1);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const CsvRecord& record = (*records)[i + 1];
        const CatalogueEntry& entry = catalogue[i];
        ASSERT_EQ(record.size(), 9u);
        SCOPED_TRACE(std::string(entry.Key));
        EXPECT_EQ(record[1], entry.Key);
        EXPECT_EQ(record[2], entry.DeviceModel);
        EXPECT_EQ(record[3], FirstWeeks[i % FirstWeeks.size()].Date);
        EXPECT_EQ(record[4], entry.SalesRegion);
        EXPECT_EQ(record[5], entry.Carrier);
        EXPECT_EQ(record[6], Starts[i % Starts.size()].Factory);
        EXPECT_EQ(record[7], Starts[i % Starts.size()].Replacement);
        EXPECT_EQ(record[8], "");
    }
}

} // namespace
} // namespace quenlio::batch
