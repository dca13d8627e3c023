#include "pictures/gif/GifFrameList.h"

#include "pictures/gif/GifException.h"
#include "pictures/gifpicture.h"

namespace {

// Reads past zero bytes; false at the end of the stream.
bool ReadNonZeroByte(Stream& stream, std::uint8_t& byte)
{
    while (ReadByte(stream, byte))
        if (byte != 0)
            return true;
    return false;
}

}  // namespace

void TGIFFrameList::LoadFromStream(Stream& stream)
{
    std::uint8_t byte;
    if (!ReadNonZeroByte(stream, byte))
        return;
    while (byte != gif_block::Trailer) {
        StepBack(stream);
        if (byte != gif_block::ExtensionIntroducer && byte != gif_block::ImageSeparator) {
            Warning(GifWarningSeverity, gif_message::UnknownBlockType);
            return;
        }
        auto frame = std::make_unique<TGIFSubImage>(Image());
        frame->LoadFromStream(stream);
        Add(std::move(frame));
        if (Image() != nullptr)
            Image()->FrameLoaded(stream);
        if (!ReadNonZeroByte(stream, byte))
            return;
    }
    StepBack(stream);
}
