// The picker's generated images and its text codec. The square is measured beside a 256 KB memset in the same run:
// the square writes the same number of bytes, so the ratio shows what its arithmetic costs over plain stores.

#include "prefs/cells/ChromaCodec.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kSquareBytes = 256 * 256 * 4;

void MemsetSquareSizedBuffer(benchmark::State& state) {
    // Heap-allocated and freed per iteration like the square's buffer, so both pay for the allocation.
    for (auto _ : state) {
        void* buffer = std::malloc(kSquareBytes);
        std::memset(buffer, static_cast<int>(state.iterations() & 0xFF), kSquareBytes);
        benchmark::DoNotOptimize(buffer);
        benchmark::ClobberMemory();
        std::free(buffer);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSquareBytes));
}
BENCHMARK(MemsetSquareSizedBuffer);

void SaturationBrightnessSquare(benchmark::State& state) {
    float hue = 0;
    for (auto _ : state) {
        CGImageRef image = chroma::createSaturationBrightnessSquareContentImageWithHue(hue);
        benchmark::DoNotOptimize(image);
        CGImageRelease(image);
        hue = hue >= 359 ? 0 : hue + 1;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSquareBytes));
}
BENCHMARK(SaturationBrightnessSquare);

void HueBar(benchmark::State& state) {
    for (auto _ : state) {
        CGImageRef image = chroma::createContentImage();
        benchmark::DoNotOptimize(image);
        CGImageRelease(image);
    }
}
BENCHMARK(HueBar);

std::vector<std::string> sampleStrings() {
    std::mt19937 random(7);
    std::vector<std::string> strings;
    const char* digits = "0123456789ABCDEFabcdef";
    for (int i = 0; i < 1024; ++i) {
        std::string s = (i % 4 == 0) ? "#" : "";
        int length = (i % 3 == 0) ? 6 : 8;
        for (int k = 0; k < length; ++k) s += digits[random() % 22];
        strings.push_back(s);
    }
    return strings;
}

void ColorFromHexString(benchmark::State& state) {
    const auto strings = sampleStrings();
    std::size_t i = 0;
    for (auto _ : state) {
        auto color = chroma::colorFromHexString(strings[i++ & 1023]);
        benchmark::DoNotOptimize(color);
    }
}
BENCHMARK(ColorFromHexString);

void StringFromColor(benchmark::State& state) {
    std::vector<Ref<UIColor>> colors;
    for (const auto& s : sampleStrings()) colors.push_back(chroma::colorFromHexString(s));
    std::size_t i = 0;
    for (auto _ : state) {
        auto text = chroma::stringFromColor(colors[i++ & 1023]);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(StringFromColor);

}  // namespace

BENCHMARK_MAIN();
