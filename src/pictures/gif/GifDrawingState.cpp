#include "pictures/gif/GifDrawingState.h"

#include <atomic>
#include <vector>

#include "base/ScopeExit.h"
#include "pictures/gif/GifException.h"
#include "pictures/gif/GifPainter.h"

namespace {

constexpr WORD LogicalPaletteVersion = 0x300;

HBITMAP CreateSurfaceBitmap(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

HPALETTE CreateGifPalette(std::span<const TGIFColor> colors)
{
    if (colors.empty())
        return nullptr;
    // LOGPALETTE ends in a one-entry array; the entries follow it.
    std::vector<std::byte> storage(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = LogicalPaletteVersion;
    palette->palNumEntries = static_cast<WORD>(colors.size());
    PALETTEENTRY* entries = palette->palPalEntry;
    for (std::size_t i = 0; i < colors.size(); ++i)
        entries[i] = {colors[i].Red, colors[i].Green, colors[i].Blue, 0};
    HPALETTE handle = CreatePalette(palette);
    if (handle == nullptr)
        throw GIFException(gif_message::DibAllocation);
    return handle;
}

bool DisplayIsPaletted()
{
    // 0 until the display answered: a DC refused while GDI is short of room
    // must not decide it for good.
    static std::atomic<int> bits{0};
    if (bits == 0) {
        if (HDC screen = GetDC(nullptr)) {
            bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
            ReleaseDC(nullptr, screen);
        }
    }
    return bits > 0 && bits < 9;
}

GifBitmapSurface::GifBitmapSurface(int width, int height)
    : width_(width),
      height_(height),
      surface_(CreateMemoryDC(nullptr), GdiObject<HBITMAP>(CreateSurfaceBitmap(width, height)))
{
    if (!surface_.Valid())
        throw GIFException(gif_message::DibAllocation);
}

GifPictureDrawing::GifPictureDrawing() : Painters(std::make_shared<GifPainterList>()) {}

GifPictureDrawing::~GifPictureDrawing() = default;

void GifPictureDrawing::StopPainting()
{
    // Handlers run while waiting, and may clear the picture and so free
    // this object: only the shared pieces are used from here on.
    const std::shared_ptr<GifDrawGuard> guard = Guard;
    const std::shared_ptr<GifPainterList> painters = Painters;
    const bool wasBusy = guard->Busy;
    guard->Busy = true;
    ++guard->Stops;
    ScopeExit restore([guard, wasBusy] { guard->Busy = wasBusy; });
    painters->StopAll();
    painters->WaitUntilEmpty();
    painters->ReleaseEnded();
}
