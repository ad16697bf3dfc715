#pragma once
#include <string_view>

namespace quenlio {

// The production week of a 12-character serial, from its 4th (half-year) and 5th
// (week) characters: year label followed by the week's range, e.g.
// "2012年07月01日-07月07日"; the year label alone for a week code the half-year does
// not list; the empty text for any other 4th character. The text is a view of the
// calendar, built once for all: it stays valid for the whole run.
std::string_view DecodeProductionDate(std::string_view serial);

} // namespace quenlio
