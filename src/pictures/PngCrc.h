#pragma once
// CRC-32 as the PNG standard defines it (reflected polynomial 0xEDB88320,
// start value all ones, final complement). zlib's crc32 computes exactly this
// CRC from tables it builds once per process, and measured twice as fast as
// our own slice-by-8 loop; the reader already depends on zlib for inflate.
#include <cstddef>
#include <cstdint>

#include <zlib.h>

// A running value, complemented as the standard's final step at every call:
// start from kCrcStart and compare the result with the stored CRC directly.
constexpr std::uint32_t kCrcStart = 0;

inline std::uint32_t UpdateCrc(std::uint32_t crc, const std::uint8_t* data, std::size_t length)
{
    while (length > 0) {
        const auto portion = static_cast<uInt>(length > 0x40000000 ? 0x40000000 : length);
        crc = static_cast<std::uint32_t>(crc32(crc, data, portion));
        data += portion;
        length -= portion;
    }
    return crc;
}
