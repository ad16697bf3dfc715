#pragma once
// The lengths, in characters, that the query screens' boxes and gates go by, for every face
// (the desktop, the web page and the batch decoder) alike.
#include <cstddef>

namespace quenlio {

// A current serial: Form5's serial box holds at most this many, and the rest of the screen opens
// at exactly this many.
inline constexpr std::size_t Serial12Length = 12;

// An old serial, on Form3, in the same way.
inline constexpr std::size_t Serial11Length = 11;

// The part-number boxes hold at most this many: the catalogue's longest key.
inline constexpr std::size_t PartNumberLength = 7;

// The query waits for a part number of at least this many: the catalogue's shortest key.
inline constexpr std::size_t ShortestPartNumber = 6;

// The length of "yyyy-mm-dd": the activation look-up waits for a warranty date of this many.
inline constexpr std::size_t DateLength = 10;

} // namespace quenlio
