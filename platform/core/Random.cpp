#include "platform/core/Random.h"

namespace platform {
namespace {

// SplitMix64: tiny, fast, and its sequence is fixed by its definition rather than by a library version.
std::uint64_t g_state = kDefaultRandomSeed;
std::uint64_t g_draws = 0;

std::uint64_t next64() {
    std::uint64_t z = (g_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

std::uint32_t arc4random() {
    ++g_draws;
    return static_cast<std::uint32_t>(next64() >> 32);
}

std::uint32_t arc4random_uniform(std::uint32_t upperBound) {
    if (upperBound < 2) return 0;
    // Rejects the low values that would make some results more likely than others.
    const std::uint32_t min = static_cast<std::uint32_t>(-upperBound) % upperBound;
    for (;;) {
        std::uint32_t r = arc4random();
        if (r >= min) return r % upperBound;
    }
}

void seedRandom(std::uint64_t seed) {
    g_state = seed;
    g_draws = 0;
}

std::uint64_t randomDrawCount() { return g_draws; }

}  // namespace platform
