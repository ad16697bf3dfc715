#pragma once
#include <string>
#include <string_view>

namespace quenlio {

// The 12-character screen's half-year check: true when the serial's 4th character,
// upper-cased, is a half-year code of the calendar (F, G, H, J, K); false for any other, and
// for a serial shorter than four characters.
bool CheckHalfYearCode(std::string_view serial);

// The production week of a 12-character serial, from its 4th (half-year) and 5th
// (week) characters: year label followed by the week's range, e.g.
// "2012年07月01日-07月07日"; the year label alone for a week code the half-year does
// not list; the empty text for any other 4th character.
std::string DecodeProductionDate(std::string_view serial);

} // namespace quenlio
