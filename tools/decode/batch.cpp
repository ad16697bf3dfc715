#include "tools/decode/batch.hpp"

#include "core/query11.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"

#include <array>
#include <cstring>

namespace quenlio::batch {

namespace {

// A row is at most a few times MaxLineBytes (every byte of the serial replaced by
// U+FFFD), so a buffer this much larger than a block never grows.
constexpr std::size_t RowReserve = 8 * MaxLineBytes;

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
    std::size_t end = 0;
    while (end < text.size() && !IsSeparator(text[end]))
        ++end;
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end);
    return field;
}

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void ClearResult(QueryResult& result) {
    result.DeviceModel.clear();
    result.ProductionDate.clear();
    result.SalesRegion.clear();
    result.Carrier.clear();
    result.Factory.clear();
    result.AfterSalesReplacement.clear();
}

// What a byte asks of the CSV writer: quoting (comma, quote, CR, LF) or a UTF-8 check.
enum ByteClass : unsigned char { Plain = 0, NeedsQuotes = 1, NotAscii = 2 };

constexpr std::array<unsigned char, 256> ByteClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (std::size_t c = 0x80; c < 0x100; ++c)
        classes[c] = NotAscii;
    for (const char c : {',', '"', '\r', '\n'})
        classes[static_cast<unsigned char>(c)] = NeedsQuotes;
    return classes;
}();

// Appends `text` inside quotes or not, doubling quotes; with `checkUtf8`, each byte that
// is not part of a well-formed character becomes U+FFFD.
void AppendField(std::string& out, std::string_view text, bool checkUtf8) {
    unsigned classes = Plain;
    for (const char c : text)
        classes |= ByteClasses[static_cast<unsigned char>(c)];
    const bool quote =
        (classes & NeedsQuotes) != 0 || (!text.empty() && (text.front() == ' ' || text.front() == '\t' ||
                                                           text.back() == ' ' || text.back() == '\t'));
    checkUtf8 = checkUtf8 && (classes & NotAscii) != 0;
    if (!quote && !checkUtf8) {
        out.append(text);
        return;
    }
    if (quote)
        out.push_back('"');
    while (!text.empty()) {
        const unsigned char lead = static_cast<unsigned char>(text.front());
        if (lead < 0x80 || !checkUtf8) {
            if (lead == '"')
                out.push_back('"');
            out.push_back(static_cast<char>(lead));
            text.remove_prefix(1);
            continue;
        }
        // The core's character reader takes a well-formed sequence whole and anything
        // else one byte at a time, so a lone byte of 0x80 and above is malformed.
        const std::string_view character = CharSlice(text, 1, 1);
        out.append(character.size() == 1 ? Replacement : character);
        text.remove_prefix(character.size());
    }
    if (quote)
        out.push_back('"');
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
    // As the part-number box shows it: upper-case, at most seven characters.
    row.PartNumber = UpperAscii(CharSlice(fields.PartNumber, 1, PartNumberChars));
    const std::size_t length = CharCount(fields.Serial);
    if (length == 12) {
        row.Serial = NormalizeSerial(fields.Serial);
        if (!CheckHalfYearCode(row.Serial)) {
            row.Note = NoteBadSerial;
        } else {
            // The screen fills the part number in from the serial when it knows it.
            if (row.PartNumber.empty())
                if (const std::optional<std::string_view> autofill = AutofillPartNumber(row.Serial))
                    row.PartNumber = *autofill;
            row.Result = SerialQuery12(row.Serial, row.PartNumber);
            return;
        }
    } else if (length == 11) {
        row.Serial = UpperAscii(fields.Serial);
        if (!CheckOldSerial(row.Serial)) {
            row.Note = NoteBadSerial;
        } else {
            static const QueryResult nothingShown;
            row.Result = SerialQuery11(row.Serial, row.PartNumber, nothingShown);
            return;
        }
    } else {
        row.Serial = fields.Serial;
        row.Note = NoteBadLength;
    }
    ClearResult(row.Result);
}

void AppendCsvField(std::string& out, std::string_view field) {
    AppendField(out, field, true);
}

void AppendCsvRow(std::string& out, const Row& row) {
    AppendField(out, row.Serial, true);
    out.push_back(',');
    AppendField(out, row.PartNumber, true);
    // The decoded texts come from the tables, apart from pieces of the serial; with an
    // ASCII serial they are well-formed and need no check.
    const bool check = !IsAscii(row.Serial);
    const QueryResult& result = row.Result;
    for (const std::string* text : {&result.DeviceModel, &result.ProductionDate, &result.SalesRegion,
                                    &result.Carrier, &result.Factory, &result.AfterSalesReplacement}) {
        out.push_back(',');
        AppendField(out, *text, check);
    }
    out.push_back(',');
    AppendField(out, row.Note, false);
    out.append("\r\n");
}

Decoder::Decoder(Sink& sink, bool withBom, std::size_t blockBytes) : m_sink(sink), m_blockBytes(blockBytes) {
    m_out.reserve(m_blockBytes + RowReserve);
    m_pending.reserve(MaxLineBytes);
    if (withBom)
        m_out.append(Utf8Bom);
    m_out.append(CsvHeader);
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
    m_out.clear();
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
