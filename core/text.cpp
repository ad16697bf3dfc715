#include "core/text.hpp"

#include <algorithm>

namespace quenlio {

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

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return UpperAscii(c); });
    return out;
}

} // namespace quenlio
