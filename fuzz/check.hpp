#pragma once
// Invariant checks for the fuzz targets: a broken one aborts, which libFuzzer reports as a
// crash and saves the input that caused it.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/text.hpp"

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace quenlio::fuzz {

// True when `text` has no byte of 0x80 and above outside a well-formed UTF-8 character,
// judged by the core's own character reader.
inline bool IsWellFormed(std::string_view text) {
    while (!text.empty()) {
        const std::string_view character = quenlio::CharSlice(text, 1, 1);
        if (character.size() == 1 && static_cast<unsigned char>(character.front()) >= 0x80)
            return false;
        text.remove_prefix(character.size());
    }
    return true;
}

} // namespace quenlio::fuzz
