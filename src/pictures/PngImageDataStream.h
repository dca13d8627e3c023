#pragma once
// The inflated bytes of an image's consecutive IDAT chunks, with each chunk's
// CRC checked as its end is passed.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "pictures/PngInflate.h"
#include "pictures/Stream.h"
#include "pictures/pngpicture.h"

class PngImageDataStream {
public:
    // The stream stands at the first IDAT chunk's data, `length` bytes long;
    // the image needs imageBytes inflated bytes in all.
    PngImageDataStream(Stream& stream, const TChunkType& type, std::uint32_t length, std::uint64_t imageBytes);

    // Fills buffer with count inflated bytes; returns fewer only when the image
    // data ends (the zlib stream is complete, or the file yields nothing more).
    std::size_t Read(std::uint8_t* buffer, std::size_t count);

    // Reads past what is left of the current chunk's data and checks its CRC.
    void FinishChunk();

private:
    static constexpr std::size_t kPortion = 65535;
    // Inflating a row at a time leaves zlib's fast loop for the last 258
    // bytes of every row; inflating ahead into this buffer keeps it there.
    static constexpr std::size_t kAhead = 32768;

    std::size_t Inflate(std::uint8_t* buffer, std::size_t count);

    void BeginChunk(const TChunkType& type, std::uint32_t length);
    void CheckCrc();
    std::size_t ReadPortion();

    Stream& stream_;
    Inflater inflater_;
    std::unique_ptr<std::uint8_t[]> input_;
    std::unique_ptr<std::uint8_t[]> ahead_;
    std::size_t aheadStart_ = 0;
    std::size_t aheadEnd_ = 0;
    std::uint64_t stillNeeded_;
    std::uint32_t crc_ = 0;
    std::int64_t chunkEnd_ = 0;
    bool ended_ = false;
};
