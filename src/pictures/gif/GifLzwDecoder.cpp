#include "pictures/gif/GifLzwDecoder.h"

#include <algorithm>
#include <limits>

#include "pictures/gif/GifException.h"
#include "pictures/gif/GifItem.h"

namespace {
constexpr int MaxCodeWidth = 12;
// ReadIndices results below zero.
constexpr int EndOfData = -1;
constexpr int EndCodeSeen = -2;
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
    usedEnd_ = clear_;
}

std::uint64_t GifLzwDecoder::MostIndices(std::uint64_t dataBytes, int codeSize)
{
    const std::uint64_t codes = dataBytes * 8 / static_cast<std::uint64_t>(codeSize + 1) + 1;
    return codes > std::numeric_limits<std::uint64_t>::max() / MaxCodes ? std::numeric_limits<std::uint64_t>::max()
                                                                         : codes * MaxCodes;
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

int GifLzwDecoder::ReadCode()
{
    if (firstRequest_) {
        firstRequest_ = false;
        return clear_;
    }
    while (bitCount_ < width_) {
        if (blockPos_ == blockLen_ && !NextSubBlock()) {
            if (terminatorSeen_)
                reporter_.Warning(GifWarningSeverity, gif_message::BitBufferUnderrun);
            return EndOfData;
        }
        bits_ |= static_cast<std::uint64_t>(block_[blockPos_++]) << bitCount_;
        bitCount_ += 8;
    }
    const int code = static_cast<int>(bits_ & ((1u << width_) - 1));
    bits_ >>= width_;
    bitCount_ -= width_;
    return code;
}

void GifLzwDecoder::ResetTable()
{
    std::fill(prefix_ + clear_, prefix_ + usedEnd_, std::uint16_t{0});
    std::fill(suffix_ + clear_, suffix_ + usedEnd_, std::uint8_t{0});
    usedEnd_ = clear_;
    width_ = codeSize_ + 1;
    widthLimit_ = 2 * clear_;
    firstFree_ = clear_ + 2;
    sp_ = 0;
}

void GifLzwDecoder::Push(std::uint8_t value)
{
    // No string of an acyclic table is as long as the table; a longer one
    // means the prefixes run in a circle.
    if (sp_ == MaxCodes)
        throw GIFException(gif_message::CircularTableEntry);
    stack_[sp_++] = value;
}

int GifLzwDecoder::StartAfterClear()
{
    ResetTable();
    int code;
    do
        code = ReadCode();
    while (code == clear_);
    if (code < 0)
        return code;
    if (code == end_)
        return EndCodeSeen;
    // Right after a clear only single characters have entries.
    if (code > end_)
        return EndOfData;
    previous_ = code;
    firstChar_ = static_cast<std::uint8_t>(code);
    return code;
}

int GifLzwDecoder::DecodeNext()
{
    int code = ReadCode();
    if (code < 0)
        return code;
    if (code == clear_)
        return StartAfterClear();
    if (code == end_)
        return EndCodeSeen;

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

    if (firstFree_ < MaxCodes) {
        prefix_[firstFree_] = static_cast<std::uint16_t>(previous_);
        suffix_[firstFree_] = firstChar_;
        ++firstFree_;
        usedEnd_ = std::max(usedEnd_, firstFree_);
        if (firstFree_ >= widthLimit_ && widthLimit_ < MaxCodes) {
            widthLimit_ *= 2;
            width_ = std::min(width_ + 1, MaxCodeWidth);
        }
    }
    previous_ = read;
    return stack_[--sp_];
}

std::size_t GifLzwDecoder::ReadIndices(std::uint8_t* out, std::size_t count)
{
    std::size_t stored = 0;
    while (stored < count && !finished_) {
        if (sp_ > 0) {
            const std::size_t take = std::min(static_cast<std::size_t>(sp_), count - stored);
            for (std::size_t i = 0; i < take; ++i)
                out[stored++] = stack_[--sp_];
            continue;
        }
        const int index = DecodeNext();
        if (index < 0) {
            finished_ = true;
            break;
        }
        out[stored++] = static_cast<std::uint8_t>(index);
    }
    return stored;
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
