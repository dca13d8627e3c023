#pragma once
// Colour tables: the header's global one and a frame's local one.
#include <cstdint>
#include <span>
#include <vector>

#include "pictures/gif/GifItem.h"

struct TGIFColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

class TGIFColorMap : public GifPersistent {
public:
    int Count() const { return static_cast<int>(colors_.size()); }
    const TGIFColor& operator[](int index) const { return colors_.at(static_cast<std::size_t>(index)); }
    std::span<const TGIFColor> Colors() const { return colors_; }

    // The table's "sorted by importance" flag from the packed byte.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted) { sorted_ = sorted; }

    // Bits per entry as the packed byte stores them: the smallest n (1..8)
    // with 2^n >= Count().
    int BitsPerPixel() const;

    void Clear();
    // Reads count RGB triples (ReadExact).
    void LoadFromStream(Stream& stream, int count);

private:
    std::vector<TGIFColor> colors_;
    bool sorted_ = false;
};

class TGIFGlobalColorMap final : public TGIFColorMap {};
class TGIFLocalColorMap final : public TGIFColorMap {};

// Entries of a colour table whose presence and size the packed byte gives:
// bit 7 set means 2 << (packed and 7) entries follow.
inline int ColorTableEntries(std::uint8_t packed) { return (packed & 0x80) ? 2 << (packed & 7) : 0; }
