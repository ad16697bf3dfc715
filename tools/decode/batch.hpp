#pragma once
// The batch decoder behind quenlio-decode: splits input lines into a serial and a part
// number, decodes them as the two query screens do, and writes one CSV row per line.
#include "core/query_result.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quenlio::batch {

// Longest line read whole; the rest of a longer line is dropped. No serial or part
// number comes near it, so only garbage lines are cut.
inline constexpr std::size_t MaxLineBytes = 4096;

inline constexpr std::string_view NoteBadLength = "序列号长度应为11或12位";
inline constexpr std::string_view NoteBadSerial = "序列号有误";

inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Every output line ends in CRLF, as RFC 4180 asks.
inline constexpr std::string_view CsvHeader =
    "序列号,型号,设备型号,出厂时间,销售地,运营商,产地,是否售后换机,备注\r\n";

// The two fields of a data line, as they stand in the line.
struct LineFields {
    std::string_view Serial;
    std::string_view PartNumber; // empty when the line has none
};

// Splits one line (without its LF; a CR before it is allowed) into its fields. The
// serial runs to the first comma, tab or blank; the part number is the next field, after
// blanks and at most one comma; anything after it is ignored. None for a blank line or
// a comment ("#" after optional blanks).
std::optional<LineFields> ParseLine(std::string_view line);

// One decoded line, as written to the CSV.
struct Row {
    std::string Serial;     // normalised as the screen shows it; as given for other lengths
    std::string PartNumber; // upper-cased, cut to seven characters
    QueryResult Result;     // all empty when the row carries a note
    std::string_view Note;  // empty when decoded
};

// Decodes the fields into `row`, every field overwritten. A 12-character serial goes through
// the 12-character query (an empty part number is filled in from the serial where the
// screen would), an 11-character one through the old-format query from an empty result.
void DecodeFields(const LineFields& fields, Row& row);

// Appends a field, quoted when it holds a comma, a quote, CR or LF, or starts or ends
// with a blank (so spreadsheets keep the trailing blanks of the texts). A field of more than
// one character that begins with "=", "+", "-", "@", a tab or CR gets an apostrophe in front,
// inside quotes, so that a spreadsheet shows it as text instead of computing it as a formula;
// a lone "-" (the texts' "no carrier") stays as it is. Malformed UTF-8 bytes are written as
// U+FFFD so the output is always valid UTF-8. Every field of the output, header aside, is
// written by this one function.
void AppendCsvField(std::string& out, std::string_view field);

// Appends the nine fields of the row and CRLF.
void AppendCsvRow(std::string& out, const Row& row);

// Streams input through the decoder: bytes go in as they are read, CSV comes out
// through the sink in large blocks. Memory stays the same whatever the input size.
class Decoder {
public:
    // Receives output blocks; the view is valid only during the call.
    class Sink {
    public:
        virtual ~Sink() = default;
        virtual void Write(std::string_view block) = 0;
    };

    // Output is handed to the sink in blocks of about this size.
    static constexpr std::size_t DefaultBlockBytes = std::size_t{1} << 20;

    // Buffers the optional BOM and the header line.
    Decoder(Sink& sink, bool withBom, std::size_t blockBytes = DefaultBlockBytes);

    // A new input (a file or standard input) starts: its first bytes may be a BOM.
    void BeginInput();
    void Feed(std::string_view bytes);
    // Decodes a last line that has no line end.
    void EndInput();
    // Hands everything still buffered to the sink.
    void Flush();

    std::size_t Rows() const { return m_rows; }
    std::size_t RowsWithNotes() const { return m_rowsWithNotes; }

private:
    void FeedLines(std::string_view bytes);
    void TakeLine(std::string_view line);

    Sink& m_sink;
    std::size_t m_blockBytes;
    std::string m_out;      // CSV not yet handed to the sink
    std::string m_pending;  // the start of a line whose end has not arrived yet
    std::string m_bomProbe; // the first bytes of an input while they may still be a BOM
    bool m_atInputStart = true;
    Row m_row;
    std::size_t m_rows = 0;
    std::size_t m_rowsWithNotes = 0;
};

} // namespace quenlio::batch
