#pragma once

// The stand-in for arc4random: a deterministic generator, so that tests can predict "random" colours and check
// that a redraw draws anew. Every process starts from the same seed.

#include <cstdint>

namespace platform {

// The next 32-bit draw.
std::uint32_t arc4random();
// A draw below `upperBound` without modulo bias; 0 when `upperBound` is 0 or 1.
std::uint32_t arc4random_uniform(std::uint32_t upperBound);
// Restarts the sequence; the same seed gives the same draws.
void seedRandom(std::uint64_t seed);
// Draws since the last seed.
std::uint64_t randomDrawCount();

constexpr std::uint64_t kDefaultRandomSeed = 0x56616e74696c65ULL;

}  // namespace platform
