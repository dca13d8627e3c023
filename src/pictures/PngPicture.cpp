// The PNG picture: loading the chunk sequence, and what the picture tells
// about itself once loaded.
#include <algorithm>
#include <cstring>
#include <new>

#include "pictures/PngChunkHeader.h"
#include "pictures/PngPixelFormat.h"
#include "pictures/PngStreamIO.h"
#include "pictures/pngpicture.h"

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kListGrowth = 10;
constexpr std::uint8_t kAncillaryBit = 0x20;

bool IsCritical(const TChunkType& type)
{
    return (static_cast<std::uint8_t>(type[0]) & kAncillaryBit) == 0;
}

TGammaTable IdentityTable()
{
    TGammaTable table;
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(i);
    return table;
}

// Leaves the list holding exactly the chunks stored, however loading ends.
class TrimOnExit {
public:
    explicit TrimOnExit(TPNGList& list) : list_(list) {}
    ~TrimOnExit() { list_.Trim(); }
    TrimOnExit(const TrimOnExit&) = delete;
    TrimOnExit& operator=(const TrimOnExit&) = delete;

private:
    TPNGList& list_;
};

}  // namespace

TPngPicture::TPngPicture()
{
    ResetPicture();
}

TPngPicture::~TPngPicture() = default;

void TPngPicture::ResetPicture()
{
    ReleasePalette();
    chunks_.Clear();
    gamma_ = IdentityTable();
    gammaInverse_ = IdentityTable();
}

void TPngPicture::LoadFromStream(Stream& stream)
{
    ResetPicture();
    std::uint8_t signature[sizeof kSignature] = {};
    ReadFully(stream, signature, sizeof signature);
    if (std::memcmp(signature, kSignature, sizeof kSignature) != 0)
        throw EPNGInvalidFileHeader();

    try {
        ReadChunks(stream);
    } catch (const std::bad_alloc&) {
        throw EPNGOutMemory();
    }
    Changed();
}

void TPngPicture::ReadChunks(Stream& stream)
{
    chunks_.Reserve(kListGrowth);
    TrimOnExit trim(chunks_);
    bool firstChunk = true;
    bool imageDataSeen = false;
    for (;;) {
        const PngChunkHeader header = ReadChunkHeader(stream);
        if (firstChunk && !IsType(header.type, "IHDR"))
            throw EPNGIHDRNotFirst();
        firstChunk = false;
        CheckChunkFits(stream, header.length);

        // The first IDAT chunk reads every IDAT chunk the image needs; a later
        // one is data the image did not use.
        const bool isImageData = IsType(header.type, "IDAT");
        if (IsType(header.type, "cHRM") || (isImageData && imageDataSeen)) {
            stream.Seek(static_cast<std::int64_t>(header.length) + 4, SeekOrigin::Current);
            continue;
        }
        imageDataSeen = imageDataSeen || isImageData;

        std::unique_ptr<TChunk> created = NewChunkForType(*this, header.type);
        TChunk& chunk = *created;
        chunks_.Add(std::move(created));
        if (&chunk.ChunkClass() == &TChunk::Class && IsCritical(header.type))
            throw EPNGUnknownCriticalChunk();
        if (!chunk.ReadChunk(stream, header.type, header.length))
            break;
        if (IsType(header.type, "IEND"))
            break;
    }
    if (!imageDataSeen)
        throw EPNGNoImageData();
}

void TPngPicture::Assign(const TPngPicture& source)
{
    if (&source == this)
        return;
    ResetPicture();
    compressionLevel_ = source.compressionLevel_;
    maxIdatSize_ = source.maxIdatSize_;
    interlaceKind_ = source.interlaceKind_;
    gamma_ = source.gamma_;
    gammaInverse_ = source.gammaInverse_;
    try {
        for (std::size_t i = 0; i < source.chunks_.Count(); ++i) {
            const TChunk& original = source.chunks_.Item(i);
            std::unique_ptr<TChunk> copy = original.ChunkClass().Create(*this);
            copy->CopyFrom(original);
            chunks_.Add(std::move(copy));
        }
    } catch (const std::bad_alloc&) {
        throw EPNGOutMemory();
    }
    Changed();
}

void TPngPicture::ReleasePalette()
{
#ifdef _WIN32
    palette_.reset();
#endif
}

TChunkIHDR& TPngPicture::Header() const
{
    auto* header = chunks_.Count() > 0 ? dynamic_cast<TChunkIHDR*>(&chunks_.Item(0)) : nullptr;
    if (!header)
        throw EPNGHeaderNotPresent();
    return *header;
}

int TPngPicture::Width() const
{
    return Empty() ? 0 : static_cast<int>(Header().Width());
}

int TPngPicture::Height() const
{
    return Empty() ? 0 : static_cast<int>(Header().Height());
}

void TPngPicture::SetWidth(int)
{
    throw EPngError(kCannotResize);
}

void TPngPicture::SetHeight(int)
{
    throw EPngError(kCannotResize);
}

void TPngPicture::SetCompressionLevel(int level)
{
    compressionLevel_ = std::clamp(level, 0, 9);
}

void TPngPicture::SetMaxIdatSize(std::uint32_t size)
{
    maxIdatSize_ = std::max(size, kMinMaxIdatSize);
}

TAlphaDrawMode TPngPicture::AlphaDrawMode() const
{
    if (Empty())
        return admOpaque;
    const TChunktRNS* transparency = chunks_.FindChunk<TChunktRNS>();
    switch (Header().ColorType()) {
    case kGreyscale:
    case kTruecolour:
        return transparency ? admColorKey : admOpaque;
    case kPalette: {
        if (!transparency)
            return admOpaque;
        // A single entry below 255 is a colour key only when it is fully
        // transparent; a single half-transparent entry is blended.
        const auto& alpha = transparency->AlphaByIndex();
        const bool hasClearEntry =
            std::find(alpha.begin(), alpha.begin() + transparency->DataSize(), 0) !=
            alpha.begin() + transparency->DataSize();
        return transparency->SingleKey() && hasClearEntry ? admColorKey : admBlend;
    }
    default:
        return admBlend;
    }
}

TColor TPngPicture::KeyColor() const
{
    const TChunktRNS* transparency = Empty() ? nullptr : chunks_.FindChunk<TChunktRNS>();
    if (!transparency)
        return 0;
    const TChunkIHDR& header = Header();
    const auto& key = transparency->AlphaByIndex();
    const TRGBQuad* table = header.DibInfo().bmiColors;
    switch (header.ColorType()) {
    case kTruecolour: {
        // The byte the DIB keeps of each sample, through gamma as drawn.
        const int kept = header.BitDepth() == 16 ? 0 : 1;
        return RGBColor(gamma_[key[kept]], gamma_[key[2 + kept]], gamma_[key[4 + kept]]);
    }
    case kPalette:
        for (std::uint32_t i = 0; i < transparency->DataSize(); ++i)
            if (key[i] == 0)
                return RGBColor(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
        return 0;
    case kGreyscale: {
        // The grey-ramp entry the key sample lands on in the DIB.
        const unsigned sample = (key[0] << 8) | key[1];
        unsigned index;
        switch (header.BitDepth()) {
        case 16: index = sample >> 8; break;
        case 2: index = (sample & 3) * 5; break;
        default: index = sample & ((1u << header.BitDepth()) - 1); break;
        }
        return RGBColor(table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue);
    }
    default:
        return 0;
    }
}
