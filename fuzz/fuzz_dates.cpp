// The activation estimate and the refurbishment verdict, on arbitrary date texts.
#include "core/dates.hpp"
#include "core/text.hpp"
#include "fuzz/check.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <string>

using namespace quenlio;

namespace {

constexpr std::string_view Replacement = "您的机子属于苹果售后换机/官翻机，质量没什么问题";
constexpr std::string_view Prefix = "购买时间与激活时间相差";

bool IsVerdict(std::string_view text) {
    if (text == Replacement || text == "请重新核对您iPhone的实际激活时间！" ||
        text == "恭喜，购买时间与激活时间完全符合，全新！")
        return true;
    if (!text.starts_with(Prefix))
        return false;
    text.remove_prefix(Prefix.size());
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || text[0] == '0')
        return false;
    text.remove_prefix(digits);
    constexpr std::array<std::string_view, 7> endings{
        "天，新机！",         "天，您的iPhone是新机！", "天，问题不大", "天，可能不是全新，但翻新几率也不大",
        "天，有可能是翻新机", "天，翻新几率很大",       "天，翻新机！"};
    for (std::string_view ending : endings)
        if (text == ending)
            return true;
    return false;
}

bool IsDateText(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string serial = provider.ConsumeRandomLengthString(16);
    const std::string first = provider.ConsumeRandomLengthString(40);
    const std::string second = provider.ConsumeRemainingBytesAsString();

    if (const auto verdict = RefurbishmentVerdict(first, second, serial))
        FUZZ_CHECK(IsVerdict(*verdict));

    if (const auto estimate = EstimateActivationDate(first)) {
        FUZZ_CHECK(IsDateText(*estimate));
        // The estimate reads back, and lies exactly 364 days before the warranty end.
        const auto verdict = RefurbishmentVerdict(*estimate, first, "F2L");
        FUZZ_CHECK(verdict && *verdict == std::string(Prefix) + "364天，翻新机！");
        const auto same = RefurbishmentVerdict(*estimate, *estimate, "F2L");
        FUZZ_CHECK(same && *same == "恭喜，购买时间与激活时间完全符合，全新！");
        const auto replaced = RefurbishmentVerdict(*estimate, first, "dqg");
        FUZZ_CHECK(replaced && *replaced == Replacement);
    }
    return 0;
}
