#pragma once
// giflib as an independent decoder and encoder for the tests (host build only).
#include <optional>
#include <vector>

#include "GifWriter.h"

struct OracleFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<TGIFColor> localColors;
    Bytes indices;  // top row first
    int transparentIndex = -1;
    int disposal = 0;
    int delay = 0;
};

struct OracleGif {
    int width = 0;
    int height = 0;
    std::vector<TGIFColor> globalColors;
    std::vector<OracleFrame> frames;
};

// giflib's reading of bytes, or nothing when giflib refuses them.
std::optional<OracleGif> DecodeWithGiflib(const Bytes& bytes);
// giflib's encoding of a picture (GIF89a; a Graphic Control Extension for
// frames with transparency, delay or disposal; colour tables of 2..256
// entries, a power of two).
Bytes EncodeWithGiflib(const OracleGif& gif);
