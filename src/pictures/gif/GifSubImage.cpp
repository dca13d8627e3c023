#include "pictures/gif/GifSubImage.h"

#include <algorithm>
#include <new>

#include "pictures/gif/GifException.h"
#include "pictures/gif/GifExtensionRegistry.h"
#include "pictures/gif/GifLzwDecoder.h"
#include "pictures/gifpicture.h"

namespace {

constexpr std::uint8_t LocalTableSortFlag = 0x20;

// The four interlace passes: first row and row step.
struct InterlacePass {
    int first;
    int step;
};
constexpr InterlacePass InterlacePasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

// Bytes of image data in the sub-blocks at the stream's position, as far as
// the stream holds them; the position is unchanged afterwards.
std::uint64_t MeasureImageData(Stream& stream)
{
    const std::int64_t start = stream.Position();
    const std::int64_t size = stream.Size();
    std::uint64_t total = 0;
    std::uint8_t blockSize;
    while (ReadByte(stream, blockSize) && blockSize != 0) {
        const std::int64_t at = stream.Position();
        total += static_cast<std::uint64_t>(std::min<std::int64_t>(blockSize, size - at));
        stream.Seek(blockSize, SeekOrigin::Current);
    }
    stream.SetPosition(start);
    return total;
}

}  // namespace

TGIFExtensionList::TGIFExtensionList(TGIFSubImage& frame) : TGIFList(frame.Image()), frame_(frame) {}

void TGIFExtensionList::LoadFromStream(Stream& stream)
{
    std::uint8_t byte;
    if (!ReadByte(stream, byte))
        return;
    while (byte != gif_block::ImageSeparator && byte != gif_block::Trailer) {
        if (byte != gif_block::ExtensionIntroducer) {
            Warning(GifWarningSeverity, gif_message::InvalidExtensionIntroducer);
            break;
        }
        const TGIFExtensionClass* extensionClass = ResolveExtensionClass(stream);
        if (extensionClass == nullptr)
            throw GIFException(gif_message::UnknownExtensionType);
        StepBack(stream);
        std::unique_ptr<TGIFExtension> extension = extensionClass->Create(frame_);
        extension->LoadFromStream(stream);
        Add(std::move(extension));
        // The end of the stream ends the list with nothing to step back over.
        if (!ReadByte(stream, byte))
            return;
    }
    StepBack(stream);
}

TGIFSubImage::TGIFSubImage(TGifPicture* image) : TGIFItem(image), extensions_(*this) {}

// The extensions go first: a Graphic Control Extension forgets itself as
// this frame's reference when it is freed.
TGIFSubImage::~TGIFSubImage() { extensions_.Clear(); }

void TGIFSubImage::Clear()
{
    extensions_.Clear();
    colorMap_.Clear();
    descriptor_ = {};
    std::vector<std::uint8_t>().swap(pixels_);
    transparent_ = false;
    graphicControl_ = nullptr;
    needMask_ = true;
    drawCache_.reset();
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const
{
    if (colorMap_.Count() > 0 || Image() == nullptr)
        return colorMap_;
    return Image()->Header().ColorMap();
}

void TGIFSubImage::LoadFromStream(Stream& stream)
{
    Clear();
    extensions_.LoadFromStream(stream);

    // A frame of extensions only, before the trailer or the end.
    std::uint8_t next;
    if (!ReadByte(stream, next))
        return;
    StepBack(stream);
    if (next == gif_block::Trailer || next == 0)
        return;

    ReadImageDescriptor(stream);
    if (const int entries = ColorTableEntries(descriptor_.PackedFields); entries > 0) {
        colorMap_.LoadFromStream(stream, entries);
        colorMap_.SetSorted((descriptor_.PackedFields & LocalTableSortFlag) != 0);
    }
    DecodePixels(stream);
}

void TGIFSubImage::ReadImageDescriptor(Stream& stream)
{
    std::uint8_t raw[10];
    ReadExact(stream, raw, sizeof raw);
    descriptor_.Separator = raw[0];
    descriptor_.Left = static_cast<std::uint16_t>(raw[1] | raw[2] << 8);
    descriptor_.Top = static_cast<std::uint16_t>(raw[3] | raw[4] << 8);
    descriptor_.Width = static_cast<std::uint16_t>(raw[5] | raw[6] << 8);
    descriptor_.Height = static_cast<std::uint16_t>(raw[7] | raw[8] << 8);
    descriptor_.PackedFields = raw[9];
    if (descriptor_.Width == 0 || descriptor_.Height == 0) {
        const TGifPicture* image = Image();
        descriptor_.Width = static_cast<std::uint16_t>(image != nullptr ? image->Width() : 0);
        descriptor_.Height = static_cast<std::uint16_t>(image != nullptr ? image->Height() : 0);
        Warning(GifWarningSeverity, gif_message::ImageExceedsScreen);
    }
}

void TGIFSubImage::AllocatePixels(std::uint64_t mostDecodable)
{
    const std::uint64_t area = static_cast<std::uint64_t>(Width()) * static_cast<std::uint64_t>(Height());
    if (area == 0)
        return;
    // Pixels that the frame's data cannot reach keep the fill. Those are
    // only worth memory up to the picture's allowance, or a few bytes
    // declaring huge frames would claim gigabytes.
    const std::uint64_t unreachable = area > mostDecodable ? area - mostDecodable : 0;
    if (unreachable > 0) {
        std::uint64_t standalone = GifFillAllowance;
        std::uint64_t& allowance = Image() != nullptr ? Image()->fillAllowance_ : standalone;
        if (unreachable > allowance)
            throw GIFException(gif_message::ImageDataTooShort);
        allowance -= unreachable;
    }
    const std::uint8_t fill =
        transparent_ && graphicControl_ != nullptr ? graphicControl_->TransparentColorIndex() : 0;
    try {
        pixels_.assign(static_cast<std::size_t>(area), fill);
    } catch (const std::bad_alloc&) {
        throw GIFException(gif_message::OutOfMemory);
    }
}

void TGIFSubImage::DecodePixels(Stream& stream)
{
    std::uint8_t codeSize;
    if (!ReadByte(stream, codeSize)) {
        AllocatePixels(0);
        return;
    }
    if (codeSize > GifLzwDecoder::MaxCodeSize)
        throw GIFException(gif_message::InvalidCodeSize);
    AllocatePixels(GifLzwDecoder::MostIndices(MeasureImageData(stream)));

    GifLzwDecoder decoder(stream, *this, codeSize);
    if (Interlaced()) {
        // Once the data ends the decoder stores nothing more; the rest keeps its fill.
        const std::size_t width = static_cast<std::size_t>(Width());
        for (const InterlacePass& pass : InterlacePasses)
            for (int row = pass.first; row < Height(); row += pass.step)
                decoder.ReadIndices(pixels_.data() + static_cast<std::size_t>(row) * width, width);
    } else {
        decoder.ReadIndices(pixels_.data(), pixels_.size());
    }
    decoder.SkipRemainingData();
}
