#pragma once
// Test-only GIF writer with its own small LZW encoder, for streams that a
// library encoder will not make: any code size, sub-block size, clear-code
// policy, broken structure. Bytes are built in order; every method appends.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/gifpicture.h"

using Bytes = std::vector<std::uint8_t>;

struct LzwOptions {
    int codeSize = 8;
    // Emit a clear code when the table is full; otherwise go on with the full
    // table (a "deferred clear" stream).
    bool clearWhenFull = true;
    bool endCode = true;
};

// Packs codes into bytes at the widths a GIF decoder reads them, following
// the decoder's table growth (one entry per code after the first following
// a clear). The very first code is read as if a clear code preceded it.
class CodePacker {
public:
    explicit CodePacker(int codeSize);
    void Emit(int code);
    Bytes Finish();

private:
    int codeSize_;
    int width_;
    int decoderFree_;
    bool firstAfterClear_ = true;
    std::uint32_t accumulator_ = 0;
    int count_ = 0;
    Bytes bytes_;
};

// The LZW code stream (not yet cut into sub-blocks) of indices.
Bytes LzwEncode(const Bytes& indices, const LzwOptions& options);
// data cut into sub-blocks of at most blockSize bytes, with the zero terminator.
Bytes SubBlocks(const Bytes& data, int blockSize = 255);
// Rows reordered into the four-pass interlace order.
Bytes InterlaceRows(const Bytes& indices, int width, int height);

struct ImageSpec {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<TGIFColor> localTable;  // written when not empty (size a power of 2, 2..256)
    Bytes indices;                      // width * height, top row first
    LzwOptions lzw;
    int subBlockSize = 255;
};

class GifWriter {
public:
    GifWriter& Header(int width, int height, const std::vector<TGIFColor>& globalTable = {},
                      std::string_view signature = "GIF89a", std::uint8_t background = 0);
    GifWriter& GraphicControl(int disposal, bool transparent, int transparentIndex, int delay);
    GifWriter& Comment(const std::vector<std::string>& blocks);
    GifWriter& Application(std::string_view identifier, const std::vector<Bytes>& subBlocks);
    GifWriter& Image(const ImageSpec& image);
    GifWriter& Trailer();
    GifWriter& Raw(const Bytes& bytes);
    const Bytes& Data() const { return bytes_; }

private:
    Bytes bytes_;
};

// A grey ramp table of 2^bits entries.
std::vector<TGIFColor> GreyTable(int bits);
// Pseudo-random indices below colors, reproducible from seed; runs of equal
// values now and then so that the LZW table gets long strings.
Bytes RandomIndices(std::size_t count, int colors, std::uint32_t seed);
