#pragma once

// The stand-in for arc4random. As on the phone, every process draws its own sequence: the first draw of a process
// (a forked child included) starts from fresh entropy, so colours drawn at random differ after every respring.
// For reproducible runs the seed can be fixed, by seedRandom() in the process or, for every process started
// afterwards, by the environment variable VANTILE_RANDOM_SEED (a decimal or 0x-prefixed number); a fixed seed
// gives the same draws in every process that starts from it, and a forked child continues its parent's sequence.

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// The next 32-bit draw.
std::uint32_t arc4random();
// A draw below `upperBound` without modulo bias; 0 when `upperBound` is 0 or 1.
std::uint32_t arc4random_uniform(std::uint32_t upperBound);
// Fixes the seed for this process and restarts the sequence; the same seed gives the same draws.
void seedRandom(std::uint64_t seed);
// Forgets a seed fixed in this process: the next draw starts from the environment's seed or fresh entropy.
void unfixRandomSeed();
// The seed this process's sequence started from when it was fixed; nothing while it draws from entropy (and
// before the first draw of a process whose seed is not fixed).
std::optional<std::uint64_t> fixedRandomSeed();
// Draws since the sequence last started.
std::uint64_t randomDrawCount();

// The environment variable that fixes the seed of processes started with it.
inline constexpr std::string_view kRandomSeedVariable = "VANTILE_RANDOM_SEED";
// Its value as a seed; nothing for an empty or malformed value (which leaves the process on entropy).
std::optional<std::uint64_t> parseRandomSeed(std::string_view text);

// A seed tests may fix when they want known draws.
constexpr std::uint64_t kDefaultRandomSeed = 0x56616e74696c65ULL;

}  // namespace platform
