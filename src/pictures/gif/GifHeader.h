#pragma once
// The header (signature, Logical Screen Descriptor, global colour table) and
// the trailer of a GIF stream.
#include <array>
#include <cstdint>
#include <string>

#include "pictures/gif/GifColorMap.h"
#include "pictures/gif/GifItem.h"

// The Logical Screen Descriptor as read.
struct TLogicalScreenDescriptor {
    std::uint16_t ScreenWidth = 0;
    std::uint16_t ScreenHeight = 0;
    std::uint8_t PackedFields = 0;
    std::uint8_t BackgroundColorIndex = 0;
    std::uint8_t AspectRatio = 0;
};

class TGIFHeader : public TGIFItem {
public:
    using TGIFItem::TGIFItem;

    // Accepts the signature at the stream's position or 4 bytes after it.
    void LoadFromStream(Stream& stream) override;
    // Empties the global colour table, zeroes the screen size and drops the
    // table's fields from the packed byte.
    void Clear();

    // As read: "GIF" in any letter case, and "87a", "89a" or anything else.
    std::string Signature() const { return {signature_.begin(), signature_.begin() + 3}; }
    std::string Version() const { return {signature_.begin() + 3, signature_.end()}; }

    const TLogicalScreenDescriptor& LogicalScreenDescriptor() const { return screen_; }
    int Width() const { return screen_.ScreenWidth; }
    int Height() const { return screen_.ScreenHeight; }
    std::uint8_t BackgroundColorIndex() const { return screen_.BackgroundColorIndex; }
    std::uint8_t AspectRatio() const { return screen_.AspectRatio; }
    // Bits per primary colour of the source, 1..8.
    int ColorResolution() const { return ((screen_.PackedFields >> 4) & 7) + 1; }

    TGIFGlobalColorMap& ColorMap() { return colorMap_; }
    const TGIFGlobalColorMap& ColorMap() const { return colorMap_; }

private:
    std::array<char, 6> signature_{};
    TLogicalScreenDescriptor screen_;
    TGIFGlobalColorMap colorMap_;
};

class TGIFTrailer : public TGIFItem {
public:
    using TGIFItem::TGIFItem;
    // Reads the byte after the last frame; anything but ';' is only warned about.
    void LoadFromStream(Stream& stream) override;
};
