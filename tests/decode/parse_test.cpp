#include "tools/decode/batch.hpp"
#include "tests/decode/csv_reader.hpp"

#include <gtest/gtest.h>

#include <random>

namespace quenlio::batch {
namespace {

struct ParseCase {
    const char* Name;
    std::string_view Line;
    bool IsData;
    std::string_view Serial, PartNumber;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << c.Name;
}

class ParseLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLineTest, SplitsSerialAndPartNumber) {
    const ParseCase& c = GetParam();
    const std::optional<LineFields> fields = ParseLine(c.Line);
    ASSERT_EQ(fields.has_value(), c.IsData);
    if (fields) {
        EXPECT_EQ(fields->Serial, c.Serial);
        EXPECT_EQ(fields->PartNumber, c.PartNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseLineTest,
    ::testing::Values(ParseCase{"Comma", "DNPH7ABCXYZ0,MD239CH", true, "DNPH7ABCXYZ0", "MD239CH"},
                      ParseCase{"Tab", "DNPH7ABCXYZ0\tMD239CH", true, "DNPH7ABCXYZ0", "MD239CH"},
                      ParseCase{"Blank", "DNPH7ABCXYZ0 MD239CH", true, "DNPH7ABCXYZ0", "MD239CH"},
                      ParseCase{"BlanksAround", "  DNPH7ABCXYZ0 ,\t MD239CH  \r", true, "DNPH7ABCXYZ0",
                                "MD239CH"},
                      ParseCase{"TwoTabs", "DNPH7ABCXYZ0\t\tMD239CH", true, "DNPH7ABCXYZ0", "MD239CH"},
                      ParseCase{"NoPartNumber", "DNPH7ABCXYZ0", true, "DNPH7ABCXYZ0", ""},
                      ParseCase{"TrailingComma", "DNPH7ABCXYZ0,\r", true, "DNPH7ABCXYZ0", ""},
                      ParseCase{"NoSerial", ",MD239CH", true, "", "MD239CH"},
                      ParseCase{"EmptyMiddleField", "DNPH7ABCXYZ0,,MD239CH", true, "DNPH7ABCXYZ0", ""},
                      ParseCase{"ExtraFieldsIgnored", "A B,C", true, "A", "B"},
                      ParseCase{"HashInsideField", "A#B,C", true, "A#B", "C"},
                      ParseCase{"CarriageReturnInsideField", "A\rB,C", true, "A\rB", "C"},
                      ParseCase{"Empty", "", false, "", ""}, ParseCase{"OnlyBlanks", " \t \r", false, "", ""},
                      ParseCase{"Comment", "# serial,part", false, "", ""},
                      ParseCase{"IndentedComment", "   #x,y", false, "", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

struct QuoteCase {
    const char* Name;
    std::string_view Field, Written;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const QuoteCase& c, std::ostream* out) {
    *out << c.Name;
}

class CsvFieldTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
    // Appended after what the buffer already holds.
    std::string out = "x";
    AppendCsvField(out, GetParam().Field);
    std::string expected = "x";
    expected += GetParam().Written;
    EXPECT_EQ(out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFieldTest,
    ::testing::Values(QuoteCase{"Plain", "MD239CH", "MD239CH"}, QuoteCase{"Empty", "", ""},
                      QuoteCase{"Chinese", "中国-富士康", "中国-富士康"},
                      QuoteCase{"Comma", "a,b", "\"a,b\""},
                      QuoteCase{"Quote", "say \"hi\"", "\"say \"\"hi\"\"\""},
                      QuoteCase{"CrLf", "a\r\nb", "\"a\r\nb\""}, QuoteCase{"LoneCr", "a\rb", "\"a\rb\""},
                      QuoteCase{"TrailingBlank", "香港 ", "\"香港 \""},
                      QuoteCase{"LeadingBlank", " x", "\" x\""}, QuoteCase{"InnerBlank", "a b", "a b"},
                      QuoteCase{"BadByte", "\xFF", "\xEF\xBF\xBD"},
                      QuoteCase{"TruncatedSequence", "a\xE4\xB8", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
                      QuoteCase{"BadByteQuoted", "\xC0,", "\"\xEF\xBF\xBD,\""}, QuoteCase{"EmDash", "—", "—"},
                      // What a spreadsheet would compute is written as text; a sign alone computes nothing.
                      QuoteCase{"Formula", "=1+1", "\"'=1+1\""}, QuoteCase{"Plus", "+86", "\"'+86\""},
                      QuoteCase{"Minus", "-2+3", "\"'-2+3\""}, QuoteCase{"At", "@SUM(A1)", "\"'@SUM(A1)\""},
                      QuoteCase{"TabFirst", "\t=1", "\"'\t=1\""}, QuoteCase{"CrFirst", "\r=1", "\"'\r=1\""},
                      QuoteCase{"FormulaWithQuote", "=\"a\"", "\"'=\"\"a\"\"\""},
                      QuoteCase{"FormulaBadByte", "=\xFF", "\"'=\xEF\xBF\xBD\""},
                      QuoteCase{"LoneDash", "-", "-"}, QuoteCase{"LoneEquals", "=", "="},
                      QuoteCase{"SignInside", "1=1", "1=1"}, QuoteCase{"FullWidthEquals", "＝1", "＝1"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CsvFieldTest, FindsAByteThatMattersAtAnyPlace) {
    for (std::size_t length = 1; length <= 20; ++length) {
        const std::string plain(length, 'x');
        std::string out;
        AppendCsvField(out, plain);
        EXPECT_EQ(out, plain);
        for (std::size_t at = 0; at < length; ++at) {
            for (const char special : {',', '"', '\r', '\n', '\xFF'}) {
                std::string field = plain;
                field[at] = special;
                // The byte as written: a replacement character, a doubled quote, or itself.
                const std::string written = special == '\xFF' ? "\xEF\xBF\xBD"
                                            : special == '"'  ? "\"\""
                                                              : std::string(1, special);
                std::string expected = plain.substr(0, at) + written + plain.substr(at + 1);
                if (special == '\r' && at == 0 && length > 1)
                    expected = '\'' + expected; // a CR first may hide a formula
                if (special != '\xFF')
                    expected = '"' + expected + '"';
                out.clear();
                AppendCsvField(out, field);
                EXPECT_EQ(out, expected) << "length " << length << ", at " << at;
            }
        }
    }
}

class StringSink : public Decoder::Sink {
public:
    void Write(std::string_view block) override { Text.append(block); }
    std::string Text;
};

// Feeds `inputs` (one string per input file) in pieces of the given sizes, cycling.
std::string DecodeAll(const std::vector<std::string>& inputs, bool withBom = false,
                      std::vector<std::size_t> pieces = {1 << 20}) {
    StringSink sink;
    Decoder decoder(sink, withBom);
    std::size_t next = 0;
    for (const std::string& input : inputs) {
        decoder.BeginInput();
        std::string_view rest = input;
        while (!rest.empty()) {
            const std::size_t size = std::min(rest.size(), pieces[next++ % pieces.size()]);
            decoder.Feed(rest.substr(0, size));
            rest.remove_prefix(size);
        }
        decoder.EndInput();
    }
    decoder.Flush();
    return sink.Text;
}

std::vector<CsvRecord> Records(const std::string& csv) {
    const auto records = ReadCsv(csv);
    EXPECT_TRUE(records.has_value()) << csv;
    return records.value_or(std::vector<CsvRecord>{});
}

TEST(DecoderTest, EmptyInputGivesTheHeaderAlone) {
    EXPECT_EQ(DecodeAll({""}), CsvHeader);
    EXPECT_EQ(DecodeAll({}), CsvHeader);
    EXPECT_EQ(DecodeAll({""}, true), std::string(Utf8Bom) + std::string(CsvHeader));
}

TEST(DecoderTest, SkipsBomBlankAndCommentLinesAndReadsCrLf) {
    const std::string input = "\xEF\xBB\xBF# resellers' list\r\n"
                              "\r\n"
                              "DNPH7ABCXYZ0,MD239CH\r\n"
                              "   \r\n"
                              "F1XK1ABCXYZW MD128J\r\n";
    const auto records = Records(DecodeAll({input}));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].size(), 9u);
    EXPECT_EQ(records[1][0], "DNPH7ABCXYZ0");
    EXPECT_EQ(records[1][1], "MD239CH");
    EXPECT_EQ(records[2][0], "F1XK1ABCXYZW");
    EXPECT_EQ(records[2][1], "MD128J");
    EXPECT_EQ(records[2][2], "iPhone 4 8GB 黑色(GSM)");
}

TEST(DecoderTest, BomIsStrippedAtTheStartOfEveryInputOnly) {
    const std::string bom(Utf8Bom);
    const auto records =
        Records(DecodeAll({bom + "DNPH7ABCXYZ0\n" + bom + "DNPH7ABCXYZ0\n", bom + "DNPH7ABCXYZ0"}));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1][8], "");
    // Inside a file the mark is an odd character of the serial, which then has 13.
    EXPECT_EQ(records[2][8], NoteBadLength);
    EXPECT_EQ(records[3][0], "DNPH7ABCXYZ0");
    EXPECT_EQ(records[3][8], "");
}

TEST(DecoderTest, PartialBomAtEndOfInputIsALine) {
    const auto records = Records(DecodeAll({"\xEF\xBB"}));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1][0], "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(records[1][8], NoteBadLength);
}

TEST(DecoderTest, LastLineWithoutLineEndIsDecoded) {
    const auto records = Records(DecodeAll({"DNPH7ABCXYZ0,MD239CH\nF1XK1ABCXYZW,MD128J"}));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2][1], "MD128J");
}

TEST(DecoderTest, OverlongLineIsCutAndTheNextLineReadNormally) {
    const std::string input = std::string(3 * MaxLineBytes, 'A') + ",MD239CH\nDNPH7ABCXYZ0,MD239CH\n";
    const auto records = Records(DecodeAll({input}, false, {1000}));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1][0], std::string(MaxLineBytes, 'A'));
    EXPECT_EQ(records[1][1], "");
    EXPECT_EQ(records[1][8], NoteBadLength);
    EXPECT_EQ(records[2][2], "iPhone 4S 16GB 白色(GSM)");
}

TEST(DecoderTest, OutputDoesNotDependOnHowTheInputIsSplit) {
    const std::string input = std::string(Utf8Bom) + "# list\r\n dnph7abcxyzo , md239ch \r\n\n" +
                              std::string(MaxLineBytes + 17, 'Z') + "\n5k923abc8m9\tmb496ll\r\n" +
                              "中文PH7ABCXYZ0,\"MD\"\n\xE4\xB8,x\nF1XJYABCDTDK";
    const std::string whole = DecodeAll({input, input});
    std::mt19937 random(20121215);
    for (int round = 0; round < 50; ++round) {
        std::vector<std::size_t> pieces;
        for (int i = 0; i < 7; ++i)
            pieces.push_back(1 + random() % 40);
        ASSERT_EQ(DecodeAll({input, input}, false, pieces), whole) << "round " << round;
    }
    EXPECT_EQ(DecodeAll({input, input}, false, {1}), whole);
}

TEST(DecoderTest, CountsRowsAndRowsWithNotes) {
    StringSink sink;
    Decoder decoder(sink, false);
    decoder.BeginInput();
    decoder.Feed("# c\nDNPH7ABCXYZ0,MD239CH\nSHORT\nDNPL7ABCXYZ0,MD239CH\n\n5K923ABC8M9,MB496LL\n");
    decoder.EndInput();
    EXPECT_EQ(decoder.Rows(), 4u);
    EXPECT_EQ(decoder.RowsWithNotes(), 2u);
}

TEST(DecoderTest, LargeInputIsHandedOnInBlocks) {
    struct CountingSink : Decoder::Sink {
        void Write(std::string_view block) override {
            ++Blocks;
            Largest = std::max(Largest, block.size());
        }
        std::size_t Blocks = 0, Largest = 0;
    } sink;
    Decoder decoder(sink, false);
    decoder.BeginInput();
    const std::string line = "DNPH7ABCXYZ0,MD239CH\n";
    for (int i = 0; i < 40000; ++i)
        decoder.Feed(line);
    decoder.EndInput();
    decoder.Flush();
    EXPECT_GT(sink.Blocks, 1u);
    EXPECT_LT(sink.Largest, std::size_t{2} << 20);
}

} // namespace
} // namespace quenlio::batch
