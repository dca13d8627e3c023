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

constexpr std::uint16_t ReadLittleEndian16(std::span<const std::uint8_t> data, std::size_t offset)
{
    return static_cast<std::uint16_t>(ReadLittleEndian32(data, offset) & 0xFFFF);
}

constexpr std::uint64_t ReadLittleEndian64(std::span<const std::uint8_t> data, std::size_t offset)
{
    return ReadLittleEndian32(data, offset) | std::uint64_t{ReadLittleEndian32(data, offset + 4)} << 32;
}

constexpr void WriteLittleEndian32(std::span<std::uint8_t> data, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        data[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
