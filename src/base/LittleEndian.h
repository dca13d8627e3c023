#pragma once
// Little-endian fields of stored records. Reads past the end of the data give
// zero bytes: a record shorter than its layout reads as if zero-filled.
#include <cstddef>
#include <cstdint>
#include <span>

constexpr std::uint32_t ReadLittleEndian32(std::span<const std::uint8_t> data, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        if (offset + i < data.size())
            value |= std::uint32_t{data[offset + i]} << (8 * i);
    return value;
}

constexpr void WriteLittleEndian32(std::span<std::uint8_t> data, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        data[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
