#pragma once
// A strict RFC 4180 reader for checking what quenlio-decode writes: records end in
// CRLF, quotes appear only around a whole field and are doubled inside it. The tests and the
// fuzzer read the output with it; the program itself reads no CSV.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlio::batch {

using CsvRecord = std::vector<std::string>;

// The records of `text`, or none when it is not well-formed CSV.
inline std::optional<std::vector<CsvRecord>> ReadCsv(std::string_view text) {
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    while (pos < text.size()) {
        CsvRecord record;
        for (;;) {
            std::string field;
            if (pos < text.size() && text[pos] == '"') {
                ++pos;
                for (;;) {
                    if (pos >= text.size())
                        return std::nullopt; // unterminated quote
                    if (text[pos] == '"') {
                        if (pos + 1 < text.size() && text[pos + 1] == '"') {
                            field.push_back('"');
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    field.push_back(text[pos++]);
                }
            } else {
                while (pos < text.size() && text[pos] != ',' && text[pos] != '\r' && text[pos] != '\n') {
                    if (text[pos] == '"')
                        return std::nullopt; // a quote inside an unquoted field
                    field.push_back(text[pos++]);
                }
            }
            record.push_back(std::move(field));
            if (pos < text.size() && text[pos] == ',') {
                ++pos;
                continue;
            }
            if (text.substr(pos, 2) != "\r\n")
                return std::nullopt; // every record ends in CRLF, the last one too
            pos += 2;
            break;
        }
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace quenlio::batch
