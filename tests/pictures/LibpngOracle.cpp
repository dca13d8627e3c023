#include "LibpngOracle.h"

#include <png.h>

#include <cstring>
#include <sstream>

namespace {

struct ReadSource {
    const std::vector<std::uint8_t>* file;
    std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (source->position + count > source->file->size())
        png_error(png, "read past the end");
    std::memcpy(out, source->file->data() + source->position, count);
    source->position += count;
}

void Silent(png_structp, png_const_charp) {}

void WriteToMemory(png_structp png, png_bytep data, png_size_t count)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void NoFlush(png_structp) {}

}  // namespace

std::optional<RgbaImage> DecodeWithLibpng(const std::vector<std::uint8_t>& file)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Silent);
    png_infop info = png_create_info_struct(png);
    RgbaImage image;
    std::vector<png_bytep> rowPointers;
    ReadSource source{&file, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return std::nullopt;
    }
    png_set_read_fn(png, &source, ReadFromMemory);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(png, info);

    const int colorType = png_get_color_type(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
        if (png_get_valid(png, info, PNG_INFO_tRNS))
            png_set_tRNS_to_alpha(png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
    for (std::uint32_t y = 0; y < image.height; ++y)
        rowPointers.push_back(image.pixels.data() + static_cast<std::size_t>(y) * image.width * 4);
    png_read_image(png, rowPointers.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return image;
}

RgbaImage ApplyReaderConversions(const TPngPicture& picture, RgbaImage raw)
{
    const TPNGList& chunks = picture.ChunkItems();
    std::size_t gammaAt = chunks.Count(), paletteAt = chunks.Count();
    for (std::size_t i = 0; i < chunks.Count(); ++i) {
        if (dynamic_cast<const TChunkgAMA*>(&chunks.Item(i)) && gammaAt == chunks.Count())
            gammaAt = i;
        if (dynamic_cast<const TChunkPLTE*>(&chunks.Item(i)) && paletteAt == chunks.Count())
            paletteAt = i;
    }
    const bool paletteUngamma = picture.Header().ColorType() == 3 && paletteAt < gammaAt;
    if (paletteUngamma)
        return raw;
    const TGammaTable& gamma = picture.GammaLookup();
    for (std::size_t i = 0; i < raw.pixels.size(); i += 4)
        for (int c = 0; c < 3; ++c)
            raw.pixels[i + c] = gamma[raw.pixels[i + c]];
    return raw;
}

std::string FirstDifference(const RgbaImage& expected, const RgbaImage& actual)
{
    std::ostringstream out;
    if (expected.width != actual.width || expected.height != actual.height) {
        out << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
            << "x" << expected.height;
        return out.str();
    }
    for (std::uint32_t y = 0; y < expected.height; ++y)
        for (std::uint32_t x = 0; x < expected.width; ++x) {
            const std::uint8_t* e = expected.Pixel(x, y);
            const std::uint8_t* a = actual.Pixel(x, y);
            if (std::memcmp(e, a, 4) != 0) {
                out << "pixel (" << x << "," << y << ") is " << int(a[0]) << "," << int(a[1]) << ","
                    << int(a[2]) << "," << int(a[3]) << ", expected " << int(e[0]) << "," << int(e[1])
                    << "," << int(e[2]) << "," << int(e[3]);
                return out.str();
            }
        }
    return {};
}

std::vector<std::uint8_t> EncodeWithLibpng(const PngImageSpec& spec)
{
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Silent);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, WriteToMemory, NoFlush);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (spec.gamma)
        png_set_gAMA(png, info, *spec.gamma);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < spec.palette.size(); i += 3)
        palette.push_back(png_color{spec.palette[i], spec.palette[i + 1], spec.palette[i + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!spec.transparency.empty()) {
        const auto& t = spec.transparency;
        if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
            png_set_tRNS(png, info, t.data(), static_cast<int>(t.size()), nullptr);
        } else {
            png_color_16 key{};
            key.gray = static_cast<png_uint_16>((t[0] << 8) | t[1]);
            if (t.size() >= 6) {
                key.red = static_cast<png_uint_16>((t[0] << 8) | t[1]);
                key.green = static_cast<png_uint_16>((t[2] << 8) | t[3]);
                key.blue = static_cast<png_uint_16>((t[4] << 8) | t[5]);
            }
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
    }
    png_write_info(png, info);
    if (spec.interlaced)
        png_set_interlace_handling(png);
    std::vector<png_bytep> rows;
    for (const auto& row : spec.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}
