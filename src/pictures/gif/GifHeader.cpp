#include "pictures/gif/GifHeader.h"

#include <cctype>

#include "pictures/gif/GifException.h"

namespace {

constexpr std::uint8_t GlobalTableFlag = 0x80;
constexpr std::uint8_t SortFlag = 0x08;
constexpr std::uint8_t TableSizeBits = 0x07;
// Picture data in some containers carries 4 bytes in front of the signature.
constexpr int SignaturePrefixSize = 4;

bool StartsWithGif(const std::array<char, 6>& signature)
{
    const char gif[] = "GIF";
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(signature[i])) != gif[i])
            return false;
    return true;
}

}  // namespace

void TGIFHeader::LoadFromStream(Stream& stream)
{
    const std::int64_t start = stream.Position();
    ReadExact(stream, signature_.data(), signature_.size());
    if (!StartsWithGif(signature_)) {
        stream.SetPosition(start + SignaturePrefixSize);
        ReadExact(stream, signature_.data(), signature_.size());
        if (!StartsWithGif(signature_))
            throw GIFException(gif_message::InvalidSignature);
    }

    std::uint8_t lsd[7];
    ReadExact(stream, lsd, sizeof lsd);
    screen_.ScreenWidth = static_cast<std::uint16_t>(lsd[0] | lsd[1] << 8);
    screen_.ScreenHeight = static_cast<std::uint16_t>(lsd[2] | lsd[3] << 8);
    screen_.PackedFields = lsd[4];
    screen_.BackgroundColorIndex = lsd[5];
    screen_.AspectRatio = lsd[6];

    if (screen_.PackedFields & GlobalTableFlag) {
        colorMap_.LoadFromStream(stream, ColorTableEntries(screen_.PackedFields));
        colorMap_.SetSorted((screen_.PackedFields & SortFlag) != 0);
    } else {
        colorMap_.Clear();
    }
}

void TGIFHeader::Clear()
{
    colorMap_.Clear();
    screen_.ScreenWidth = 0;
    screen_.ScreenHeight = 0;
    screen_.PackedFields &= static_cast<std::uint8_t>(~(GlobalTableFlag | SortFlag | TableSizeBits));
}

void TGIFTrailer::LoadFromStream(Stream& stream)
{
    std::uint8_t byte;
    if (ReadByte(stream, byte) && byte != gif_block::Trailer)
        Warning(GifWarningSeverity, gif_message::InvalidTrailer);
}
