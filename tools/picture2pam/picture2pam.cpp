// picture2pam INPUT OUTPUT [--frame N]: decodes a picture with the program's
// own readers and writes one frame as PAM, so that what they produce can be
// looked at and compared. The reader is the one the picture-format list gives
// for the file's extension, as the program's picture loading chooses it. A
// file the reader refuses is reported with the exception's class and
// message, and the exit code is 1.
#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "GifToRgba.h"
#include "PamWriter.h"
#include "PngToRgba.h"
#include "pictures/PictureFormats.h"
#include "pictures/Stream.h"
#include "pictures/pngpicture.h"

namespace {

struct Arguments {
    std::string input;
    std::string output;
    unsigned frame = 0;
};

std::optional<Arguments> ParseArguments(int argc, char** argv)
{
    Arguments args;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frame") == 0 && i + 1 < argc)
            args.frame = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else
            positional.emplace_back(argv[i]);
    }
    if (positional.size() != 2)
        return std::nullopt;
    args.input = positional[0];
    args.output = positional[1];
    return args;
}

RgbaImage DecodePng(const std::vector<std::uint8_t>& bytes, unsigned frame)
{
    if (frame != 0)
        throw std::runtime_error("a PNG file has only frame 0");
    MemoryStream stream(bytes);
    TPngPicture picture;
    picture.LoadFromStream(stream);
    return PngToRgba(picture);
}

RgbaImage DecodeGif(const std::vector<std::uint8_t>& bytes, unsigned frame)
{
    return GifToRgba(bytes, static_cast<int>(frame));
}

// How a picture of each registered class turns into RGBA.
using Decoder = RgbaImage (*)(const std::vector<std::uint8_t>& bytes, unsigned frame);
Decoder DecoderOfClass(const std::string& className)
{
    if (className == "TPngPicture")
        return DecodePng;
    if (className == "TGifPicture")
        return DecodeGif;
    return nullptr;
}

std::string ClassNameOf(const std::exception& e)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status),
                                                     &std::free);
    return status == 0 && name ? name.get() : typeid(e).name();
}

}  // namespace

int main(int argc, char** argv)
{
    const auto args = ParseArguments(argc, argv);
    if (!args) {
        std::cerr << "usage: picture2pam INPUT OUTPUT [--frame N]\n";
        return 2;
    }
    std::ifstream in(args->input, std::ios::binary);
    if (!in) {
        std::cerr << "cannot open " << args->input << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};

    RegisterPictureFormats();
    const std::string extension = std::filesystem::path(args->input).extension().string();
    const TPictureFormat* format = PictureFormats().FindExtension(extension.empty() ? "" : extension.substr(1));
    const Decoder decode = format ? DecoderOfClass(format->ClassName) : nullptr;
    if (!decode) {
        std::cerr << "Unknown picture file extension (" << extension << ")\n";
        return 1;
    }
    RgbaImage image;
    try {
        image = decode(bytes, args->frame);
    } catch (const std::exception& e) {
        std::cerr << ClassNameOf(e) << ": " << e.what() << "\n";
        return 1;
    }

    std::ofstream out(args->output, std::ios::binary);
    WritePam(out, image);
    if (!out) {
        std::cerr << "cannot write " << args->output << "\n";
        return 1;
    }
    return 0;
}
