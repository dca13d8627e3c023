#include "TestCanvas.h"

#include <winternl.h>

#include <stdexcept>

TestCanvas::TestCanvas(int width, int height, const CanvasPixels& pixels)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
{
    const BITMAPINFO info = Info();
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc_ || !bitmap_)
        throw std::runtime_error("no test canvas");
    SetDIBits(dc_, bitmap_, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
    previous_ = SelectObject(dc_, bitmap_);
}

TestCanvas::~TestCanvas()
{
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

BITMAPINFO TestCanvas::Info() const
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

CanvasPixels TestCanvas::Pixels() const
{
    // GetDIBits wants the bitmap out of every device context.
    SelectObject(dc_, previous_);
    BITMAPINFO info = Info();
    CanvasPixels pixels(static_cast<std::size_t>(width_) * height_);
    const int rows = GetDIBits(dc_, bitmap_, 0, height_, pixels.data(), &info, DIB_RGB_COLORS);
    SelectObject(dc_, bitmap_);
    if (rows != height_)
        throw std::runtime_error("GetDIBits failed");
    for (std::uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

CanvasPixels Pasted(CanvasPixels pixels, int width, const CanvasPixels& inner, const RECT& at)
{
    const int innerWidth = at.right - at.left;
    for (std::size_t i = 0; i < inner.size(); ++i)
        pixels[(at.top + i / innerWidth) * width + at.left + i % innerWidth] = inner[i];
    return pixels;
}

CanvasPixels Cut(const CanvasPixels& pixels, int width, const RECT& from)
{
    CanvasPixels part;
    for (int y = from.top; y < from.bottom; ++y)
        for (int x = from.left; x < from.right; ++x)
            part.push_back(pixels[static_cast<std::size_t>(y) * width + x]);
    return part;
}

namespace {

// One entry of the GDI handle table that the process environment block points
// to; Wine lays its table out as Windows does.
#pragma pack(push, 1)
struct GdiTableEntry {
    std::uint64_t kernelAddress;
    std::uint16_t processId;
    std::uint16_t count;
    std::uint16_t upper;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userAddress;
};
#pragma pack(pop)
static_assert(sizeof(GdiTableEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::size_t kGdiSharedHandleTableOffset = 0xF8;  // in the 64-bit PEB

std::size_t CountGdiTableEntries()
{
    PROCESS_BASIC_INFORMATION process{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0)
        throw std::runtime_error("no process information");
    const auto* peb = reinterpret_cast<const std::uint8_t*>(process.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiTableEntry* const*>(peb + kGdiSharedHandleTableOffset);
    if (!table)
        throw std::runtime_error("no GDI handle table");
    std::size_t live = 0;
    for (std::size_t i = 0; i < kGdiTableEntries; ++i)
        live += table[i].type != 0;
    return live;
}

}  // namespace

std::size_t LiveGdiObjects()
{
    SetLastError(0);
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED)
        return CountGdiTableEntries();
    return counted;
}
