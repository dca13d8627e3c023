#pragma once
// Marvin32, the keyed hash that guards each entry of a new-format transaction
// log (Windows 8.1 and later): two 32-bit halves of state stirred by each
// 32-bit little-endian word of the data, then by a closing 0x80 and 0.
#include <cstdint>
#include <span>

// The seed log entries are hashed with.
constexpr std::uint64_t LogEntryHashSeed = 0x82EF4D887A4E55C5;

// The hash of the data; the lengths log entries hash are multiples of 4.
std::uint64_t Marvin32(std::span<const std::uint8_t> data, std::uint64_t seed);
