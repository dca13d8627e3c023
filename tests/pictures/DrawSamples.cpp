#include "DrawSamples.h"

namespace {

// A small deterministic generator, so that failures repeat.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint8_t Next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(state_ >> 24);
    }

private:
    std::uint32_t state_;
};

// The first pixels (or palette entries) carry the alpha values every blend
// must get right; two of them below 255 even in a two-colour palette, which
// would otherwise be drawn with a colour key.
std::uint8_t SampleAlpha(std::size_t pixel, Noise& noise)
{
    constexpr std::uint8_t kTelling[] = {128, 0, 255, 1, 254};
    return pixel < std::size(kTelling) ? kTelling[pixel] : noise.Next();
}

// 16-bit samples: the high byte counts, the low byte is noise to be dropped.
void PutSample(Bytes& row, std::uint8_t value, std::uint8_t bitDepth, Noise& noise)
{
    row.push_back(value);
    if (bitDepth == 16)
        row.push_back(noise.Next());
}

Bytes PackIndices(const std::vector<std::uint8_t>& indices, std::uint8_t bitDepth)
{
    Bytes row((indices.size() * bitDepth + 7) / 8);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const std::size_t bit = i * bitDepth;
        row[bit / 8] |= static_cast<std::uint8_t>(indices[i] << (8 - bitDepth - bit % 8));
    }
    return row;
}

std::uint8_t BlendReference(std::uint8_t source, std::uint8_t alpha, std::uint8_t dest)
{
    return static_cast<std::uint8_t>((source * alpha + (255 - alpha) * dest + 255) >> 8);
}

}  // namespace

DrawSample RgbaSample(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint32_t seed)
{
    Noise noise(seed);
    DrawSample sample{"RGBA " + std::to_string(bitDepth), {}, width, height, {}};
    std::vector<Bytes> rows(height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const Rgba p{noise.Next(), noise.Next(), noise.Next(), SampleAlpha(sample.pixels.size(), noise)};
            for (std::uint8_t v : {p.red, p.green, p.blue, p.alpha})
                PutSample(rows[y], v, bitDepth, noise);
            sample.pixels.push_back(p);
        }
    }
    sample.file = PngBuilder().Ihdr(width, height, bitDepth, 6).ImageData(WithFilterByte(rows, 0)).Iend();
    return sample;
}

DrawSample GreyAlphaSample(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint32_t seed)
{
    Noise noise(seed);
    DrawSample sample{"grey with alpha " + std::to_string(bitDepth), {}, width, height, {}};
    std::vector<Bytes> rows(height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t grey = noise.Next();
            const std::uint8_t alpha = SampleAlpha(sample.pixels.size(), noise);
            PutSample(rows[y], grey, bitDepth, noise);
            PutSample(rows[y], alpha, bitDepth, noise);
            sample.pixels.push_back(Rgba{grey, grey, grey, alpha});
        }
    }
    sample.file = PngBuilder()
                      .Ihdr(width, height, bitDepth, 4)
                      .Chunk("gAMA", BigEndian(100000))
                      .ImageData(WithFilterByte(rows, 0))
                      .Iend();
    return sample;
}

DrawSample PaletteAlphaSample(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint32_t seed)
{
    Noise noise(seed);
    DrawSample sample{"palette " + std::to_string(bitDepth), {}, width, height, {}};
    const std::size_t entries = std::size_t{1} << bitDepth;
    std::vector<Rgba> palette(entries);
    Bytes plte, trns;
    for (std::size_t i = 0; i < entries; ++i) {
        palette[i] = Rgba{noise.Next(), noise.Next(), noise.Next(), SampleAlpha(i, noise)};
        plte.insert(plte.end(), {palette[i].red, palette[i].green, palette[i].blue});
        trns.push_back(palette[i].alpha);
    }
    std::vector<Bytes> rows;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::vector<std::uint8_t> indices;
        for (std::uint32_t x = 0; x < width; ++x) {
            indices.push_back(static_cast<std::uint8_t>((x + y * width) % entries));
            sample.pixels.push_back(palette[indices.back()]);
        }
        rows.push_back(PackIndices(indices, bitDepth));
    }
    sample.file = PngBuilder()
                      .Ihdr(width, height, bitDepth, 3)
                      .Chunk("PLTE", plte)
                      .Chunk("tRNS", trns)
                      .ImageData(WithFilterByte(rows, 0))
                      .Iend();
    return sample;
}

std::size_t ReferenceSourceIndex(int dest, int destSize, std::uint32_t sourceSize)
{
    if (static_cast<std::uint32_t>(destSize) == sourceSize)
        return static_cast<std::size_t>(dest);
    return static_cast<std::size_t>(dest / (static_cast<double>(destSize) / sourceSize));
}

CanvasPixels PatternedCanvas(int width, int height)
{
    CanvasPixels pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = CanvasPixel(static_cast<std::uint8_t>(i * 5), static_cast<std::uint8_t>(60 + i),
                                static_cast<std::uint8_t>(200 - i * 3));
    return pixels;
}

CanvasPixels ReferenceBlend(const DrawSample& sample, int destWidth, int destHeight, const CanvasPixels& background)
{
    CanvasPixels result = background;
    for (int y = 0; y < destHeight; ++y) {
        for (int x = 0; x < destWidth; ++x) {
            const std::size_t sx = ReferenceSourceIndex(x, destWidth, sample.width);
            const std::size_t sy = ReferenceSourceIndex(y, destHeight, sample.height);
            const Rgba& s = sample.pixels[sy * sample.width + sx];
            std::uint32_t& d = result[static_cast<std::size_t>(y) * destWidth + x];
            d = CanvasPixel(BlendReference(s.red, s.alpha, static_cast<std::uint8_t>(d >> 16)),
                            BlendReference(s.green, s.alpha, static_cast<std::uint8_t>(d >> 8)),
                            BlendReference(s.blue, s.alpha, static_cast<std::uint8_t>(d)));
        }
    }
    return result;
}
