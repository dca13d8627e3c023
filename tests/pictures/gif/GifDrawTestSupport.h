#pragma once
// Helpers of the Windows drawing tests: a canvas whose pixels can be read
// back, expected frames of the conformance suites, and counts of the
// process's threads and GDI objects.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "GifTestSupport.h"

// 0xRRGGBB.
using Rgb = std::uint32_t;
inline Rgb ToRgb(const TGIFColor& c) { return static_cast<Rgb>(c.Red) << 16 | c.Green << 8 | c.Blue; }

// A 32-bit DIB section selected into a memory DC, filled with a background.
class DibCanvas {
public:
    using Background = std::function<Rgb(int x, int y)>;
    DibCanvas(int width, int height, Background background);
    DibCanvas(int width, int height, Rgb background);
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    ~DibCanvas();

    HDC DC() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb BackgroundAt(int x, int y) const { return background_(x, y); }
    // Read back with GetDIBits, top row first.
    std::vector<Rgb> Pixels() const;
    Rgb Pixel(int x, int y) const { return Pixels()[static_cast<std::size_t>(y * width_ + x)]; }
    // Where the canvas differs from expected(x, y): "" when nowhere, else the
    // first few places.
    std::string Differences(const std::function<Rgb(int x, int y)>& expected) const;

private:
    int width_;
    int height_;
    Background background_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ original_;
};

// A pattern that no test picture uses, so that a pixel left alone shows.
Rgb PatternBackground(int x, int y);

std::unique_ptr<TGifPicture> LoadPicture(const Bytes& bytes);

// An RGBA frame as the suites give it (width x height x 4 bytes).
struct RgbaFrame {
    int width = 0;
    int height = 0;
    Bytes pixels;
};
// A PNG read through the system's imaging component (an independent decoder).
std::optional<RgbaFrame> ReadPngFrame(const std::filesystem::path& path);

// The threads of this process.
int ThreadCount();
