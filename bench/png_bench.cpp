// Decode time of the PNG reader against libpng on the same files, same machine,
// one run: a large RGBA image, a large palette image and an interlaced one,
// made here with libpng's writer, plus the large files of the shared test data
// when they are present. Prints one ratio per file (reader time / libpng time;
// below 1 means the reader is faster).
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LibpngOracle.h"
#include "pictures/pngpicture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
// The machine is shared: the two decoders take turns, and the best time of
// each counts, so that a busy moment does not land on one side only.
constexpr int kRuns = 9;

struct ReadSource {
    const Bytes* file;
    std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
    std::memcpy(out, source->file->data() + source->position, count);
    source->position += count;
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's plain decode: native sample layout, no transformations.
void DecodeWithLibpngNative(const Bytes& file)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
    png_infop info = png_create_info_struct(png);
    ReadSource source{&file, 0};
    png_set_read_fn(png, &source, ReadFromMemory);
    png_read_info(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const std::uint32_t height = png_get_image_height(png, info);
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[rowBytes * height]);
    std::vector<png_bytep> rows(height);
    for (std::uint32_t y = 0; y < height; ++y)
        rows[y] = image.get() + y * rowBytes;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
}

void DecodeWithReader(const Bytes& file)
{
    MemoryStream stream(file);
    TPngPicture picture;
    picture.LoadFromStream(stream);
}

double Seconds(const std::function<void()>& decode)
{
    const auto start = std::chrono::steady_clock::now();
    decode();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Smooth gradients with a little noise, as a photograph or rendering has:
// libpng's adaptive filtering then picks every filter type.
PngImageSpec MakeImage(std::uint32_t width, std::uint32_t height, int colorType, bool interlaced)
{
    PngImageSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colorType = colorType;
    spec.bitDepth = 8;
    spec.interlaced = interlaced;
    const unsigned channels = colorType == 6 ? 4 : colorType == 2 ? 3 : 1;
    std::uint32_t noise = 1;
    for (std::uint32_t y = 0; y < height; ++y) {
        Bytes row(static_cast<std::size_t>(width) * channels);
        for (std::uint32_t x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const unsigned jitter = (noise >> 16) & 7;
            const unsigned values[4] = {(x / 8 + jitter) & 255, (y / 8 + jitter) & 255,
                                        ((x + y) / 16 + jitter) & 255, (255 - x / 16) & 255};
            for (unsigned c = 0; c < channels; ++c)
                row[static_cast<std::size_t>(x) * channels + c] =
                    static_cast<std::uint8_t>(colorType == 3 ? (values[0] + values[1]) & 255 : values[c]);
        }
        spec.rows.push_back(std::move(row));
    }
    if (colorType == 3)
        for (int i = 0; i < 256 * 3; ++i)
            spec.palette.push_back(static_cast<std::uint8_t>(i * 7));
    return spec;
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    Bytes bytes;
    if (!f)
        return bytes;
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

// Only the cases whose name contains this text (all when empty).
std::string g_only;

void Compare(const std::string& name, const Bytes& file)
{
    if (name.find(g_only) == std::string::npos)
        return;
    if (file.empty()) {
        std::printf("%-50s (not present)\n", name.c_str());
        return;
    }
    double reader = 1e9, libpng = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        reader = std::min(reader, Seconds([&] { DecodeWithReader(file); }));
        libpng = std::min(libpng, Seconds([&] { DecodeWithLibpngNative(file); }));
    }
    std::printf("%-50s reader %8.2f ms   libpng %8.2f ms   ratio %.2f\n", name.c_str(), reader * 1e3,
                libpng * 1e3, reader / libpng);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        g_only = argv[1];
    std::printf("best of %d runs each\n", kRuns);
    const struct {
        const char* name;
        int colorType;
        bool interlaced;
    } generated[] = {
        {"generated 2048x2048 RGBA8", 6, false},
        {"generated 2048x2048 palette 8-bit", 3, false},
        {"generated 2048x2048 RGB8 Adam7", 2, true},
        {"generated 2048x2048 RGBA8 Adam7", 6, true},
    };
    for (const auto& g : generated)
        if (std::string(g.name).find(g_only) != std::string::npos)
            Compare(g.name, EncodeWithLibpng(MakeImage(2048, 2048, g.colorType, g.interlaced)));

    const char* env = std::getenv("TALLYGLASS_TESTDATA");
    const std::filesystem::path data = env ? env : TALLYGLASS_TESTDATA_DIR;
    for (const char* file : {"png-extra/image-png/Exoplanet_Phase_Curve_(Diagram).png",
                             "png-extra/image-png/Exoplanet_Phase_Curve_(Diagram)_indexed_gimp.png",
                             "png-extra/pillow/old-style-jpeg-compression.png",
                             "png-extra/wuffs/harvesters.png", "png-extra/image-png/paletted-zune.png"})
        Compare(std::filesystem::path(file).filename().string(), ReadFile(data / file));
    return 0;
}
