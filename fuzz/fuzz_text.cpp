// The character helpers and the serial normaliser on arbitrary bytes.
#include "core/query12.hpp"
#include "core/text.hpp"
#include "fuzz/check.hpp"

#include <cstdint>
#include <string>

using namespace quenlio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t count = CharCount(text);
    FUZZ_CHECK(count <= text.size());
    FUZZ_CHECK((count == 0) == text.empty());

    // Cutting the text anywhere by characters and joining the pieces gives it back.
    const std::size_t cut = size == 0 ? 1 : 1 + data[0] % (count + 2);
    const std::string_view head = CharSlice(text, 1, cut - 1);
    const std::string_view tail = CharSlice(text, cut, count + 1);
    FUZZ_CHECK(std::string(head) + std::string(tail) == text);
    FUZZ_CHECK(CharCount(head) == std::min(cut - 1, count));
    FUZZ_CHECK(CharCount(head) + CharCount(tail) == count);
    FUZZ_CHECK(CharSlice(text, 0, 5).empty() && CharSlice(text, 1, 0).empty());
    FUZZ_CHECK(CharSlice(text, count + 1, 3).empty());

    const std::string upper = UpperAscii(text);
    FUZZ_CHECK(upper.size() == text.size());
    const std::string normal = NormalizeSerial(text);
    FUZZ_CHECK(normal.size() == text.size());
    FUZZ_CHECK(CharCount(normal) == count);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        FUZZ_CHECK(!(upper[i] >= 'a' && upper[i] <= 'z'));
        FUZZ_CHECK(normal[i] != 'O' && !(normal[i] >= 'a' && normal[i] <= 'z'));
        // Only ASCII letters change.
        if (!((c >= 'a' && c <= 'z') || c == 'O'))
            FUZZ_CHECK(normal[i] == c);
    }
    FUZZ_CHECK(NormalizeSerial(normal) == normal);
    return 0;
}
