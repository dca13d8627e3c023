#include "pictures/gif/GifLzwDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "pictures/gif/GifException.h"
#include "pictures/gif/GifItem.h"

namespace {
constexpr int MaxCodeWidth = 12;
// What the code reader returns when the data has ended.
constexpr int EndOfData = -1;
}  // namespace

GifLzwDecoder::GifLzwDecoder(Stream& stream, const TGIFItem& reporter, int codeSize)
    : stream_(stream), reporter_(reporter), clear_(1 << codeSize), end_(clear_ + 1), codeSize_(codeSize)
{
    // Single characters never change; entries from the clear code up start
    // zeroed and are zeroed again as far as they were used at every clear.
    for (int code = 0; code < MaxCodes; ++code) {
        prefix_[code] = 0;
        suffix_[code] = code < clear_ ? static_cast<std::uint8_t>(code) : 0;
    }
    usedEnd_ = firstFree_ = clear_;
}

std::uint64_t GifLzwDecoder::MostIndices(std::uint64_t dataBytes)
{
    constexpr std::uint64_t MostPerCode = MaxCodes + 3;
    const std::uint64_t codes = dataBytes / MaxCodeWidth * 8 + 8;  // dataBytes * 8 / 12, rounded well up
    return codes > std::numeric_limits<std::uint64_t>::max() / MostPerCode ? std::numeric_limits<std::uint64_t>::max()
                                                                           : codes * MostPerCode;
}

bool GifLzwDecoder::NextSubBlock()
{
    if (dataEnded_)
        return false;
    std::uint8_t size;
    if (!ReadByte(stream_, size)) {
        dataEnded_ = true;
        return false;
    }
    if (size == 0) {
        dataEnded_ = terminatorSeen_ = true;
        return false;
    }
    const std::size_t got = stream_.Read(block_, size);
    if (got < size) {
        reporter_.Warning(GifWarningSeverity, gif_message::PrematureEnd);
        dataEnded_ = true;  // the stream has nothing after this
    }
    blockPos_ = 0;
    blockLen_ = static_cast<int>(got);
    return got > 0;
}

bool GifLzwDecoder::Refill()
{
    if constexpr (std::endian::native == std::endian::little) {
        // Eight bytes at once while the sub-block has them. Bits loaded above
        // the whole bytes taken are those of the next byte, which the next
        // refill puts in the same place again.
        if (blockLen_ - blockPos_ >= 8) {
            std::uint64_t next;
            std::memcpy(&next, block_ + blockPos_, sizeof next);
            bits_ |= next << bitCount_;
            const int bytes = (63 - bitCount_) >> 3;
            blockPos_ += bytes;
            bitCount_ += bytes * 8;
            return true;
        }
    }
    while (bitCount_ <= 56) {
        if (blockPos_ == blockLen_) {
            if (bitCount_ >= width_)
                return true;
            if (!NextSubBlock()) {
                if (terminatorSeen_)
                    reporter_.Warning(GifWarningSeverity, gif_message::BitBufferUnderrun);
                return false;
            }
        }
        bits_ |= static_cast<std::uint64_t>(block_[blockPos_++]) << bitCount_;
        bitCount_ += 8;
    }
    return true;
}

inline int GifLzwDecoder::ReadCode()
{
    if (bitCount_ < width_ && !Refill())
        return EndOfData;
    const int code = static_cast<int>(bits_ & ((1u << width_) - 1));
    bits_ >>= width_;
    bitCount_ -= width_;
    return code;
}

void GifLzwDecoder::ResetTable()
{
    // Entries are only ever written at the next free one.
    usedEnd_ = std::max(usedEnd_, firstFree_);
    std::fill(prefix_ + clear_, prefix_ + usedEnd_, std::uint16_t{0});
    std::fill(suffix_ + clear_, suffix_ + usedEnd_, std::uint8_t{0});
    usedEnd_ = clear_;
    width_ = codeSize_ + 1;
    widthLimit_ = 2 * clear_;
    firstFree_ = clear_ + 2;
    top_ = MaxCodes;
}

inline void GifLzwDecoder::Push(std::uint8_t value)
{
    // No string of an acyclic table is as long as the table; a longer one
    // means the prefixes run in a circle.
    if (top_ == 0)
        throw GIFException(gif_message::CircularTableEntry);
    stack_[--top_] = value;
}

inline void GifLzwDecoder::AddEntry()
{
    if (firstFree_ < MaxCodes) {
        prefix_[firstFree_] = static_cast<std::uint16_t>(previous_);
        suffix_[firstFree_] = firstChar_;
        ++firstFree_;
        if (firstFree_ >= widthLimit_ && widthLimit_ < MaxCodes) {
            widthLimit_ *= 2;
            width_ = std::min(width_ + 1, MaxCodeWidth);
        }
    }
}

bool GifLzwDecoder::StartAfterClear()
{
    ResetTable();
    int code;
    do
        code = ReadCode();
    while (code == clear_);
    // Right after a clear only single characters have entries; the end code
    // ends the data and anything above it is undefined.
    if (code < 0 || code >= end_)
        return false;
    previous_ = code;
    firstChar_ = static_cast<std::uint8_t>(code);
    Push(firstChar_);
    return true;
}

bool GifLzwDecoder::DecodeString(int code)
{
    if (code < 0)
        return false;
    if (code == clear_)
        return StartAfterClear();
    if (code == end_)
        return false;

    const int read = code;
    if (code >= firstFree_) {
        Push(firstChar_);
        code = previous_;
    }
    while (code >= clear_) {
        Push(suffix_[code]);
        if (prefix_[code] == code)
            throw GIFException(gif_message::CircularTableEntry);
        code = prefix_[code];
    }
    firstChar_ = static_cast<std::uint8_t>(code);
    Push(firstChar_);
    AddEntry();
    previous_ = read;
    return true;
}

std::size_t GifLzwDecoder::ReadIndices(std::uint8_t* out, std::size_t count)
{
    std::uint8_t* next = out;
    std::uint8_t* const end = out + count;
    if (firstRequest_ && count > 0) {
        // The very first code is taken as a clear code without reading it.
        firstRequest_ = false;
        finished_ = !StartAfterClear();
    }
    while (next != end && !finished_) {
        if (top_ != MaxCodes) {
            // The stack grows downwards, so a string lies in reading order.
            const std::size_t take =
                std::min(static_cast<std::size_t>(MaxCodes - top_), static_cast<std::size_t>(end - next));
            std::memcpy(next, stack_ + top_, take);
            next += take;
            top_ += static_cast<int>(take);
            continue;
        }
        const int code = ReadCode();
        if (code >= 0 && code < clear_) {
            // A single character, the common case, goes straight out.
            firstChar_ = static_cast<std::uint8_t>(code);
            *next++ = firstChar_;
            AddEntry();
            previous_ = code;
        } else if (!DecodeString(code)) {
            finished_ = true;
        }
    }
    return static_cast<std::size_t>(next - out);
}

void GifLzwDecoder::SkipRemainingData()
{
    std::uint8_t size;
    while (!dataEnded_) {
        if (!ReadByte(stream_, size) || size == 0)
            dataEnded_ = true;
        else
            stream_.Seek(size, SeekOrigin::Current);
    }
}
