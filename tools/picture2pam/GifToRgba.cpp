#include "GifToRgba.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "pictures/gifpicture.h"

RgbaImage GifToRgba(std::span<const std::uint8_t> bytes, int frame)
{
    TGifPicture picture;
    MemoryStream stream(bytes);
    picture.LoadFromStream(stream);
    if (frame < 0 || static_cast<std::size_t>(frame) >= picture.Images().Count())
        throw std::runtime_error("the picture has no frame " + std::to_string(frame));
    const TGIFSubImage& image = picture.Images()[static_cast<std::size_t>(frame)];
    if (image.Empty())
        throw std::runtime_error("frame " + std::to_string(frame) + " has no image data");

    const TGIFColorMap& colors = image.ActiveColorMap();
    const TGIFGraphicControlExtension* control = image.GraphicControlExtension();
    const int transparentIndex = image.Transparent() && control != nullptr ? control->TransparentColorIndex() : -1;

    RgbaImage result;
    result.width = static_cast<std::uint32_t>(image.Width());
    result.height = static_cast<std::uint32_t>(image.Height());
    result.pixels.reserve(image.PixelIndices().size() * 4);
    for (const std::uint8_t index : image.PixelIndices()) {
        const TGIFColor color = index < colors.Count() ? colors[index] : TGIFColor{};
        result.pixels.insert(result.pixels.end(), {color.Red, color.Green, color.Blue,
                                                   static_cast<std::uint8_t>(index == transparentIndex ? 0 : 255)});
    }
    return result;
}
