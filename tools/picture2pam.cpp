// picture2pam INPUT OUTPUT [--frame N]
// Decodes a picture with the program's own readers and writes one frame as a
// PAM image (P7, RGB_ALPHA, 8 bits, top row first). A file the readers refuse
// makes it print the exception class and message and exit with 1.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "GifToRgba.h"
#include "RgbaImage.h"
#include "pictures/gifpicture.h"

namespace {

int Usage()
{
    std::cerr << "usage: picture2pam INPUT OUTPUT [--frame N]\n";
    return 2;
}

bool WritePam(const std::string& path, const RgbaImage& image)
{
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << image.width << "\nHEIGHT " << image.height
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    out.write(reinterpret_cast<const char*>(image.rgba.data()), static_cast<std::streamsize>(image.rgba.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5)
        return Usage();
    int frame = 0;
    if (argc == 5) {
        if (std::string(argv[3]) != "--frame")
            return Usage();
        char* end = nullptr;
        frame = static_cast<int>(std::strtol(argv[4], &end, 10));
        if (*end != '\0')
            return Usage();
    }

    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "picture2pam: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    RgbaImage image;
    try {
        if (LooksLikeGif(bytes)) {
            image = GifToRgba(bytes, frame);
        } else {
            std::cerr << "picture2pam: " << argv[1] << " is not a picture this program reads\n";
            return 1;
        }
    } catch (const GIFException& e) {
        std::cout << "GIFException: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "picture2pam: " << e.what() << "\n";
        return 1;
    }
    if (!WritePam(argv[2], image)) {
        std::cerr << "picture2pam: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
