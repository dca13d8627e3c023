// gAMA, tIME, tEXt and zTXt: kept with the picture; only gAMA changes decoding.
#include <algorithm>
#include <cmath>

#include "pictures/PngInflate.h"
#include "pictures/PngStreamIO.h"
#include "pictures/pngpicture.h"

bool TChunkgAMA::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunk::ReadChunk(stream, type, length);
    // A value cut short carries no gamma: the tables stay as they are.
    if (data_.size() < 4)
        return true;
    const std::uint32_t g = BigEndian32(data_.data());
    if (g == 0)
        return true;

    TGammaTable& lookup = Owner().GammaLookup();
    TGammaTable& inverse = Owner().GammaInverseLookup();
    const double exponent = 1.0 / (g / 100000.0 * 2.2);
    for (int i = 0; i < 256; ++i) {
        // rint rounds halves to even in the default rounding mode.
        const double v = std::rint(255.0 * std::pow(i / 255.0, exponent));
        const auto value = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
        lookup[i] = value;
        inverse[value] = static_cast<std::uint8_t>(i);
    }
    return true;
}

bool TChunktIME::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunk::ReadChunk(stream, type, length);
    if (data_.size() == 7) {
        Year = static_cast<std::uint16_t>((data_[0] << 8) | data_[1]);
        Month = data_[2];
        Day = data_[3];
        Hour = data_[4];
        Minute = data_[5];
        Second = data_[6];
    }
    return true;
}

void TChunktIME::CopyFrom(const TChunk& source)
{
    TChunk::CopyFrom(source);
    const auto& s = static_cast<const TChunktIME&>(source);
    Year = s.Year;
    Month = s.Month;
    Day = s.Day;
    Hour = s.Hour;
    Minute = s.Minute;
    Second = s.Second;
}

std::size_t TChunktEXt::SplitKeyword()
{
    const auto zero = std::find(data_.begin(), data_.end(), 0);
    Keyword.assign(data_.begin(), zero);
    return zero == data_.end() ? data_.size() : static_cast<std::size_t>(zero - data_.begin()) + 1;
}

bool TChunktEXt::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunk::ReadChunk(stream, type, length);
    if (data_.size() > 2) {
        const std::size_t textStart = SplitKeyword();
        Text.assign(data_.begin() + static_cast<std::ptrdiff_t>(textStart), data_.end());
    }
    return true;
}

void TChunktEXt::CopyFrom(const TChunk& source)
{
    TChunk::CopyFrom(source);
    const auto& s = static_cast<const TChunktEXt&>(source);
    Keyword = s.Keyword;
    Text = s.Text;
}

bool TChunkzTXt::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunk::ReadChunk(stream, type, length);
    if (data_.size() <= 3)
        return true;
    const std::size_t methodAt = SplitKeyword();
    Text.clear();
    constexpr std::uint8_t kDeflate = 0;
    if (methodAt < data_.size() && data_[methodAt] == kDeflate) {
        const std::size_t start = methodAt + 1;
        if (auto text = InflateText(data_.data() + start, data_.size() - start, kMaxTextSize))
            Text = std::move(*text);
    }
    return true;
}
