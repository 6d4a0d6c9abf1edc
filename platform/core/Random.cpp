#include "platform/core/Random.h"

#include <charconv>
#include <cstdlib>
#include <random>
#include <string>

#include <unistd.h>

namespace platform {
namespace {

struct Generator {
    std::uint64_t state = 0;
    std::uint64_t draws = 0;
    // The process the sequence belongs to; 0 before the first draw. A fork copies the generator, so a child sees
    // its parent's id here and knows it has not started its own sequence yet.
    pid_t owner = 0;
    std::optional<std::uint64_t> fixedSeed;
};

Generator g;

std::uint64_t entropy() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

void start(std::uint64_t seed, std::optional<std::uint64_t> fixed) {
    g.state = seed;
    g.draws = 0;
    g.owner = ::getpid();
    g.fixedSeed = fixed;
}

void ensureStarted() {
    if (g.owner == ::getpid()) return;
    // A forked child of a process with a fixed seed keeps following it, as the reproducible run wants.
    if (g.owner != 0 && g.fixedSeed) {
        g.owner = ::getpid();
        return;
    }
    const char* text = std::getenv(std::string(kRandomSeedVariable).c_str());
    if (auto seed = text ? parseRandomSeed(text) : std::nullopt) start(*seed, seed);
    else start(entropy(), std::nullopt);
}

// SplitMix64: tiny, fast, and its sequence is fixed by its definition rather than by a library version.
std::uint64_t next64() {
    ensureStarted();
    std::uint64_t z = (g.state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

std::uint32_t arc4random() {
    const std::uint64_t z = next64();
    ++g.draws;
    return static_cast<std::uint32_t>(z >> 32);
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

void seedRandom(std::uint64_t seed) { start(seed, seed); }

void unfixRandomSeed() { g = Generator{}; }

std::optional<std::uint64_t> fixedRandomSeed() { return g.owner == ::getpid() ? g.fixedSeed : std::nullopt; }

std::uint64_t randomDrawCount() { return g.owner == ::getpid() ? g.draws : 0; }

std::optional<std::uint64_t> parseRandomSeed(std::string_view text) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return seed;
}

}  // namespace platform
