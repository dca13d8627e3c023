// A frame's bitmap, mask and palette, and the picture's palette (Windows).
#include <cstring>

#include "pictures/gif/GifDrawingState.h"
#include "pictures/gifpicture.h"

namespace {

constexpr const char* RenderingMessage = "Rendering...";
constexpr int ProgressRows = 32;
constexpr int DibColors = 256;

struct IndexedBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[DibColors];
};

// An 8-bit top-down DIB section of the indices (width x height, top row
// first, or none: all 0) with colors as its colour table; the entries beyond
// colors are black. onRow(y) is told every row copied.
HBITMAP CreateIndexedBitmap(int width, int height, std::span<const std::uint8_t> indices,
                            std::span<const TGIFColor> colors, const std::function<void(int)>& onRow)
{
    IndexedBitmapInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = DibColors;
    for (std::size_t i = 0; i < colors.size() && i < DibColors; ++i)
        info.colors[i] = {colors[i].Blue, colors[i].Green, colors[i].Red, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr)
        throw GIFException(gif_message::DibAllocation);
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = rows + static_cast<std::size_t>(y) * stride;
        if (indices.empty())
            std::memset(row, 0, stride);
        else
            std::memcpy(row, indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                        static_cast<std::size_t>(width));
        onRow(y);
    }
    GdiFlush();
    return bitmap;
}

GifFrameDrawing& FrameDrawing(TGIFSubImage& frame)
{
    if (frame.DrawCache() == nullptr)
        frame.SetDrawCache(std::make_unique<GifFrameDrawing>());
    return static_cast<GifFrameDrawing&>(*frame.DrawCache());
}

}  // namespace

GifPictureDrawing& TGifPicture::PictureDrawing()
{
    if (drawCache_ == nullptr)
        drawCache_ = std::make_unique<GifPictureDrawing>();
    return static_cast<GifPictureDrawing&>(*drawCache_);
}

HPALETTE TGifPicture::Palette()
{
    // The buffer bitmap of animations has no palette of its own (32 bits a
    // pixel), so the picture's palette is never a bitmap's.
    GifPictureDrawing& drawing = PictureDrawing();
    if (drawing.Palette)
        return drawing.Palette.get();
    if (DitherApplies(drawFlags_, DisplayIsPaletted())) {
        drawing.Palette.reset(CreateGifPalette(WebPaletteColors()));
        return drawing.Palette.get();
    }
    if (header_.ColorMap().Count() > 0) {
        drawing.Palette.reset(CreateGifPalette(header_.ColorMap().Colors()));
        return drawing.Palette.get();
    }
    if (images_.Empty())
        return nullptr;
    return FramePalette(images_[0]);
}

std::vector<TGIFColor> TGifPicture::FrameColors(const TGIFSubImage& frame) const
{
    // The local table, else the picture's colours: the global table, or
    // without one the first frame's, which then must have a table itself.
    const TGIFColorMap* const maps[] = {&frame.ColorMap(), &header_.ColorMap(), &images_[0].ColorMap()};
    for (const TGIFColorMap* map : maps) {
        const auto colors = map->Colors();
        if (!colors.empty())
            return {colors.begin(), colors.end()};
    }
    throw GIFException(gif_message::NoColorTable);
}

HPALETTE TGifPicture::FramePalette(TGIFSubImage& frame)
{
    GifFrameDrawing& drawing = FrameDrawing(frame);
    if (!drawing.Palette) {
        if (DitherApplies(drawFlags_, DisplayIsPaletted()))
            drawing.Palette.reset(CreateGifPalette(WebPaletteColors()));
        else
            drawing.Palette.reset(CreateGifPalette(FrameColors(frame)));
    }
    return drawing.Palette.get();
}

const GifFrameDrawing& TGifPicture::RenderFrame(TGIFSubImage& frame)
{
    GifFrameDrawing& drawing = FrameDrawing(frame);
    const bool maskNeeded = frame.Transparent() && frame.NeedMask();
    if (drawing.Rendered && !maskNeeded)
        return drawing;

    Progress(ProgressStage::Starting, 0, RenderingMessage);
    try {
        Render(frame, drawing, maskNeeded);
    } catch (...) {
        Progress(ProgressStage::Ending, 0, RenderingMessage);
        throw;
    }
    Progress(ProgressStage::Ending, 100, RenderingMessage);
    return drawing;
}

void TGifPicture::Render(TGIFSubImage& frame, GifFrameDrawing& drawing, bool maskNeeded)
{
    drawing.Rendered = false;
    drawing.FrameBitmap.reset();
    drawing.FrameMask.reset();
    const int width = frame.Width();
    const int height = frame.Height();
    if (width > 0 && height > 0) {
        const std::vector<TGIFColor> colors = FrameColors(frame);
        FramePalette(frame);
        const auto reportRow = [this, height](int row) {
            if ((row + 1) % ProgressRows == 0)
                Progress(ProgressStage::Running, (row + 1) * 100 / height, RenderingMessage);
        };
        if (DitherApplies(drawFlags_, DisplayIsPaletted())) {
            const std::vector<std::uint8_t> dithered = MapToWebPalette(frame.PixelIndices(), colors);
            drawing.FrameBitmap.reset(CreateIndexedBitmap(width, height, dithered, WebPaletteColors(), reportRow));
        } else {
            drawing.FrameBitmap.reset(CreateIndexedBitmap(width, height, frame.PixelIndices(), colors, reportRow));
        }
        if (maskNeeded) {
            if (const std::optional<GifFrameMask> mask = BuildFrameMask(frame)) {
                drawing.FrameMask.reset(CreateBitmap(width, height, 1, 1, mask->Bits.data()));
                if (!drawing.FrameMask)
                    throw GIFException(gif_message::DibAllocation);
            }
        }
    }
    if (maskNeeded)
        frame.SetNeedMask(false);
    drawing.Rendered = true;
}
