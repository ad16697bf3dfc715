// The batch decoder on arbitrary input bytes, fed in arbitrary pieces.
#include "fuzz/check.hpp"
#include "tools/decode/batch.hpp"
#include "tests/decode/csv_reader.hpp"

#include <cstdint>
#include <string>

using namespace quenlio;
using batch::Decoder;

namespace {

class StringSink : public Decoder::Sink {
public:
    void Write(std::string_view block) override { Text.append(block); }
    std::string Text;
};

struct Run {
    std::string Output;
    std::size_t Rows = 0, WithNotes = 0;
};

// Decodes `input` as two files split at `split`, fed in pieces of `piece` bytes.
Run Decode(std::string_view input, std::size_t split, std::size_t piece) {
    StringSink sink;
    Decoder decoder(sink, false, 64); // small blocks, so handing them on is exercised too
    for (std::string_view file : {input.substr(0, split), input.substr(split)}) {
        decoder.BeginInput();
        for (std::size_t at = 0; at < file.size(); at += piece)
            decoder.Feed(file.substr(at, piece));
        decoder.EndInput();
    }
    decoder.Flush();
    return {sink.Text, decoder.Rows(), decoder.RowsWithNotes()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t piece = 1 + data[0] % 16;
    const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t split = input.empty() ? 0 : data[1] % (input.size() + 1);

    const Run whole = Decode(input, split, input.size() + 1);
    const Run pieces = Decode(input, split, piece);
    FUZZ_CHECK(pieces.Output == whole.Output);
    FUZZ_CHECK(pieces.Rows == whole.Rows && pieces.WithNotes == whole.WithNotes);
    FUZZ_CHECK(whole.WithNotes <= whole.Rows);

    // Well-formed UTF-8 CSV: the header and one record of nine fields per data line.
    FUZZ_CHECK(fuzz::IsWellFormed(whole.Output));
    const auto records = batch::ReadCsv(whole.Output);
    FUZZ_CHECK(records.has_value());
    FUZZ_CHECK(records->size() == whole.Rows + 1);
    std::size_t notes = 0;
    for (const auto& record : *records) {
        FUZZ_CHECK(record.size() == 9);
        if (!record[8].empty())
            ++notes;
    }
    FUZZ_CHECK(notes == whole.WithNotes + 1); // the header's last field is "备注"

    // Each data line is decoded on its own, so the lines are counted alike line by line.
    std::size_t dataLines = 0;
    for (std::string_view file : {input.substr(0, split), input.substr(split)}) {
        if (file.starts_with(batch::Utf8Bom))
            file.remove_prefix(batch::Utf8Bom.size());
        while (!file.empty()) {
            const std::size_t end = std::min(file.find('\n'), file.size());
            if (batch::ParseLine(file.substr(0, std::min(end, batch::MaxLineBytes))))
                ++dataLines;
            file.remove_prefix(std::min(end + 1, file.size()));
        }
    }
    FUZZ_CHECK(dataLines == whole.Rows);
    return 0;
}
