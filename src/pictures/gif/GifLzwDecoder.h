#pragma once
// The variable-length-code LZW decoder of GIF image data: reads the data
// sub-blocks that follow the minimum code size byte and hands out colour
// indices. Classic table decoder: prefix/suffix tables and an output stack in
// fixed 4096-entry arrays, strings coming out through the stack.
#include <cstddef>
#include <cstdint>

#include "pictures/Stream.h"

class TGIFItem;

class GifLzwDecoder {
public:
    static constexpr int MaxCodes = 4096;
    // The largest minimum code size whose codes still fit the tables.
    static constexpr int MaxCodeSize = 11;

    // codeSize must be at most MaxCodeSize. Warnings go to reporter.
    GifLzwDecoder(Stream& stream, const TGIFItem& reporter, int codeSize);

    // Stores up to count indices (low byte of each) and returns how many.
    // Fewer than count means the data ended or broke off; from then on
    // nothing more is stored. Raises GIFException on a circular table entry.
    std::size_t ReadIndices(std::uint8_t* out, std::size_t count);

    // Moves the stream past the rest of the image data, up to and including
    // its terminating zero-size sub-block (unless that was already read or
    // the stream ended).
    void SkipRemainingData();

    // The most indices image data of dataBytes bytes can decode to. A code
    // of w bits gives at most 2^w + 3 indices (a table string, one more
    // character for a code beyond the table, a zeroed entry's two), which
    // is most per bit at 12 bits.
    static std::uint64_t MostIndices(std::uint64_t dataBytes);

private:
    int ReadCode();
    bool Refill();
    bool NextSubBlock();
    // Each leaves the string of one code on the stack; false when the data ends.
    bool DecodeString(int code);
    bool StartAfterClear();
    void ResetTable();
    void AddEntry();
    void Push(std::uint8_t value);

    Stream& stream_;
    const TGIFItem& reporter_;

    // Code reader: bits are taken least significant first from the
    // concatenated sub-blocks; the bits not yet used of one sub-block stay in
    // the accumulator, so a code may straddle two of them.
    std::uint8_t block_[255];
    int blockPos_ = 0;
    int blockLen_ = 0;
    std::uint64_t bits_ = 0;
    int bitCount_ = 0;
    bool firstRequest_ = true;
    bool dataEnded_ = false;
    bool terminatorSeen_ = false;
    bool finished_ = false;

    // Table decoder.
    int clear_;
    int end_;
    int codeSize_;
    int width_ = 0;
    int widthLimit_ = 0;
    int firstFree_ = 0;
    int usedEnd_ = 0;  // entries from the clear code up to here may be set
    int previous_ = 0;
    std::uint8_t firstChar_ = 0;
    std::uint16_t prefix_[MaxCodes];
    std::uint8_t suffix_[MaxCodes];
    std::uint8_t stack_[MaxCodes];
    int top_ = MaxCodes;  // empty at MaxCodes
};
