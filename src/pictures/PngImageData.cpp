// The first IDAT chunk decodes the whole image into the header's DIB.
#include <cstring>
#include <vector>

#include "pictures/PngImageDataStream.h"
#include "pictures/PngPixelFormat.h"
#include "pictures/PngRowConversion.h"
#include "pictures/PngRowFilter.h"
#include "pictures/pngpicture.h"

namespace {

// Windows' MulDiv for the non-negative values used here: rounded to nearest.
int MulDiv(int number, int numerator, int denominator)
{
    return (number * numerator + denominator / 2) / denominator;
}

// Grey levels live in the colour table, so gamma reaches them there.
void BuildGreyRamp(TChunkIHDR& header, const TGammaTable& gamma)
{
    const int last = (1 << header.DibInfo().bmiHeader.biBitCount) - 1;
    for (int n = 0; n <= last; ++n) {
        const std::uint8_t level = gamma[MulDiv(n, 255, last)];
        header.DibInfo().bmiColors[n] = TRGBQuad{level, level, level, 0};
    }
}

bool IsIdentity(const TGammaTable& gamma)
{
    for (int i = 0; i < 256; ++i)
        if (gamma[i] != i)
            return false;
    return true;
}

// Two row buffers, filter-type byte first: one is filled while the other holds
// the prior row; they trade places by index after every row.
class RowReader {
public:
    RowReader(PngImageDataStream& data, std::size_t maxRowBytes, unsigned bytesPerPixel)
        : data_(data), bytesPerPixel_(bytesPerPixel)
    {
        for (auto& row : rows_)
            row.assign(maxRowBytes + 1, 0);
    }

    void ClearPrior() { std::memset(rows_[1 - current_].data(), 0, rows_[1 - current_].size()); }

    // The next unfiltered row, or null once the image data has ended.
    const std::uint8_t* Next(std::size_t rowBytes)
    {
        std::uint8_t* row = rows_[current_].data();
        if (data_.Read(row, rowBytes + 1) != rowBytes + 1)
            return nullptr;
        UnfilterRow(row[0], row + 1, rows_[1 - current_].data() + 1, rowBytes, bytesPerPixel_);
        current_ = 1 - current_;
        return row + 1;
    }

private:
    PngImageDataStream& data_;
    unsigned bytesPerPixel_;
    std::vector<std::uint8_t> rows_[2];
    int current_ = 0;
};

struct Adam7Pass {
    std::uint32_t columnStart, columnStep, rowStart, rowStep;

    std::uint32_t Width(std::uint32_t imageWidth) const
    {
        return (imageWidth + columnStep - columnStart - 1) / columnStep;
    }
    std::uint32_t Rows(std::uint32_t imageHeight) const
    {
        return (imageHeight + rowStep - rowStart - 1) / rowStep;
    }
};
constexpr Adam7Pass kAdam7[7] = {
    {0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
    {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2},
};

// Inflated bytes the whole image takes, filter-type bytes included.
std::uint64_t ImageDataBytes(const TChunkIHDR& header)
{
    const PngPixelFormat format = *PixelFormatFor(header.ColorType(), header.BitDepth());
    if (header.InterlaceMethod() != 1)
        return std::uint64_t{header.Height()} * (PngRowBytes(format, header.BitDepth(), header.Width()) + 1);
    std::uint64_t total = 0;
    for (const Adam7Pass& pass : kAdam7) {
        const std::size_t rowBytes = PngRowBytes(format, header.BitDepth(), pass.Width(header.Width()));
        if (rowBytes > 0)
            total += std::uint64_t{pass.Rows(header.Height())} * (rowBytes + 1);
    }
    return total;
}

class ImageDecoder {
public:
    ImageDecoder(TChunkIHDR& header, const TGammaTable& gamma, PngImageDataStream& data)
        : header_(header),
          gamma_(gamma),
          format_(*PixelFormatFor(header.ColorType(), header.BitDepth())),
          rows_(data, PngRowBytes(format_, header.BitDepth(), header.Width()), format_.bytesPerPixel),
          convert_(SelectRowConverter(header.ColorType(), header.BitDepth(), header.InterlaceMethod() == 1,
                                      IsIdentity(gamma)))
    {
    }

    void DecodeProgressive()
    {
        const std::size_t rowBytes = PngRowBytes(format_, header_.BitDepth(), header_.Width());
        for (std::uint32_t y = 0; y < header_.Height(); ++y)
            if (!DecodeRow(rowBytes, header_.Width(), y, 0, 1))
                return;
    }

    void DecodeAdam7()
    {
        for (const Adam7Pass& pass : kAdam7) {
            const std::uint32_t width = pass.Width(header_.Width());
            const std::size_t rowBytes = PngRowBytes(format_, header_.BitDepth(), width);
            rows_.ClearPrior();
            if (rowBytes == 0)
                continue;
            for (std::uint32_t y = pass.rowStart; y < header_.Height(); y += pass.rowStep)
                if (!DecodeRow(rowBytes, width, y, pass.columnStart, pass.columnStep))
                    return;
        }
    }

private:
    bool DecodeRow(std::size_t rowBytes, std::uint32_t pixels, std::uint32_t y,
                   std::uint32_t firstColumn, std::uint32_t columnStep)
    {
        const std::uint8_t* row = rows_.Next(rowBytes);
        if (!row)
            return false;
        std::uint8_t* alpha = format_.alphaPlane ? header_.AlphaLine(y) : nullptr;
        convert_(row, pixels, RowDestination{header_.ScanLine(y), alpha, firstColumn, columnStep}, gamma_);
        return true;
    }

    TChunkIHDR& header_;
    const TGammaTable& gamma_;
    PngPixelFormat format_;
    RowReader rows_;
    RowConverter convert_;
};

}  // namespace

bool TChunkIDAT::ReadChunk(Stream& stream, const TChunkType& type, std::uint32_t length)
{
    TChunkIHDR& header = Owner().Header();
    const TGammaTable& gamma = Owner().GammaLookup();
    if (header.UsesColorTable() && (header.ColorType() == kGreyscale || header.ColorType() == kGreyscaleAlpha))
        BuildGreyRamp(header, gamma);

    PngImageDataStream data(stream, type, length, ImageDataBytes(header));
    ImageDecoder decoder(header, gamma, data);
    if (header.InterlaceMethod() == 1)
        decoder.DecodeAdam7();
    else
        decoder.DecodeProgressive();
    // Data the image did not need still belongs to the chunk and its CRC.
    data.FinishChunk();
    return true;
}
