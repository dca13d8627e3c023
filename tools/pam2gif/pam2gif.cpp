// pam2gif INPUT OUTPUT TABLE-SIZE TRANSPARENT-INDEX DISPOSAL DELAY MATTE
// Writes a PAM picture (P7, RGB_ALPHA, 8 bits) as a GIF89a of exactly one
// frame: a global colour table of TABLE-SIZE entries (a power of 2), one
// Graphic Control Extension with DISPOSAL, DELAY (hundredths of a second)
// and TRANSPARENT-INDEX for the pixels of alpha below half, and one
// non-interlaced image whose LZW minimum code size is the table's bits.
// The opaque pixels may have at most TABLE-SIZE - 1 colours; they take the
// other indices in colour order. The transparent entry and unused ones are
// MATTE (RRGGBB), the background the picture was drawn for. Made for the
// About logo (scripts/make-logo), with the tests' GIF encoder.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "GifWriter.h"

namespace {

struct Pam {
    int width = 0;
    int height = 0;
    Bytes rgba;
};

bool ReadPam(const std::string& path, Pam& pam)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != "P7")
        return false;
    int depth = 0, maxval = 0;
    std::string tupleType;
    while (std::getline(in, line) && line != "ENDHDR") {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "WIDTH")
            fields >> pam.width;
        else if (key == "HEIGHT")
            fields >> pam.height;
        else if (key == "DEPTH")
            fields >> depth;
        else if (key == "MAXVAL")
            fields >> maxval;
        else if (key == "TUPLTYPE")
            fields >> tupleType;
    }
    if (depth != 4 || maxval != 255 || tupleType != "RGB_ALPHA" || pam.width < 1 || pam.height < 1)
        return false;
    pam.rgba.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return pam.rgba.size() == static_cast<std::size_t>(pam.width) * static_cast<std::size_t>(pam.height) * 4;
}

int Fail(const std::string& message)
{
    std::cerr << "pam2gif: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 8) {
        std::cerr << "usage: pam2gif INPUT OUTPUT TABLE-SIZE TRANSPARENT-INDEX DISPOSAL DELAY MATTE\n";
        return 2;
    }
    const int tableSize = std::atoi(argv[3]);
    const int transparent = std::atoi(argv[4]);
    const int disposal = std::atoi(argv[5]);
    const int delay = std::atoi(argv[6]);
    const unsigned long matteValue = std::strtoul(argv[7], nullptr, 16);
    int bits = 1;
    while ((1 << bits) < tableSize)
        ++bits;
    if ((1 << bits) != tableSize || bits > 8 || transparent < 0 || transparent >= tableSize)
        return Fail("the table size must be a power of 2 up to 256, holding the transparent index");

    Pam pam;
    if (!ReadPam(argv[1], pam))
        return Fail(std::string("cannot read an 8-bit RGB_ALPHA PAM from ") + argv[1]);

    // Opaque colours in colour order, numbered around the transparent index.
    std::map<std::tuple<int, int, int>, int> indices;
    for (std::size_t at = 0; at < pam.rgba.size(); at += 4)
        if (pam.rgba[at + 3] >= 128)
            indices[{pam.rgba[at], pam.rgba[at + 1], pam.rgba[at + 2]}] = 0;
    if (indices.size() > static_cast<std::size_t>(tableSize - 1))
        return Fail("the opaque pixels have " + std::to_string(indices.size()) + " colours");
    const TGIFColor matte{static_cast<std::uint8_t>(matteValue >> 16), static_cast<std::uint8_t>(matteValue >> 8),
                          static_cast<std::uint8_t>(matteValue)};
    std::vector<TGIFColor> table(static_cast<std::size_t>(tableSize), matte);
    int next = 0;
    for (auto& [color, index] : indices) {
        if (next == transparent)
            ++next;
        index = next++;
        table[static_cast<std::size_t>(index)] = {static_cast<std::uint8_t>(std::get<0>(color)),
                                                  static_cast<std::uint8_t>(std::get<1>(color)),
                                                  static_cast<std::uint8_t>(std::get<2>(color))};
    }

    ImageSpec image;
    image.width = pam.width;
    image.height = pam.height;
    image.lzw.codeSize = bits < 2 ? 2 : bits;
    for (std::size_t at = 0; at < pam.rgba.size(); at += 4)
        image.indices.push_back(static_cast<std::uint8_t>(
            pam.rgba[at + 3] >= 128 ? indices.at({pam.rgba[at], pam.rgba[at + 1], pam.rgba[at + 2]}) : transparent));

    const Bytes gif = GifWriter()
                          .Header(pam.width, pam.height, table, "GIF89a", static_cast<std::uint8_t>(transparent))
                          .GraphicControl(disposal, true, transparent, delay)
                          .Image(image)
                          .Trailer()
                          .Data();
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
    if (!out)
        return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
