// Timings of the core rules on varied, realistic inputs (so no branch is always taken).
#include "core/core.hpp"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace quenlio;

constexpr std::size_t InputCount = 4096; // a power of two, so the index wraps with a mask

std::string Pick(std::mt19937& random, std::string_view alphabet, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text.push_back(alphabet[random() % alphabet.size()]);
    return text;
}

struct Inputs {
    std::vector<std::string> Serials12, Serials11, PartNumbers, Activations, Purchases;

    Inputs() {
        std::mt19937 random(20121215);
        const std::vector<std::string_view> starts{"DNP", "F1Q", "C7G", "C3K", "DQG", "C8P", "F2L", "DX3"};
        const auto catalogue = PartNumberCatalogue();
        for (std::size_t i = 0; i < InputCount; ++i) {
            Serials12.push_back(std::string(starts[random() % starts.size()]) + Pick(random, "FGHJK", 1) +
                                Pick(random, "123456789CDFGHJKLMNPQRTVWXY", 1) +
                                Pick(random, "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ", 6));
            Serials11.push_back(Pick(random, "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ", 2) +
                                Pick(random, "0127893", 1) + Pick(random, "012345", 1) +
                                Pick(random, "0123456789", 1) +
                                Pick(random, "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ", 6));
            // Mostly known part numbers, some lower-case, one in eight unknown.
            std::string part(catalogue[random() % catalogue.size()].Key);
            if (random() % 4 == 0)
                for (char& c : part)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (random() % 8 == 0)
                part = "MD" + Pick(random, "0123456789", 3) + "ZZ";
            PartNumbers.push_back(part);
            const int year = 2011 + static_cast<int>(random() % 3);
            const int month = 1 + static_cast<int>(random() % 12), day = 1 + static_cast<int>(random() % 28);
            char text[16];
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
            Activations.emplace_back(text);
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", year + static_cast<int>(random() % 2),
                          1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28));
            Purchases.emplace_back(text);
        }
    }
};

const Inputs& TheInputs() {
    static const Inputs inputs;
    return inputs;
}

void BM_SerialQuery12(benchmark::State& state) {
    const Inputs& in = TheInputs();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SerialQuery12(in.Serials12[i], in.PartNumbers[i]));
        i = (i + 1) & (InputCount - 1);
    }
}
BENCHMARK(BM_SerialQuery12);

void BM_SerialQuery11(benchmark::State& state) {
    const Inputs& in = TheInputs();
    const QueryResult shown;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SerialQuery11(in.Serials11[i], in.PartNumbers[i], shown));
        i = (i + 1) & (InputCount - 1);
    }
}
BENCHMARK(BM_SerialQuery11);

void BM_LookupPartNumber(benchmark::State& state) {
    const Inputs& in = TheInputs();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LookupPartNumber(in.PartNumbers[i]));
        i = (i + 1) & (InputCount - 1);
    }
}
BENCHMARK(BM_LookupPartNumber);

void BM_DecodeProductionDate(benchmark::State& state) {
    const Inputs& in = TheInputs();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeProductionDate(in.Serials12[i]));
        i = (i + 1) & (InputCount - 1);
    }
}
BENCHMARK(BM_DecodeProductionDate);

void BM_RefurbishmentVerdict(benchmark::State& state) {
    const Inputs& in = TheInputs();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RefurbishmentVerdict(in.Activations[i], in.Purchases[i], in.Serials12[i]));
        i = (i + 1) & (InputCount - 1);
    }
}
BENCHMARK(BM_RefurbishmentVerdict);

void BM_NormalizeSerial(benchmark::State& state) {
    const Inputs& in = TheInputs();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NormalizeSerial(in.Serials12[i]));
        i = (i + 1) & (InputCount - 1);
    }
}
BENCHMARK(BM_NormalizeSerial);

} // namespace
