#include "pictures/PngChunkHeader.h"

#include <cstring>

#include "pictures/PngStreamIO.h"

PngChunkHeader ReadChunkHeader(Stream& stream)
{
    std::uint8_t length[4];
    if (ReadFully(stream, length, 4) != 4)
        throw EPngUnexpectedEnd();
    PngChunkHeader header{BigEndian32(length), {}};
    ReadFully(stream, header.type.data(), 4);
    return header;
}

void CheckChunkFits(Stream& stream, std::uint32_t length)
{
    constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;
    constexpr std::int64_t kCrcSize = 4;
    const std::int64_t left = stream.Size() - stream.Position();
    if (length > kMaxChunkLength || static_cast<std::int64_t>(length) + kCrcSize > left)
        throw EPngUnexpectedEnd();
}

bool IsType(const TChunkType& type, const char (&name)[5])
{
    return std::memcmp(type.data(), name, 4) == 0;
}
