#pragma once
// Character-level helpers shared by every rule. Texts are UTF-8; positions count
// Unicode characters, and each byte of a malformed sequence counts as one character.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace quenlio {

// Number of characters in `text`.
std::size_t CharCount(std::string_view text);

// The characters from position `first` (counted from 1) on, at most `count` of them.
// Positions beyond the end yield only the characters that exist, possibly none.
std::string_view CharSlice(std::string_view text, std::size_t first, std::size_t count);

// True when no byte of `text` is part of a malformed sequence.
bool IsWellFormedUtf8(std::string_view text);

// `text` with ASCII a-z turned into A-Z; every other byte is kept as it is.
std::string UpperAscii(std::string_view text);

// True for a display text of the tables as the batch decoder may write it: no comma, quote, CR or
// LF, and no blank in front. A blank at the end is allowed, as some regions keep one on purpose;
// the CSV writer quotes such a field.
constexpr bool IsPlainTableText(std::string_view text) {
    return text.find_first_of(",\"\r\n") == std::string_view::npos && !text.starts_with(' ') &&
           !text.starts_with('\t');
}

// True when every text that `textOf` picks from the rows is a plain table text.
template <typename Rows, typename TextOf> constexpr bool AllPlainTableTexts(const Rows& rows, TextOf textOf) {
    return std::all_of(std::begin(rows), std::end(rows),
                       [&](const auto& row) { return IsPlainTableText(textOf(row)); });
}

} // namespace quenlio
