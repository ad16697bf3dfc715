#include "tools/decode/batch.hpp"

#include "core/lengths.hpp"
#include "core/query11.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"

#include <algorithm>
#include <cstring>

namespace quenlio::batch {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}
bool IsSeparator(char c) {
    return c == ',' || c == '\t' || c == ' ';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TakeField(std::string_view& text) {
    const std::size_t end =
        static_cast<std::size_t>(std::find_if(text.begin(), text.end(), IsSeparator) - text.begin());
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end);
    return field;
}

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
}

bool IsEdgeBlank(char c) {
    return c == ' ' || c == '\t';
}

bool HasEdgeBlank(std::string_view field) {
    return !field.empty() && (IsEdgeBlank(field.front()) || IsEdgeBlank(field.back()));
}

// RFC 4180 asks for quotes around a comma, a quote and a line break; a blank at either end
// is quoted too, so that spreadsheets keep the trailing blanks of the texts.
bool NeedsQuotes(std::string_view field) {
    return std::any_of(field.begin(), field.end(),
                       [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; }) ||
           HasEdgeBlank(field);
}

// Excel, WPS and LibreOffice compute a field that begins with one of these, or with a tab or CR
// before one, as a formula (OWASP's list). One such character alone computes nothing; the
// tables' "-" for "no carrier" is one.
bool StartsLikeAFormula(std::string_view field) {
    if (field.size() < 2)
        return false;
    const char c = field.front();
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r';
}

} // namespace

std::optional<LineFields> ParseLine(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == '#')
        return std::nullopt;
    LineFields fields;
    fields.Serial = TakeField(line);
    SkipBlanks(line);
    if (!line.empty() && line.front() == ',') {
        line.remove_prefix(1);
        SkipBlanks(line);
    }
    fields.PartNumber = TakeField(line);
    return fields;
}

void DecodeFields(const LineFields& fields, Row& row) {
    row.Note = {};
    row.Result = {};
    // As the part-number box shows it: upper-case, at most seven characters.
    row.PartNumber = UpperAscii(CharSlice(fields.PartNumber, 1, PartNumberLength));
    const std::size_t length = CharCount(fields.Serial);
    if (length == Serial12Length) {
        row.Serial = NormalizeSerial(fields.Serial);
        if (!CheckHalfYearCode(row.Serial)) {
            row.Note = NoteBadSerial;
            return;
        }
        // The screen fills the part number in from the serial when it knows it.
        if (row.PartNumber.empty())
            if (const std::optional<std::string_view> autofill = AutofillPartNumber(row.Serial))
                row.PartNumber = *autofill;
        row.Result = SerialQuery12(row.Serial, row.PartNumber);
    } else if (length == Serial11Length) {
        row.Serial = UpperAscii(fields.Serial);
        if (!CheckOldSerial(row.Serial)) {
            row.Note = NoteBadSerial;
            return;
        }
        row.Result = SerialQuery11(row.Serial, row.PartNumber, QueryResult{});
    } else {
        row.Serial = fields.Serial;
        row.Note = NoteBadLength;
    }
}

void AppendCsvField(std::string& out, std::string_view field) {
    const bool formula = StartsLikeAFormula(field);
    const bool quoted = formula || NeedsQuotes(field);
    if (!quoted && IsWellFormedUtf8(field)) { // nearly every field
        out += field;
        return;
    }
    if (quoted)
        out += '"';
    if (formula)
        out += '\'';
    // Bytes are copied as they stand a run at a time, up to a quote, which is doubled, or a byte
    // that starts no well-formed character, which becomes U+FFFD.
    std::size_t run = 0;
    while (run < field.size()) {
        const unsigned char byte = static_cast<unsigned char>(field[run]);
        const std::size_t length = CharLengthAt(field, run);
        if (byte != '"' && (byte < 0x80 || length > 1)) {
            run += length;
            continue;
        }
        out.append(field.substr(0, run));
        out += byte == '"' ? std::string_view("\"\"") : Replacement;
        field.remove_prefix(run + 1);
        run = 0;
    }
    out.append(field);
    if (quoted)
        out += '"';
}

void AppendCsvRow(std::string& out, const Row& row) {
    AppendCsvField(out, row.Serial);
    out += ',';
    AppendCsvField(out, row.PartNumber);
    const QueryResult& r = row.Result;
    for (const std::string* text : {&r.DeviceModel, &r.ProductionDate, &r.SalesRegion, &r.Carrier, &r.Factory,
                                    &r.AfterSalesReplacement}) {
        out += ',';
        AppendCsvField(out, *text);
    }
    out += ',';
    AppendCsvField(out, row.Note);
    out += "\r\n";
}

Decoder::Decoder(Sink& sink, bool withBom, std::size_t blockBytes) : m_sink(sink), m_blockBytes(blockBytes) {
    m_pending.reserve(MaxLineBytes);
    m_out.reserve(blockBytes + 8 * MaxLineBytes); // a block and one more row, the longest there is
    if (withBom)
        m_out += Utf8Bom;
    m_out += CsvHeader;
}

void Decoder::BeginInput() {
    m_atInputStart = true;
    m_bomProbe.clear();
    m_pending.clear();
}

void Decoder::Feed(std::string_view bytes) {
    if (m_atInputStart) {
        // A BOM may arrive split over several reads: hold its bytes until it is
        // complete or cannot be one.
        while (!bytes.empty() && m_bomProbe.size() < Utf8Bom.size() &&
               bytes.front() == Utf8Bom[m_bomProbe.size()]) {
            m_bomProbe.push_back(bytes.front());
            bytes.remove_prefix(1);
        }
        if (m_bomProbe.size() == Utf8Bom.size()) {
            m_bomProbe.clear();
            m_atInputStart = false;
        } else if (bytes.empty()) {
            return;
        } else {
            m_atInputStart = false;
            const std::string probe = std::move(m_bomProbe);
            m_bomProbe.clear();
            FeedLines(probe);
        }
    }
    FeedLines(bytes);
}

void Decoder::FeedLines(std::string_view bytes) {
    while (!bytes.empty()) {
        const void* found = std::memchr(bytes.data(), '\n', bytes.size());
        if (found == nullptr) {
            m_pending.append(bytes.substr(0, MaxLineBytes - m_pending.size()));
            return;
        }
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        const std::string_view segment = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        if (m_pending.empty()) {
            TakeLine(segment.substr(0, MaxLineBytes));
        } else {
            m_pending.append(segment.substr(0, MaxLineBytes - m_pending.size()));
            TakeLine(m_pending);
            m_pending.clear();
        }
    }
}

void Decoder::EndInput() {
    if (m_atInputStart && !m_bomProbe.empty()) {
        const std::string probe = std::move(m_bomProbe);
        m_bomProbe.clear();
        FeedLines(probe);
    }
    m_atInputStart = false;
    if (!m_pending.empty()) {
        TakeLine(m_pending);
        m_pending.clear();
    }
}

void Decoder::Flush() {
    if (!m_out.empty())
        m_sink.Write(m_out);
    m_out.clear(); // keeps its memory for the next block
}

void Decoder::TakeLine(std::string_view line) {
    const std::optional<LineFields> fields = ParseLine(line);
    if (!fields)
        return;
    DecodeFields(*fields, m_row);
    ++m_rows;
    if (!m_row.Note.empty())
        ++m_rowsWithNotes;
    AppendCsvRow(m_out, m_row);
    if (m_out.size() >= m_blockBytes)
        Flush();
}

} // namespace quenlio::batch
