#pragma once
// One frame of a GIF picture: its extensions, Image Descriptor, local colour
// table and the colour index of every pixel.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "pictures/gif/GifColorMap.h"
#include "pictures/gif/GifDrawCache.h"
#include "pictures/gif/GifExtensions.h"

class TGIFGraphicControlExtension;

// A frame's extensions, in stream order.
class TGIFExtensionList : public TGIFList<TGIFExtension> {
public:
    explicit TGIFExtensionList(TGIFSubImage& frame);
    // Reads extension blocks up to the next ',' or ';' (or a byte that
    // starts no extension, with a warning), leaving the stream on that byte.
    void LoadFromStream(Stream& stream);

private:
    TGIFSubImage& frame_;
};

// The Image Descriptor as read, separator included.
struct TImageDescriptor {
    std::uint8_t Separator = 0;
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t PackedFields = 0;
};

class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGifPicture* image);
    ~TGIFSubImage() override;

    void LoadFromStream(Stream& stream) override;
    void Clear();

    TGIFExtensionList& Extensions() { return extensions_; }
    const TGIFExtensionList& Extensions() const { return extensions_; }
    TGIFLocalColorMap& ColorMap() { return colorMap_; }
    const TGIFLocalColorMap& ColorMap() const { return colorMap_; }
    // The local colour table when it has entries, else the picture's global one.
    const TGIFColorMap& ActiveColorMap() const;

    const TImageDescriptor& ImageDescriptor() const { return descriptor_; }
    int Left() const { return descriptor_.Left; }
    int Top() const { return descriptor_.Top; }
    int Width() const { return descriptor_.Width; }
    int Height() const { return descriptor_.Height; }
    bool Interlaced() const { return (descriptor_.PackedFields & 0x40) != 0; }
    // True for a frame of extensions only, or of zero area.
    bool Empty() const { return pixels_.empty(); }

    // Width x Height colour indices, top row first.
    std::span<const std::uint8_t> PixelIndices() const { return pixels_; }
    std::span<const std::uint8_t> ScanLine(int row) const
    {
        return PixelIndices().subspan(static_cast<std::size_t>(row) * static_cast<std::size_t>(Width()),
                                      static_cast<std::size_t>(Width()));
    }

    // Set by a Graphic Control Extension of this frame with its transparency bit.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // The frame's first Graphic Control Extension, or nullptr.
    TGIFGraphicControlExtension* GraphicControlExtension() const { return graphicControl_; }
    void SetGraphicControlExtension(TGIFGraphicControlExtension* extension) { graphicControl_ = extension; }

    // Drawing keeps the frame bitmap and its mask here, built on first need.
    bool NeedMask() const { return needMask_; }
    void SetNeedMask(bool needMask) { needMask_ = needMask; }
    GifDrawCache* DrawCache() const { return drawCache_.get(); }
    void SetDrawCache(std::unique_ptr<GifDrawCache> cache) { drawCache_ = std::move(cache); }

private:
    void ReadImageDescriptor(Stream& stream);
    void DecodePixels(Stream& stream);
    void AllocatePixels(std::uint64_t mostDecodable);

    TGIFExtensionList extensions_;
    TGIFLocalColorMap colorMap_;
    TImageDescriptor descriptor_;
    std::vector<std::uint8_t> pixels_;
    bool transparent_ = false;
    TGIFGraphicControlExtension* graphicControl_ = nullptr;
    bool needMask_ = true;
    std::unique_ptr<GifDrawCache> drawCache_;
};
