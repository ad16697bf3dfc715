// The streaming decoder copies the tables' texts without scanning them; its output must be
// what the general writer gives for the same rows, quotes and blanks included.
#include "core/catalogue.hpp"
#include "tools/decode/batch.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenlio::batch {
namespace {

class Collect : public Decoder::Sink {
public:
    void Write(std::string_view block) override { Text.append(block); }
    std::string Text;
};

// What the general writer gives for the lines, one row after another through one kept row.
std::string Expected(const std::vector<std::string>& lines) {
    std::string csv(CsvHeader);
    Row row;
    for (const std::string& line : lines) {
        if (const std::optional<LineFields> fields = ParseLine(line)) {
            DecodeFields(*fields, row);
            AppendCsvRow(csv, row);
        }
    }
    return csv;
}

std::string Streamed(const std::vector<std::string>& lines, std::size_t blockBytes) {
    Collect sink;
    Decoder decoder(sink, false, blockBytes);
    decoder.BeginInput();
    for (const std::string& line : lines)
        decoder.Feed(line + "\n");
    decoder.EndInput();
    decoder.Flush();
    return sink.Text;
}

TEST(StreamedTableTexts, MatchTheGeneralWriterForEveryCatalogueEntry) {
    // Every key, after serials of every kind: replacement and plain prefixes, all half-years, a
    // quote inside, an 11-character one, a bad one and one with a multi-byte character.
    const std::vector<std::string> serials{"C7GJ1XABCDEF",  "dnpk2xabcdef", "F1QF9XABCDEF", "DNPHY\"ABCDEF",
                                           "DNPGCXAB中DEF", "DNPZ1XABCDEF", "9C7123456AB",  "SHORT"};
    std::vector<std::string> lines;
    std::size_t i = 0;
    for (const CatalogueEntry& entry : PartNumberCatalogue())
        lines.push_back(serials[i++ % serials.size()] + "," + std::string(entry.Key));
    lines.push_back("DNPJ1XABDTF9"); // no part number: filled in from the serial
    lines.push_back("DNPJ1XABCDEF,MD235ZP");
    const std::string expected = Expected(lines);
    // Blocks small and large, so rows are also written right after a hand-over.
    for (std::size_t blockBytes : {std::size_t{64}, std::size_t{4096}, Decoder::DefaultBlockBytes})
        EXPECT_EQ(Streamed(lines, blockBytes), expected) << blockBytes;
    // The trailing blank of some regions is kept inside quotes.
    EXPECT_NE(expected.find(",\"香港 \","), std::string::npos);
}

} // namespace
} // namespace quenlio::batch
