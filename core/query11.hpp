#pragma once
// The old 11-character serial and the part-number suffix.
#include "core/query_result.hpp"

#include <string_view>

namespace quenlio {

// True when the serial passes (also when shorter than 5 characters): character 3 is
// one of 0 1 2 7 8 9, character 4 is not above "5", character 5 is a digit.
bool CheckOldSerial(std::string_view serial);

// Decodes an 11-character query. `shown` is what the result boxes show now: fields
// without a match keep it.
QueryResult SerialQuery11(std::string_view serial, std::string_view partNumber, const QueryResult& shown);

} // namespace quenlio
