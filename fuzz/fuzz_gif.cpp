// libFuzzer target for the GIF reader: every input must end in a loaded
// picture or a GIFException (with the stream moved back), and a loaded
// picture's frames must hold exactly their pixels.
#include <cstdint>
#include <cstdlib>

#include "pictures/gifpicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TGifPicture picture;
    picture.WarningHandler = [](const GifPersistent&, int severity, const std::string& message) {
        if (severity != GifWarningSeverity || message.empty())
            std::abort();
    };
    MemoryStream stream({data, size});
    try {
        picture.LoadFromStream(stream);
    } catch (const GIFException&) {
        if (stream.Position() != 0)
            std::abort();
    }
    // Anything else escapes and libFuzzer reports it.

    unsigned sum = 0;
    for (std::size_t i = 0; i < picture.Images().Count(); ++i) {
        const TGIFSubImage& frame = picture.Images()[i];
        if (frame.Empty())
            continue;
        if (frame.PixelIndices().size() != static_cast<std::size_t>(frame.Width()) * frame.Height())
            std::abort();
        for (const std::uint8_t index : frame.PixelIndices())
            sum += index;
    }
    return static_cast<int>(sum & 0);
}
