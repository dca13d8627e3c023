#include "GiflibOracle.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

struct Reader {
    const Bytes& bytes;
    std::size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(count), reader->bytes.size() - reader->at);
    std::memcpy(buffer, reader->bytes.data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

int WriteToMemory(GifFileType* gif, const GifByteType* buffer, int count)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), buffer, buffer + count);
    return count;
}

std::vector<TGIFColor> Colors(const ColorMapObject* map)
{
    std::vector<TGIFColor> colors;
    if (map != nullptr)
        for (int i = 0; i < map->ColorCount; ++i)
            colors.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    return colors;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using MapPtr = std::unique_ptr<ColorMapObject, MapDeleter>;

MapPtr MakeMap(const std::vector<TGIFColor>& colors)
{
    if (colors.empty())
        return nullptr;
    std::vector<GifColorType> entries;
    for (const TGIFColor& c : colors)
        entries.push_back({c.Red, c.Green, c.Blue});
    return MapPtr(GifMakeMapObject(static_cast<int>(entries.size()), entries.data()));
}

void Check(int result, const char* what)
{
    if (result == GIF_ERROR)
        throw std::runtime_error(std::string("giflib failed: ") + what);
}

}  // namespace

std::optional<OracleGif> DecodeWithGiflib(const Bytes& bytes)
{
    Reader reader{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (gif == nullptr)
        return std::nullopt;
    std::optional<OracleGif> result;
    if (DGifSlurp(gif) == GIF_OK) {
        OracleGif decoded;
        decoded.width = gif->SWidth;
        decoded.height = gif->SHeight;
        decoded.globalColors = Colors(gif->SColorMap);
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            OracleFrame frame;
            frame.left = image.ImageDesc.Left;
            frame.top = image.ImageDesc.Top;
            frame.width = image.ImageDesc.Width;
            frame.height = image.ImageDesc.Height;
            frame.interlaced = image.ImageDesc.Interlace;
            frame.localColors = Colors(image.ImageDesc.ColorMap);
            frame.indices.assign(image.RasterBits,
                                 image.RasterBits + static_cast<std::size_t>(frame.width) * frame.height);
            GraphicsControlBlock control;
            if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) {
                frame.transparentIndex = control.TransparentColor;
                frame.disposal = control.DisposalMode;
                frame.delay = control.DelayTime;
            }
            decoded.frames.push_back(std::move(frame));
        }
        result = std::move(decoded);
    }
    DGifCloseFile(gif, &error);
    return result;
}

Bytes EncodeWithGiflib(const OracleGif& picture)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    if (gif == nullptr)
        throw std::runtime_error("giflib cannot open an encoder");
    EGifSetGifVersion(gif, true);
    try {
        const MapPtr global = MakeMap(picture.globalColors);
        Check(EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, global.get()), "screen");
        for (const OracleFrame& frame : picture.frames) {
            if (frame.transparentIndex >= 0 || frame.delay != 0 || frame.disposal != 0) {
                const GraphicsControlBlock control{frame.disposal, false, frame.delay, frame.transparentIndex};
                GifByteType extension[4];
                const auto size = EGifGCBToExtension(&control, extension);
                Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(size), extension), "GCE");
            }
            const MapPtr local = MakeMap(frame.localColors);
            Check(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced,
                                   local.get()),
                  "image");
            const Bytes rows =
                frame.interlaced ? InterlaceRows(frame.indices, frame.width, frame.height) : frame.indices;
            Bytes line(static_cast<std::size_t>(frame.width));
            for (int row = 0; row < frame.height; ++row) {
                std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(row) * frame.width, frame.width, line.begin());
                Check(EGifPutLine(gif, line.data(), frame.width), "line");
            }
            // giflib 5.2 keeps a copy of the image's local table that neither
            // the next image nor closing frees.
            GifFreeMapObject(gif->Image.ColorMap);
            gif->Image.ColorMap = nullptr;
        }
    } catch (...) {
        EGifCloseFile(gif, &error);
        throw;
    }
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        throw std::runtime_error("giflib cannot finish the file");
    return out;
}
