#pragma once
// The decoded picture in the shape of a Windows device-independent bitmap, so
// that the host decodes exactly the bytes the Windows build draws: a header laid
// out like BITMAPINFOHEADER, a 256-entry colour table of RGBQUADs, and the pixel
// memory behind a small allocation seam.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#pragma pack(push, 1)
// Same fields, order and size (40 bytes) as Windows' BITMAPINFOHEADER.
struct TBitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;  // positive: bottom-up rows
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;  // always BI_RGB (0) here
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

// Same layout as Windows' RGBQUAD.
struct TRGBQuad {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};

// A BITMAPINFO with room for the full colour table: can be handed to GDI as is.
struct TDibInfo {
    TBitmapInfoHeader bmiHeader;
    TRGBQuad bmiColors[256];
};
#pragma pack(pop)

static_assert(sizeof(TBitmapInfoHeader) == 40);
static_assert(sizeof(TRGBQuad) == 4);
static_assert(sizeof(TDibInfo) == 40 + 256 * 4);

// A 24-bit colour in the layout of a Windows COLORREF: 0x00BBGGRR. The same
// type as the window toolkit's colour (which also holds system colours as
// negative values), so that both can be seen from one file.
using TColor = std::int32_t;
constexpr TColor RGBColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return red | (green << 8) | (static_cast<TColor>(blue) << 16);
}

// Bytes of one DIB row: rows are padded to whole 32-bit words.
constexpr std::size_t DibRowStride(unsigned bitsPerPixel, std::uint32_t width)
{
    return ((static_cast<std::size_t>(bitsPerPixel) * width + 31) / 32) * 4;
}

// --- The allocation seam ------------------------------------------------------
//
// Pixel memory for a decoded DIB. The decoder asks for `size` bytes for the
// image that `info` describes and writes into Bits() directly, so a Windows
// allocator can hand out the bits of a DIB section (CreateDIBSection) and keep
// the section's handles in its own ImageMemory subclass; the drawing code then
// reaches them with dynamic_cast. The memory must be zeroed: sub-byte pixels are
// OR-ed into place.
class ImageMemory {
public:
    virtual ~ImageMemory() = default;
    virtual std::uint8_t* Bits() = 0;
};

// Returns the memory, or nullptr when it cannot be had (the decoder then raises
// its out-of-memory error). It must not throw.
using ImageAllocator =
    std::function<std::unique_ptr<ImageMemory>(const TDibInfo& info, std::size_t size)>;

// Zeroed heap memory; the default.
std::unique_ptr<ImageMemory> AllocateHeapImage(const TDibInfo& info, std::size_t size);

// The allocator the picture readers use, process-wide. Set it at start-up,
// before any picture is loaded; returns the previous one. An empty function
// restores the heap allocator.
ImageAllocator SetImageAllocator(ImageAllocator allocator);
std::unique_ptr<ImageMemory> AllocateImageMemory(const TDibInfo& info, std::size_t size);
