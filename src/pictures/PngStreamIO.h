#pragma once
// Reading the fixed-size big-endian fields of a PNG stream.
#include <cstddef>
#include <cstdint>

#include "pictures/Stream.h"

inline std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Reads until count bytes arrived or the stream ends; returns how many arrived.
inline std::size_t ReadFully(Stream& stream, void* buffer, std::size_t count)
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t total = 0;
    while (total < count) {
        const std::size_t n = stream.Read(out + total, count - total);
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

// The 4-byte big-endian value at the stream's position; a short read leaves
// zeros in the missing bytes, as a CRC that cannot match.
inline std::uint32_t ReadBigEndian32(Stream& stream)
{
    std::uint8_t bytes[4] = {};
    ReadFully(stream, bytes, 4);
    return BigEndian32(bytes);
}
