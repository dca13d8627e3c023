#include "pictures/gif/GifExtensions.h"

#include "pictures/gif/GifException.h"
#include "pictures/gif/GifSubImage.h"

TGIFExtension::TGIFExtension(TGIFSubImage& frame) : TGIFItem(frame.Image()), frame_(frame) {}

void TGIFExtension::LoadFromStream(Stream& stream)
{
    std::uint8_t start[2];
    ReadExact(stream, start, sizeof start);
    if (start[0] != gif_block::ExtensionIntroducer)
        throw GIFException(gif_message::InvalidExtensionIntroducer);
    if (start[1] != ExtensionType())
        throw GIFException(gif_message::ExtensionLabelMismatch);
    LoadBody(stream);
}

std::vector<std::string> ReadTextSubBlocks(Stream& stream)
{
    std::vector<std::string> lines;
    std::uint8_t size;
    while (ReadByte(stream, size) && size != 0) {
        std::string line(size, '\0');
        ReadExact(stream, line.data(), size);
        lines.push_back(std::move(line));
    }
    return lines;
}

const TGIFExtensionClass TGIFGraphicControlExtension::Class{
    "TGIFGraphicControlExtension", Label, nullptr, CreateGifExtension<TGIFGraphicControlExtension>};

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage& frame) : TGIFExtension(frame)
{
    if (frame.GraphicControlExtension() == nullptr)
        frame.SetGraphicControlExtension(this);
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension()
{
    if (SubImage().GraphicControlExtension() == this)
        SubImage().SetGraphicControlExtension(nullptr);
}

void TGIFGraphicControlExtension::LoadBody(Stream& stream)
{
    // A short body keeps what it has; the block size byte is taken as it stands.
    if (stream.Read(data_.data(), data_.size()) < data_.size()) {
        Warning(GifWarningSeverity, gif_message::PrematureEnd);
        return;
    }
    if (Transparent())
        SubImage().SetTransparent(true);
}

const TGIFExtensionClass TGIFTextExtension::Class{"TGIFTextExtension", Label, nullptr,
                                                  CreateGifExtension<TGIFTextExtension>};

void TGIFTextExtension::LoadBody(Stream& stream)
{
    ReadExact(stream, header_.data(), header_.size());
    text_ = ReadTextSubBlocks(stream);
}

const TGIFExtensionClass TGIFCommentExtension::Class{"TGIFCommentExtension", Label, nullptr,
                                                     CreateGifExtension<TGIFCommentExtension>};

void TGIFCommentExtension::LoadBody(Stream& stream) { text_ = ReadTextSubBlocks(stream); }
