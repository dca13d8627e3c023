// PLTE and tRNS: the palette and the transparency that goes with it.
#include <algorithm>

#include "pictures/PngPixelFormat.h"
#include "pictures/pngpicture.h"

namespace {
constexpr std::size_t kMaxEntries = 256;
}

bool TChunkPLTE::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunk::ReadChunk(stream, type, length);
    if (data_.size() % 3 != 0 || data_.size() / 3 > kMaxEntries)
        throw EPNGInvalidPalette();
    count_ = static_cast<std::uint32_t>(data_.size() / 3);

    const TGammaTable& gamma = Owner().GammaLookup();
    TRGBQuad* colors = Owner().Header().DibInfo().bmiColors;
    for (std::uint32_t i = 0; i < count_; ++i) {
        const std::uint8_t* rgb = &data_[i * 3];
        colors[i] = TRGBQuad{gamma[rgb[2]], gamma[rgb[1]], gamma[rgb[0]], 0};
    }
    return true;
}

TRGBQuad TChunkPLTE::Item(std::uint32_t index) const
{
    if (index >= count_)
        throw EPngError(kNoSuchPaletteEntry);
    return Owner().Header().DibInfo().bmiColors[index];
}

void TChunkPLTE::CopyFrom(const TChunk& source)
{
    TChunk::CopyFrom(source);
    count_ = static_cast<const TChunkPLTE&>(source).count_;
}

bool TChunktRNS::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunk::ReadChunk(stream, type, length);
    if (data_.size() > kMaxEntries)
        throw EPNGInvalidPalette();
    alphaByIndex_.fill(255);
    std::copy(data_.begin(), data_.end(), alphaByIndex_.begin());

    switch (Owner().Header().ColorType()) {
    case kGreyscale:
    case kTruecolour:
        singleKey_ = true;
        break;
    case kPalette:
        singleKey_ = std::count_if(data_.begin(), data_.end(), [](std::uint8_t a) { return a != 255; }) == 1;
        break;
    default:
        singleKey_ = false;
        break;
    }
    return true;
}

void TChunktRNS::CopyFrom(const TChunk& source)
{
    TChunk::CopyFrom(source);
    const auto& s = static_cast<const TChunktRNS&>(source);
    singleKey_ = s.singleKey_;
    alphaByIndex_ = s.alphaByIndex_;
}
