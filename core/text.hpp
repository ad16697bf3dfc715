#pragma once
// Character-level helpers shared by every rule. Texts are UTF-8; positions count
// Unicode characters, and each byte of a malformed sequence counts as one character.
#include <cstddef>
#include <string>
#include <string_view>

namespace quenlio {

// Number of characters in `text`.
std::size_t CharCount(std::string_view text);

// The characters from position `first` (counted from 1) on, at most `count` of them.
// Positions beyond the end yield only the characters that exist, possibly none.
std::string_view CharSlice(std::string_view text, std::size_t first, std::size_t count);

// `text` with ASCII a-z turned into A-Z; every other byte is kept as it is.
std::string UpperAscii(std::string_view text);

// One byte upper-cased as UpperAscii does it, for comparing a few bytes in place.
constexpr char UpperAsciiByte(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace quenlio
