#pragma once
// The 12-character serial: normalising, the automatic part number, the half-year
// check and the query that ties the decoding steps together.
#include "core/checks.hpp"
#include "core/query_result.hpp"
#include "core/week_calendar.hpp" // CheckHalfYearCode: the calendar knows the half-year codes

#include <optional>
#include <string>
#include <string_view>

namespace quenlio {

// `text` with ASCII a-z upper-cased, then every "O" turned into the digit "0".
// Every other byte is kept, so the character count never changes.
std::string NormalizeSerial(std::string_view text);

// The part number that the serial's last four characters stand for (eight model
// codes of the autofill table), or none for every other serial.
std::optional<std::string_view> AutofillPartNumber(std::string_view serial);

// Decodes a serial and a part number into every field of the result, starting from
// empty fields: production week, catalogue texts, factory and replacement flag.
QueryResult SerialQuery12(std::string_view serial, std::string_view partNumber);

// What the 12-character screen shows for a query: the fields, the flag in red or not, the photo.
struct QueryDisplay12 {
    QueryResult Result;
    bool FlagRed = false;                // exactly for a replacement unit, the unit "是" names
    ModelPhoto Photo = ModelPhoto::None; // chosen by the model text the query found
};

// SerialQuery12 with the flag's colour and the handset photo that go with it.
QueryDisplay12 DisplayQuery12(std::string_view serial, std::string_view partNumber);

} // namespace quenlio
