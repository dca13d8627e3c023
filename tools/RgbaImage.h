#pragma once
// A decoded picture as the tools hand it on: 8-bit RGBA, top row first.
#include <cstdint>
#include <vector>

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes
};
