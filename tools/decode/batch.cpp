#include "tools/decode/batch.hpp"

#include "core/catalogue.hpp"
#include "core/query11.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"
#include "core/week_calendar.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace quenlio::batch {

namespace {

// A row is at most a few times MaxLineBytes (every byte of the serial replaced by
// U+FFFD), so a buffer this much larger than a block never grows.
constexpr std::size_t RowReserve = 8 * MaxLineBytes;

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

// Letters and digits lie above every blank and separator, so one comparison settles
// nearly every byte of a field.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ' && (c == ' ' || c == '\t' || c == '\r');
}
bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ',' && (c == ',' || c == '\t' || c == ' ');
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
    // Skip eight bytes at a time while all lie between "-" and DEL, above every separator.
    for (; end + 8 <= text.size(); end += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + end, sizeof word);
        constexpr std::uint64_t highBits = 0x8080808080808080u,
                                aboveComma = 0x5353535353535353u; // 0x80 - '-'
        const std::uint64_t atOrBelowComma = ~((word + aboveComma) & ~word) & highBits;
        if (atOrBelowComma != 0) {
            // The lowest flagged byte is the first that may end the field; bytes before it cannot.
            end += static_cast<std::size_t>(__builtin_ctzll(atOrBelowComma)) / 8;
            break;
        }
    }
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

// What a field asks of the CSV writer.
enum FieldClass : unsigned { Plain = 0, NeedsQuotes = 1, NotAscii = 2 };

constexpr std::uint64_t EachByte = 0x0101010101010101u;
constexpr std::uint64_t HighBits = 0x8080808080808080u;

// Nonzero when one of the eight bytes of `word` equals `byte`.
constexpr std::uint64_t HasByte(std::uint64_t word, unsigned char byte) {
    const std::uint64_t x = word ^ (EachByte * byte);
    return (x - EachByte) & ~x & HighBits;
}

template <typename Word> Word Load(const char* p) {
    Word word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Copies `n` bytes as two fixed-size pieces that overlap, for the short texts of a row: a
// call to memcpy costs more than the copy itself. Reads and writes only the n bytes. Forced
// inline, as is Classify: each row calls both nine times, and the calls showed in profiles.
[[gnu::always_inline]] inline char* CopyShort(char* out, const char* from, std::size_t n) {
    const auto pair = [&](auto piece) {
        std::memcpy(&piece, from, sizeof piece);
        std::memcpy(out, &piece, sizeof piece);
        std::memcpy(&piece, from + n - sizeof piece, sizeof piece);
        std::memcpy(out + n - sizeof piece, &piece, sizeof piece);
    };
    struct Sixteen {
        std::uint64_t Low, High;
    };
    if (n > 32)
        std::memcpy(out, from, n);
    else if (n >= 16)
        pair(Sixteen{});
    else if (n >= 8)
        pair(std::uint64_t{});
    else if (n >= 4)
        pair(std::uint32_t{});
    else if (n > 0) {
        out[0] = from[0];
        out[n / 2] = from[n / 2];
        out[n - 1] = from[n - 1];
    }
    return out + n;
}

// Eight bytes at a time; a tail is read as words that overlap bytes already seen, which
// changes nothing for a test of "any byte". Every field passes through here, so it is
// the writer's hot loop.
[[gnu::always_inline]] inline unsigned Classify(std::string_view text) {
    const char* p = text.data();
    const std::size_t n = text.size();
    std::uint64_t special = 0, high = 0;
    const auto take = [&](std::uint64_t word) {
        high |= word;
        special |= HasByte(word, ',') | HasByte(word, '"') | HasByte(word, '\r') | HasByte(word, '\n');
    };
    if (n >= 8) {
        for (std::size_t at = 0; at + 8 <= n; at += 8)
            take(Load<std::uint64_t>(p + at));
        if (n % 8 != 0)
            take(Load<std::uint64_t>(p + n - 8));
    } else if (n >= 4) {
        // Zero bytes in the padding are none of the bytes looked for.
        take(Load<std::uint32_t>(p) | std::uint64_t{Load<std::uint32_t>(p + n - 4)} << 32);
    } else if (n > 0) {
        const auto byte = [&](std::size_t i) {
            return std::uint64_t{static_cast<unsigned char>(p[i])};
        };
        take(byte(0) | byte(n / 2) << 8 | byte(n - 1) << 16);
    }
    return (special != 0 ? NeedsQuotes : Plain) | ((high & HighBits) != 0 ? NotAscii : Plain);
}

bool HasBlankAtAnEnd(std::string_view text) {
    return !text.empty() &&
           (text.front() == ' ' || text.front() == '\t' || text.back() == ' ' || text.back() == '\t');
}

bool IsAscii(std::string_view text) {
    return (Classify(text) & NotAscii) == 0;
}

void ClearResult(QueryResult& result) {
    result.DeviceModel.clear();
    result.ProductionDate.clear();
    result.SalesRegion.clear();
    result.Carrier.clear();
    result.Factory.clear();
    result.AfterSalesReplacement.clear();
}

// The most bytes WriteField writes for `text`: each byte may become U+FFFD, plus quotes.
constexpr std::size_t FieldBound(std::string_view text) {
    return 3 * text.size() + 2;
}

// Writes `text` at `out`, inside quotes when it needs them, doubling quotes; with
// `checkUtf8`, each byte that is not part of a well-formed character becomes U+FFFD.
// Returns the end of what was written.
char* WriteField(char* out, std::string_view text, bool checkUtf8) {
    const unsigned classes = Classify(text);
    const bool quote = (classes & NeedsQuotes) != 0 || HasBlankAtAnEnd(text);
    checkUtf8 = checkUtf8 && (classes & NotAscii) != 0;
    if (!quote && !checkUtf8) {
        return CopyShort(out, text.data(), text.size());
    }
    if (quote)
        *out++ = '"';
    while (!text.empty()) {
        const unsigned char lead = static_cast<unsigned char>(text.front());
        if (lead < 0x80 || !checkUtf8) {
            if (lead == '"')
                *out++ = '"';
            *out++ = static_cast<char>(lead);
            text.remove_prefix(1);
            continue;
        }
        // The core's character reader takes a well-formed sequence whole and anything
        // else one byte at a time, so a lone byte of 0x80 and above is malformed.
        const std::string_view character = CharSlice(text, 1, 1);
        const std::string_view written = character.size() == 1 ? Replacement : character;
        std::memcpy(out, written.data(), written.size());
        out += written.size();
        text.remove_prefix(character.size());
    }
    if (quote)
        *out++ = '"';
    return out;
}

// Every text the 12-character query can give: the catalogue's, each half-year's dates,
// the factories and the replacement flags.
std::vector<std::string> TableTexts() {
    std::vector<std::string> texts;
    for (const CatalogueEntry& entry : PartNumberCatalogue())
        for (std::string_view text : {entry.DeviceModel, entry.SalesRegion, entry.Carrier})
            texts.emplace_back(text);
    for (char half : std::string_view("FGHJK"))
        for (char week : std::string_view("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
            texts.emplace_back(ProductionDateText(std::string("DNP") + half + week));
    for (std::string_view serial : {"DNPJ1", "F1QJ1", "C7GJ1", "XXXJ1"}) {
        const QueryResult result = SerialQuery12(serial, "");
        texts.push_back(result.Factory);
        texts.push_back(result.AfterSalesReplacement);
    }
    return texts;
}

// True when no table text holds a comma, a quote, CR or LF: then such a text needs quotes
// only for a blank at either end, and its bytes need not be scanned. Found once per run.
bool TableTextsHoldNoSpecialBytes() {
    static const bool none = [] {
        for (const std::string& text : TableTexts())
            if ((Classify(text) & NeedsQuotes) != 0)
                return false;
        return true;
    }();
    return none;
}

// A text from the tables: well-formed UTF-8 without special bytes, quoted only for its blanks.
char* WriteTableText(char* out, std::string_view text) {
    const bool quote = HasBlankAtAnEnd(text);
    if (quote)
        *out++ = '"';
    out = CopyShort(out, text.data(), text.size());
    if (quote)
        *out++ = '"';
    return out;
}

std::size_t RowBound(const Row& row) {
    const QueryResult& r = row.Result;
    return FieldBound(row.Serial) + FieldBound(row.PartNumber) + FieldBound(r.DeviceModel) +
           FieldBound(r.ProductionDate) + FieldBound(r.SalesRegion) + FieldBound(r.Carrier) +
           FieldBound(r.Factory) + FieldBound(r.AfterSalesReplacement) + FieldBound(row.Note) + 8 + 2;
}

// Writes the nine fields, commas and CRLF; `out` has room for RowBound(row) bytes. With
// `trustTables`, texts the row marks as the tables' own are copied without a scan.
char* WriteRow(char* out, const Row& row, bool trustTables) {
    out = WriteField(out, row.Serial, true);
    *out++ = ',';
    out = WriteField(out, row.PartNumber, true);
    const QueryResult& r = row.Result;
    const std::array<const std::string*, 6> texts{
        &r.DeviceModel, &r.ProductionDate, &r.SalesRegion, &r.Carrier, &r.Factory, &r.AfterSalesReplacement};
    if (trustTables && row.TextsFromTables && TableTextsHoldNoSpecialBytes()) {
        for (const std::string* text : texts) {
            *out++ = ',';
            out = WriteTableText(out, *text);
        }
    } else {
        // The decoded texts come from the tables, apart from pieces of the serial; with an
        // ASCII serial they are well-formed and need no check.
        const bool check = !IsAscii(row.Serial);
        for (const std::string* text : texts) {
            *out++ = ',';
            out = WriteField(out, *text, check);
        }
    }
    *out++ = ',';
    out = WriteField(out, row.Note, false);
    *out++ = '\r';
    *out++ = '\n';
    return out;
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
    row.TextsFromTables = false;
    // As the part-number box shows it: upper-case, at most seven characters.
    // (A field of at most seven bytes has at most seven characters: no need to count.)
    const std::string_view part = fields.PartNumber.size() <= PartNumberChars
                                      ? fields.PartNumber
                                      : CharSlice(fields.PartNumber, 1, PartNumberChars);
    row.PartNumber.assign(part); // in place: the row's buffers are kept from line to line
    for (char& c : row.PartNumber)
        c = UpperAsciiByte(c);
    const std::size_t length = CharCount(fields.Serial);
    if (length == 12) {
        NormalizeSerial(fields.Serial, row.Serial);
        if (!CheckHalfYearCode(row.Serial)) {
            row.Note = NoteBadSerial;
        } else {
            // The screen fills the part number in from the serial when it knows it.
            if (row.PartNumber.empty())
                if (const std::optional<std::string_view> autofill = AutofillPartNumber(row.Serial))
                    row.PartNumber = *autofill;
            SerialQuery12(row.Serial, row.PartNumber, row.Result); // reuses the row's buffers
            row.TextsFromTables = true;
            return;
        }
    } else if (length == 11) {
        row.Serial.assign(fields.Serial);
        for (char& c : row.Serial)
            c = UpperAsciiByte(c);
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
    const std::size_t used = out.size();
    out.resize(used + FieldBound(field));
    out.resize(static_cast<std::size_t>(WriteField(out.data() + used, field, true) - out.data()));
}

void AppendCsvRow(std::string& out, const Row& row) {
    const std::size_t used = out.size();
    out.resize(used + RowBound(row));
    out.resize(static_cast<std::size_t>(WriteRow(out.data() + used, row, false) - out.data()));
}

Decoder::Decoder(Sink& sink, bool withBom, std::size_t blockBytes)
    : m_sink(sink), m_blockBytes(blockBytes), m_capacity(blockBytes + RowReserve),
      m_out(new char[m_capacity]) {
    m_pending.reserve(MaxLineBytes);
    if (withBom)
        Put(Utf8Bom);
    Put(CsvHeader);
}

void Decoder::Put(std::string_view text) {
    std::memcpy(m_out.get() + m_used, text.data(), text.size());
    m_used += text.size();
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
    if (m_used > 0)
        m_sink.Write(std::string_view(m_out.get(), m_used));
    m_used = 0;
}

void Decoder::TakeLine(std::string_view line) {
    const std::optional<LineFields> fields = ParseLine(line);
    if (!fields)
        return;
    DecodeFields(*fields, m_row);
    ++m_rows;
    if (!m_row.Note.empty())
        ++m_rowsWithNotes;
    const std::size_t bound = RowBound(m_row);
    if (m_used + bound > m_capacity)
        Flush();
    if (bound > m_capacity) { // cannot happen with lines cut at MaxLineBytes; kept safe anyway
        m_capacity = bound;
        m_out.reset(new char[m_capacity]);
    }
    m_used = static_cast<std::size_t>(WriteRow(m_out.get() + m_used, m_row, true) - m_out.get());
    if (m_used >= m_blockBytes)
        Flush();
}

} // namespace quenlio::batch
