#include "pictures/PngImageDataStream.h"

#include <algorithm>
#include <cstring>

#include "pictures/PngChunkHeader.h"
#include "pictures/PngCrc.h"
#include "pictures/PngStreamIO.h"

PngImageDataStream::PngImageDataStream(Stream& stream, const TChunkType& type, std::uint32_t length,
                                       std::uint64_t imageBytes)
    : stream_(stream), input_(new std::uint8_t[kPortion]), ahead_(new std::uint8_t[kAhead]), stillNeeded_(imageBytes)
{
    BeginChunk(type, length);
}

void PngImageDataStream::BeginChunk(const TChunkType& type, std::uint32_t length)
{
    crc_ = UpdateCrc(kCrcStart, reinterpret_cast<const std::uint8_t*>(type.data()), type.size());
    chunkEnd_ = stream_.Position() + length;
}

void PngImageDataStream::CheckCrc()
{
    if (ReadBigEndian32(stream_) != crc_)
        throw EPngInvalidCRC();
}

std::size_t PngImageDataStream::ReadPortion()
{
    const std::int64_t left = std::max<std::int64_t>(chunkEnd_ - stream_.Position(), 0);
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::int64_t>(left, kPortion));
    const std::size_t got = ReadFully(stream_, input_.get(), wanted);
    crc_ = UpdateCrc(crc_, input_.get(), got);
    return got;
}

std::size_t PngImageDataStream::Read(std::uint8_t* buffer, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        if (aheadStart_ == aheadEnd_) {
            // Never more than the image needs: data past it is not inflated.
            const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(kAhead, stillNeeded_));
            aheadStart_ = 0;
            aheadEnd_ = Inflate(ahead_.get(), wanted);
            stillNeeded_ -= aheadEnd_;
            if (aheadEnd_ == 0)
                break;
        }
        const std::size_t n = std::min(count - done, aheadEnd_ - aheadStart_);
        std::memcpy(buffer + done, ahead_.get() + aheadStart_, n);
        aheadStart_ += n;
        done += n;
    }
    return done;
}

std::size_t PngImageDataStream::Inflate(std::uint8_t* buffer, std::size_t count)
{
    z_stream& z = inflater_.Stream();
    z.next_out = buffer;
    z.avail_out = static_cast<uInt>(count);
    while (z.avail_out > 0 && !ended_) {
        if (z.avail_in == 0 && stream_.Position() >= chunkEnd_) {
            CheckCrc();
            const PngChunkHeader next = ReadChunkHeader(stream_);
            if (!IsType(next.type, "IDAT"))
                throw EPNGMissingMultipleIDAT();
            CheckChunkFits(stream_, next.length);
            BeginChunk(next.type, next.length);
            continue;  // an IDAT chunk may be empty
        }
        if (z.avail_in == 0) {
            z.next_in = input_.get();
            z.avail_in = static_cast<uInt>(ReadPortion());
            if (z.avail_in == 0)
                break;
        }
        const int result = inflate(&z, Z_NO_FLUSH);
        // The standard allows no preset dictionary, and inflate cannot go on
        // without one.
        if (result < 0 || result == Z_NEED_DICT)
            throw EPNGZLIBError(result);
        // After the stream's end inflate makes no more progress: the rows
        // still missing stay zero.
        if (result == Z_STREAM_END)
            ended_ = true;
    }
    return count - z.avail_out;
}

void PngImageDataStream::FinishChunk()
{
    while (stream_.Position() < chunkEnd_)
        if (ReadPortion() == 0)
            break;
    CheckCrc();
}
