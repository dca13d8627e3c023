#include "GifDrawTestSupport.h"

#include <tlhelp32.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

template <class Interface>
struct ComPtr {
    Interface* p = nullptr;
    ~ComPtr()
    {
        if (p)
            p->Release();
    }
    Interface** operator&() { return &p; }
    Interface* operator->() const { return p; }
};

}  // namespace

DibCanvas::DibCanvas(int width, int height, Rgb background)
    : DibCanvas(width, height, [background](int, int) { return background; })
{
}

DibCanvas::DibCanvas(int width, int height, Background background)
    : width_(width), height_(height), background_(std::move(background)), dc_(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = background_(x, y);
    original_ = SelectObject(dc_, bitmap_);
}

DibCanvas::~DibCanvas()
{
    SelectObject(dc_, original_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

std::vector<Rgb> DibCanvas::Pixels() const
{
    GdiFlush();
    // GetDIBits wants the bitmap out of any DC.
    SelectObject(dc_, original_);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<Rgb> pixels(static_cast<std::size_t>(width_ * height_));
    GetDIBits(dc_, bitmap_, 0, static_cast<UINT>(height_), pixels.data(), &info, DIB_RGB_COLORS);
    SelectObject(dc_, bitmap_);
    for (Rgb& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

std::string DibCanvas::Differences(const std::function<Rgb(int x, int y)>& expected) const
{
    const std::vector<Rgb> pixels = Pixels();
    std::ostringstream out;
    int count = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const Rgb want = expected(x, y);
            const Rgb got = pixels[static_cast<std::size_t>(y * width_ + x)];
            if (got != want && count++ < 5)
                out << std::hex << "(" << std::dec << x << "," << y << ") " << std::hex << got << " not " << want
                    << "; ";
        }
    if (count > 5)
        out << std::dec << count << " pixels differ";
    return out.str();
}

Rgb PatternBackground(int x, int y) { return static_cast<Rgb>((x * 7 % 256) << 16 | (y * 5 % 256) << 8 | 0x5A); }

std::unique_ptr<TGifPicture> LoadPicture(const Bytes& bytes)
{
    LoadResult result = LoadGif(bytes);
    EXPECT_FALSE(result.error) << *result.error;
    return std::move(result.picture);
}

std::optional<RgbaFrame> ReadPngFrame(const std::filesystem::path& path)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(path.wstring().c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    UINT width = 0, height = 0;
    converter->GetSize(&width, &height);
    RgbaFrame result{static_cast<int>(width), static_cast<int>(height), Bytes(width * height * 4)};
    if (FAILED(
            converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(result.pixels.size()), result.pixels.data())))
        return std::nullopt;
    return result;
}

int ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    const DWORD process = GetCurrentProcessId();
    if (Thread32First(snapshot, &entry)) {
        do {
            if (entry.th32OwnerProcessID == process)
                ++count;
        } while (Thread32Next(snapshot, &entry));
    }
    CloseHandle(snapshot);
    return count;
}

