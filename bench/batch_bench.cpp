// Throughput of the batch decoder without any reading or writing: lines in, CSV out.
#include "tools/decode/batch.hpp"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

using quenlio::batch::Decoder;

class NullSink : public Decoder::Sink {
public:
    void Write(std::string_view block) override { benchmark::DoNotOptimize(block.data()); }
};

std::string SampleLines(std::size_t count) {
    std::mt19937 random(7);
    const char* parts[] = {"MD239CH", "MD235ZP", "MD297CH", "ME039LL",
                           "MD128J",  "MC918LL", "MD269LL", "md644ll"};
    const char* starts[] = {"DNP", "F1Q", "C7G", "C8P", "F2L"};
    const std::string_view weeks = "123456789CDFGHJKLMNPQRTVWXY";
    std::string lines;
    for (std::size_t i = 0; i < count; ++i) {
        lines += starts[random() % 5];
        lines += "FGHJK"[random() % 5];
        lines += weeks[random() % weeks.size()];
        lines += "ABCXYZW,";
        lines += parts[random() % 8];
        lines += '\n';
    }
    return lines;
}

void BM_DecoderRows(benchmark::State& state) {
    constexpr std::size_t Lines = 10000;
    const std::string input = SampleLines(Lines);
    NullSink sink;
    Decoder decoder(sink, false);
    for (auto _ : state) {
        decoder.BeginInput();
        decoder.Feed(input);
        decoder.EndInput();
    }
    decoder.Flush();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * Lines));
}
BENCHMARK(BM_DecoderRows);

} // namespace
