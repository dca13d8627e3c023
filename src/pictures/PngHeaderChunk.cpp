// The header chunk: its checks, and the decoded image it owns.
#include <cstdlib>
#include <cstring>
#include <new>

#include "pictures/PngPixelFormat.h"
#include "pictures/PngStreamIO.h"
#include "pictures/pngpicture.h"

namespace {

constexpr std::size_t kHeaderSize = 13;
constexpr std::uint32_t kMaxDimension = 65535;
// GDI keeps DIB sizes in signed 32-bit values; a larger image cannot be drawn,
// so it is reported as memory that cannot be had before anything is allocated.
constexpr std::size_t kMaxImageBytes = 0x7FFFFFFF;

}  // namespace

void TChunkIHDR::FreeDeleter::operator()(std::uint8_t* p) const
{
    std::free(p);
}

bool TChunkIHDR::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunk::ReadChunk(stream, type, length);
    if (data_.size() < kHeaderSize)
        throw EPngInvalidIHDR();
    const std::uint8_t* d = data_.data();
    width_ = BigEndian32(d);
    height_ = BigEndian32(d + 4);
    bitDepth_ = d[8];
    colorType_ = d[9];
    compressionMethod_ = d[10];
    filterMethod_ = d[11];
    interlaceMethod_ = d[12];

    if (width_ > kMaxDimension || height_ > kMaxDimension)
        throw EPNGSizeExceeds();
    if (compressionMethod_ != 0)
        throw EPNGUnknownCompression();
    if (interlaceMethod_ > 1)
        throw EPNGUnknownInterlace();
    // The standard allows neither an empty image nor other colour types and
    // depths; no row can be laid out for them.
    if (width_ == 0 || height_ == 0 || !PixelFormatFor(colorType_, bitDepth_))
        throw EPngInvalidIHDR();

    Owner().SetInterlaceKind(interlaceMethod_);
    AllocateImage();
    return true;
}

void TChunkIHDR::ReleaseImage()
{
    Owner().ReleasePalette();
    pixelBits_ = nullptr;
    image_.reset();
    alphaPlane_.reset();
}

void TChunkIHDR::AllocateImage()
{
    dibInfo_ = {};
    ReleaseImage();

    const PngPixelFormat format = *PixelFormatFor(colorType_, bitDepth_);
    usesColorTable_ = format.colorTable;
    rowStride_ = DibRowStride(format.dibBits, width_);
    const std::size_t imageBytes = rowStride_ * height_;
    if (imageBytes > kMaxImageBytes)
        throw EPNGOutMemory();

    TBitmapInfoHeader& h = dibInfo_.bmiHeader;
    h.biSize = sizeof(TBitmapInfoHeader);
    h.biWidth = static_cast<std::int32_t>(width_);
    h.biHeight = static_cast<std::int32_t>(height_);
    h.biPlanes = 1;
    h.biBitCount = static_cast<std::uint16_t>(format.dibBits);
    h.biSizeImage = static_cast<std::uint32_t>(imageBytes);

    if (format.alphaPlane) {
        alphaPlane_.reset(static_cast<std::uint8_t*>(
            std::calloc(static_cast<std::size_t>(width_) * height_, 1)));
        if (!alphaPlane_)
            throw EPNGOutMemory();
    }
    image_ = AllocateImageMemory(dibInfo_, imageBytes);
    if (!image_ || !image_->Bits()) {
        ReleaseImage();
        throw EPNGOutMemory();
    }
    pixelBits_ = image_->Bits();
}

void TChunkIHDR::CopyFrom(const TChunk& source)
{
    TChunk::CopyFrom(source);
    const auto& s = static_cast<const TChunkIHDR&>(source);
    ReleaseImage();
    width_ = s.width_;
    height_ = s.height_;
    bitDepth_ = s.bitDepth_;
    colorType_ = s.colorType_;
    compressionMethod_ = s.compressionMethod_;
    filterMethod_ = s.filterMethod_;
    interlaceMethod_ = s.interlaceMethod_;
    dibInfo_ = s.dibInfo_;
    usesColorTable_ = s.usesColorTable_;
    rowStride_ = s.rowStride_;
    if (!s.pixelBits_)
        return;

    // The copy owns a decoded image of its own.
    const std::size_t imageBytes = rowStride_ * height_;
    image_ = AllocateImageMemory(dibInfo_, imageBytes);
    if (!image_ || !image_->Bits()) {
        ReleaseImage();
        throw EPNGOutMemory();
    }
    pixelBits_ = image_->Bits();
    std::memcpy(pixelBits_, s.pixelBits_, imageBytes);
    if (s.alphaPlane_) {
        const std::size_t alphaBytes = static_cast<std::size_t>(width_) * height_;
        alphaPlane_.reset(static_cast<std::uint8_t*>(std::malloc(alphaBytes)));
        if (!alphaPlane_) {
            ReleaseImage();
            throw EPNGOutMemory();
        }
        std::memcpy(alphaPlane_.get(), s.alphaPlane_.get(), alphaBytes);
    }
}
