#pragma once
// The length and type that open every chunk.
#include <cstdint>

#include "pictures/Stream.h"
#include "pictures/pngpicture.h"

struct PngChunkHeader {
    std::uint32_t length;
    TChunkType type;
};

// Reads length and type; EPngUnexpectedEnd when the length cannot be read.
PngChunkHeader ReadChunkHeader(Stream& stream);

// EPngUnexpectedEnd unless the chunk's data and CRC fit in what the stream has
// left. A length above 2^31 - 1 never fits: the standard forbids it.
void CheckChunkFits(Stream& stream, std::uint32_t length);

bool IsType(const TChunkType& type, const char (&name)[5]);
