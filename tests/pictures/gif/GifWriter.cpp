#include "GifWriter.h"

#include <map>
#include <random>
#include <utility>

namespace {

void PutWord(Bytes& out, int value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutTable(Bytes& out, const std::vector<TGIFColor>& table)
{
    for (const TGIFColor& c : table)
        out.insert(out.end(), {c.Red, c.Green, c.Blue});
}

int TableSizeBits(std::size_t entries)
{
    int bits = 0;
    while ((std::size_t{2} << bits) < entries)
        ++bits;
    return bits;
}

}  // namespace

CodePacker::CodePacker(int codeSize)
    : codeSize_(codeSize), width_(codeSize + 1), decoderFree_((1 << codeSize) + 2)
{
}

void CodePacker::Emit(int code)
{
    accumulator_ |= static_cast<std::uint32_t>(code) << count_;
    count_ += width_;
    while (count_ >= 8) {
        bytes_.push_back(static_cast<std::uint8_t>(accumulator_));
        accumulator_ >>= 8;
        count_ -= 8;
    }
    if (code == 1 << codeSize_) {
        width_ = codeSize_ + 1;
        decoderFree_ = (1 << codeSize_) + 2;
        firstAfterClear_ = true;
    } else if (firstAfterClear_) {
        firstAfterClear_ = false;
    } else if (decoderFree_ < 4096) {
        ++decoderFree_;
        if (decoderFree_ >= (1 << width_) && width_ < 12)
            ++width_;
    }
}

Bytes CodePacker::Finish()
{
    if (count_ > 0)
        bytes_.push_back(static_cast<std::uint8_t>(accumulator_));
    count_ = 0;
    accumulator_ = 0;
    return std::move(bytes_);
}

Bytes LzwEncode(const Bytes& indices, const LzwOptions& options)
{
    const int clear = 1 << options.codeSize;
    CodePacker out(options.codeSize);
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    out.Emit(clear);
    int current = -1;
    for (const std::uint8_t index : indices) {
        if (current < 0) {
            current = index;
            continue;
        }
        const auto found = table.find({current, index});
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        out.Emit(current);
        if (next < 4096) {
            table[{current, index}] = next++;
        } else if (options.clearWhenFull) {
            out.Emit(clear);
            table.clear();
            next = clear + 2;
        }
        current = index;
    }
    if (current >= 0)
        out.Emit(current);
    if (options.endCode)
        out.Emit(clear + 1);
    return out.Finish();
}

Bytes SubBlocks(const Bytes& data, int blockSize)
{
    Bytes out;
    for (std::size_t at = 0; at < data.size(); at += static_cast<std::size_t>(blockSize)) {
        const std::size_t n = std::min(static_cast<std::size_t>(blockSize), data.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    return out;
}

Bytes InterlaceRows(const Bytes& indices, int width, int height)
{
    Bytes out;
    const int passes[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& pass : passes)
        for (int row = pass[0]; row < height; row += pass[1])
            out.insert(out.end(), indices.begin() + row * width, indices.begin() + (row + 1) * width);
    return out;
}

GifWriter& GifWriter::Header(int width, int height, const std::vector<TGIFColor>& globalTable,
                             std::string_view signature, std::uint8_t background)
{
    bytes_.insert(bytes_.end(), signature.begin(), signature.end());
    PutWord(bytes_, width);
    PutWord(bytes_, height);
    const int bits = globalTable.empty() ? 0 : TableSizeBits(globalTable.size());
    bytes_.push_back(static_cast<std::uint8_t>((globalTable.empty() ? 0 : 0x80) | 0x70 | bits));
    bytes_.push_back(background);
    bytes_.push_back(0);
    PutTable(bytes_, globalTable);
    return *this;
}

GifWriter& GifWriter::GraphicControl(int disposal, bool transparent, int transparentIndex, int delay)
{
    bytes_.insert(bytes_.end(), {0x21, 0xF9, 4, static_cast<std::uint8_t>(disposal << 2 | (transparent ? 1 : 0))});
    PutWord(bytes_, delay);
    bytes_.insert(bytes_.end(), {static_cast<std::uint8_t>(transparentIndex), 0});
    return *this;
}

GifWriter& GifWriter::Comment(const std::vector<std::string>& blocks)
{
    bytes_.insert(bytes_.end(), {0x21, 0xFE});
    for (const std::string& block : blocks) {
        bytes_.push_back(static_cast<std::uint8_t>(block.size()));
        bytes_.insert(bytes_.end(), block.begin(), block.end());
    }
    bytes_.push_back(0);
    return *this;
}

GifWriter& GifWriter::Application(std::string_view identifier, const std::vector<Bytes>& subBlocks)
{
    bytes_.insert(bytes_.end(), {0x21, 0xFF, static_cast<std::uint8_t>(identifier.size())});
    bytes_.insert(bytes_.end(), identifier.begin(), identifier.end());
    for (const Bytes& block : subBlocks) {
        bytes_.push_back(static_cast<std::uint8_t>(block.size()));
        bytes_.insert(bytes_.end(), block.begin(), block.end());
    }
    bytes_.push_back(0);
    return *this;
}

GifWriter& GifWriter::Image(const ImageSpec& image)
{
    bytes_.push_back(',');
    PutWord(bytes_, image.left);
    PutWord(bytes_, image.top);
    PutWord(bytes_, image.width);
    PutWord(bytes_, image.height);
    const int bits = image.localTable.empty() ? 0 : TableSizeBits(image.localTable.size());
    bytes_.push_back(static_cast<std::uint8_t>((image.localTable.empty() ? 0 : 0x80) |
                                               (image.interlaced ? 0x40 : 0) | bits));
    PutTable(bytes_, image.localTable);
    bytes_.push_back(static_cast<std::uint8_t>(image.lzw.codeSize));
    const Bytes ordered =
        image.interlaced ? InterlaceRows(image.indices, image.width, image.height) : image.indices;
    const Bytes data = SubBlocks(LzwEncode(ordered, image.lzw), image.subBlockSize);
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
}

GifWriter& GifWriter::Trailer()
{
    bytes_.push_back(';');
    return *this;
}

GifWriter& GifWriter::Raw(const Bytes& bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<TGIFColor> GreyTable(int bits)
{
    std::vector<TGIFColor> table;
    const int count = 1 << bits;
    for (int i = 0; i < count; ++i) {
        const auto level = static_cast<std::uint8_t>(count == 1 ? 0 : i * 255 / (count - 1));
        table.push_back({level, level, level});
    }
    return table;
}

Bytes RandomIndices(std::size_t count, int colors, std::uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes out;
    out.reserve(count);
    while (out.size() < count) {
        const auto value = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colors));
        const std::size_t run = random() % 4 == 0 ? random() % 40 + 1 : 1;
        for (std::size_t i = 0; i < run && out.size() < count; ++i)
            out.push_back(value);
    }
    return out;
}
