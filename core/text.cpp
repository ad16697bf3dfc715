#include "core/text.hpp"

namespace quenlio {

namespace {

// Length in bytes of the character that starts at `pos`: a well-formed UTF-8 sequence
// counts whole, anything else (a stray continuation byte, a truncated or overlong
// sequence, a surrogate) counts one byte at a time.
std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 1;
    }
    if (pos + length > text.size())
        return 1;
    if (byte(pos + 1) < low || byte(pos + 1) > high)
        return 1;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF)
            return 1;
    return length;
}

} // namespace

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += CharLengthAt(text, pos))
        ++count;
    return count;
}

std::string_view CharSlice(std::string_view text, std::size_t first, std::size_t count) {
    if (first == 0 || count == 0)
        return {};
    std::size_t pos = 0;
    for (std::size_t skipped = 1; skipped < first && pos < text.size(); ++skipped)
        pos += CharLengthAt(text, pos);
    std::size_t end = pos;
    for (std::size_t taken = 0; taken < count && end < text.size(); ++taken)
        end += CharLengthAt(text, end);
    return text.substr(pos, end - pos);
}

bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = CharLengthAt(text, pos);
        if (length == 1 && static_cast<unsigned char>(text[pos]) >= 0x80)
            return false;
        pos += length;
    }
    return true;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return out;
}

} // namespace quenlio
