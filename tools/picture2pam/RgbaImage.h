#pragma once
// A decoded frame as plain 8-bit RGBA, top row first: what the tools write and
// what the tests compare.
#include <cstdint>
#include <vector>

struct RgbaImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes: R, G, B, A

    const std::uint8_t* Pixel(std::uint32_t x, std::uint32_t y) const
    {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};
