#include "pictures/gif/GifDrawGeometry.h"

#include <cstdint>
#include <limits>

#include "pictures/gif/GifSubImage.h"

int GifMulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Truncating division after moving half the divisor away from zero.
    const std::int64_t half = divisor / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / divisor;
    if (result > std::numeric_limits<std::int32_t>::max() || result < -std::numeric_limits<std::int32_t>::max())
        return -1;
    return static_cast<int>(result);
}

GifRect PlaceFrame(const TGIFSubImage& frame, int screenWidth, int screenHeight, const GifRect& destination)
{
    const int width = destination.Width();
    const int height = destination.Height();
    return {destination.Left + GifMulDiv(frame.Left(), width, screenWidth),
            destination.Top + GifMulDiv(frame.Top(), height, screenHeight),
            destination.Left + GifMulDiv(frame.Left() + frame.Width(), width, screenWidth),
            destination.Top + GifMulDiv(frame.Top() + frame.Height(), height, screenHeight)};
}

std::vector<GifRect> TileRects(const GifRect& destination, int offsetX, int offsetY, int tileWidth, int tileHeight,
                               int stepX, int stepY)
{
    std::vector<GifRect> tiles;
    // 64-bit positions: a step cannot overflow past the rectangle's edge.
    for (std::int64_t y = static_cast<std::int64_t>(destination.Top) + offsetY; y < destination.Bottom; y += stepY) {
        for (std::int64_t x = static_cast<std::int64_t>(destination.Left) + offsetX; x < destination.Right;
             x += stepX) {
            tiles.push_back({static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + tileWidth),
                             static_cast<int>(y + tileHeight)});
            if (stepX < 1)
                break;
        }
        if (stepY < 1)
            break;
    }
    return tiles;
}
