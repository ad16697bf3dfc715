#pragma once
// Character-level helpers shared by every rule. Texts are UTF-8; positions count
// Unicode characters, and each byte of a malformed sequence counts as one character.
#include <cstddef>
#include <string>
#include <string_view>

namespace quenlio {

// Length in bytes of the character that starts at byte `pos` (before the end): a well-formed
// UTF-8 sequence counts whole, anything else (a stray continuation byte, a truncated or overlong
// sequence, a surrogate) counts one byte at a time. In the header so that the loops over every
// byte of a text, here and in the batch decoder, inline it.
constexpr std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(pos);
    if (lead < 0xC2 || lead > 0xF4) // ASCII, a continuation byte or a byte that starts nothing
        return 1;
    const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    // The second byte's range is narrower after E0 and F0 (no overlong forms), ED (no surrogates)
    // and F4 (nothing past U+10FFFF).
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (pos + length > text.size() || byte(pos + 1) < low || byte(pos + 1) > high)
        return 1;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 1;
    return length;
}

// Number of characters in `text`.
std::size_t CharCount(std::string_view text);

// The characters from position `first` (counted from 1) on, at most `count` of them.
// Positions beyond the end yield only the characters that exist, possibly none.
std::string_view CharSlice(std::string_view text, std::size_t first, std::size_t count);

// True when no byte of `text` is part of a malformed sequence.
constexpr bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = CharLengthAt(text, pos);
        if (length == 1 && static_cast<unsigned char>(text[pos]) >= 0x80)
            return false;
        pos += length;
    }
    return true;
}

// `c` turned into A-Z when it is ASCII a-z; every other byte is kept as it is.
constexpr char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// `text` with ASCII a-z turned into A-Z; every other byte is kept as it is.
std::string UpperAscii(std::string_view text);

} // namespace quenlio
