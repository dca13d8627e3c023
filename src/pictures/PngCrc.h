#pragma once
// CRC-32 as the PNG standard defines it (reflected polynomial 0xEDB88320).
// A running value starts at kCrcStart and is complemented at the end.
#include <cstddef>
#include <cstdint>

constexpr std::uint32_t kCrcStart = 0xFFFFFFFFu;

std::uint32_t UpdateCrc(std::uint32_t crc, const std::uint8_t* data, std::size_t length);

inline std::uint32_t FinishCrc(std::uint32_t crc) { return ~crc; }
