#pragma once
// libpng as the independent decoder the PNG reader is checked against.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RgbaImage.h"
#include "pictures/pngpicture.h"

// libpng's own decode to 8-bit RGBA without gamma handling: palettes and low
// grey depths expanded, 16-bit samples cut to their high byte, alpha from an
// alpha channel or a palette's tRNS (a grey or truecolour tRNS key stays
// opaque). Nothing when libpng refuses the file.
std::optional<RgbaImage> DecodeWithLibpng(const std::vector<std::uint8_t>& file);

// What the reader should show for libpng's pixels: every colour through the
// picture's gamma table, except a palette read before the gAMA chunk.
RgbaImage ApplyReaderConversions(const TPngPicture& picture, RgbaImage raw);

// Empty when equal, else a description of the first difference.
std::string FirstDifference(const RgbaImage& expected, const RgbaImage& actual);

// A PNG written by libpng from rows of packed samples, as the standard lays
// them out (no filter-type byte).
struct PngImageSpec {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    int colorType = 0;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<std::uint8_t> palette;       // RGB triples
    std::vector<std::uint8_t> transparency;  // tRNS data as stored
    std::optional<double> gamma;             // file gamma for gAMA
};
std::vector<std::uint8_t> EncodeWithLibpng(const PngImageSpec& spec);
