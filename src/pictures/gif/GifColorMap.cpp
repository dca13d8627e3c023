#include "pictures/gif/GifColorMap.h"

#include <utility>

#include "pictures/gif/GifException.h"

int TGIFColorMap::BitsPerPixel() const
{
    int bits = 1;
    while (bits < 8 && (1 << bits) < Count())
        ++bits;
    return bits;
}

void TGIFColorMap::Clear()
{
    colors_.clear();
    sorted_ = false;
}

void TGIFColorMap::LoadFromStream(Stream& stream, int count)
{
    static_assert(sizeof(TGIFColor) == 3, "colours are read as packed RGB triples");
    std::vector<TGIFColor> colors(static_cast<std::size_t>(count));
    ReadExact(stream, colors.data(), colors.size() * sizeof(TGIFColor));
    colors_ = std::move(colors);
    sorted_ = false;
}
