// Decoding speed of our GIF reader against giflib's DGifSlurp, same bytes,
// same process, best of several rounds. Prints times and the ratio ours/giflib
// (below 1: we are faster).
//
//   gif_bench [FILE...]
// Without files it makes a large GIF (about 4.9 megapixels) and a many-frame
// GIF with giflib's encoder, and adds the shared test data's biggest GIFs
// when they are there.
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/gifpicture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

struct Memory {
    const Bytes* bytes;
    std::size_t at;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* memory = static_cast<Memory*>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(count), memory->bytes->size() - memory->at);
    std::memcpy(buffer, memory->bytes->data() + memory->at, n);
    memory->at += n;
    return static_cast<int>(n);
}

int WriteMemory(GifFileType* gif, const GifByteType* buffer, int count)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), buffer, buffer + count);
    return count;
}

// Decodes with giflib; returns the number of pixels, to keep the work observable.
std::size_t DecodeWithGiflib(const Bytes& bytes)
{
    Memory memory{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&memory, ReadMemory, &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK)
        throw std::runtime_error("giflib refuses the file");
    std::size_t pixels = 0;
    for (int i = 0; i < gif->ImageCount; ++i)
        pixels += static_cast<std::size_t>(gif->SavedImages[i].ImageDesc.Width) * gif->SavedImages[i].ImageDesc.Height;
    DGifCloseFile(gif, &error);
    return pixels;
}

std::size_t DecodeWithOurs(const Bytes& bytes)
{
    TGifPicture picture;
    MemoryStream stream(bytes);
    picture.LoadFromStream(stream);
    std::size_t pixels = 0;
    for (std::size_t i = 0; i < picture.Images().Count(); ++i)
        pixels += picture.Images()[i].PixelIndices().size();
    return pixels;
}

double Seconds(const std::function<std::size_t()>& decode)
{
    const auto start = Clock::now();
    volatile std::size_t sink = decode();
    (void)sink;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A photo-like picture: smooth colour fields with noise, 256 colours.
Bytes EncodeWithGiflib(int width, int height, int frames)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteMemory, &error);
    std::vector<GifColorType> colors(256);
    for (int i = 0; i < 256; ++i)
        colors[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                                               static_cast<GifByteType>(i * 7)};
    ColorMapObject* map = GifMakeMapObject(256, colors.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    std::uint32_t noise = 12345;
    for (int f = 0; f < frames; ++f) {
        EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                noise = noise * 1103515245 + 12345;
                const double field = 64 * std::sin(x / 37.0 + f) + 64 * std::cos(y / 23.0) + 128;
                line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(static_cast<int>(field) + ((noise >> 16) % 6));
            }
            EGifPutLine(gif, line.data(), width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Compare(const std::string& name, const Bytes& bytes)
{
    if (DecodeWithOurs(bytes) != DecodeWithGiflib(bytes))
        throw std::runtime_error(name + ": the decoders disagree on the pixel count");
    // Rounds alternate between the decoders so that both see the same machine load.
    double ours = 1e30;
    double theirs = 1e30;
    for (int round = 0; round < 15; ++round) {
        ours = std::min(ours, Seconds([&] { return DecodeWithOurs(bytes); }));
        theirs = std::min(theirs, Seconds([&] { return DecodeWithGiflib(bytes); }));
    }
    std::printf("%-40s %9zu bytes  ours %8.2f ms  giflib %8.2f ms  ratio %.2f\n", name.c_str(), bytes.size(),
                ours * 1e3, theirs * 1e3, ours / theirs);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc > 1) {
            for (int i = 1; i < argc; ++i)
                Compare(std::filesystem::path(argv[i]).filename().string(), ReadFile(argv[i]));
            return 0;
        }
        Compare("made: 2560x1920, 1 frame", EncodeWithGiflib(2560, 1920, 1));
        Compare("made: 320x240, 300 frames", EncodeWithGiflib(320, 240, 300));
        const std::filesystem::path data = std::filesystem::path(TALLYGLASS_TESTDATA_DIR) / "gif";
        for (const char* file : {"wuffs/harvesters.gif", "image-gif/note.gif", "wuffs/gifplayer-muybridge.gif",
                                 "image-gif/sample_big.gif"})
            if (std::filesystem::exists(data / file))
                Compare(file, ReadFile(data / file));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gif_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
