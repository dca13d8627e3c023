#include "pictures/PngRowFilter.h"

#include <cstdlib>

namespace {

void UnfilterSub(std::uint8_t* row, std::size_t n, unsigned bpp)
{
    for (std::size_t i = bpp; i < n; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
}

void UnfilterUp(std::uint8_t* row, const std::uint8_t* prior, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
}

void UnfilterAverage(std::uint8_t* row, const std::uint8_t* prior, std::size_t n, unsigned bpp)
{
    std::size_t i = 0;
    for (; i < bpp && i < n; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
    for (; i < n; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - bpp] + prior[i]) >> 1));
}

// The predictor as the standard writes it, without branches on the data.
inline int Paeth(int a, int b, int c)
{
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    const int nearer = pb < pa ? b : a;
    const int nearerDistance = pb < pa ? pb : pa;
    return pc < nearerDistance ? c : nearer;
}

// The pixel's bytes depend on the pixel to the left: going pixel by pixel with
// the distance known at compile time lets the bytes of one pixel run side by side.
template <unsigned Bpp>
void UnfilterPaethFixed(std::uint8_t* row, const std::uint8_t* prior, std::size_t n)
{
    for (unsigned k = 0; k < Bpp && k < n; ++k)
        row[k] = static_cast<std::uint8_t>(row[k] + prior[k]);
    for (std::size_t i = Bpp; i + Bpp <= n; i += Bpp)
        for (unsigned k = 0; k < Bpp; ++k)
            row[i + k] = static_cast<std::uint8_t>(
                row[i + k] + Paeth(row[i + k - Bpp], prior[i + k], prior[i + k - Bpp]));
}

void UnfilterPaeth(std::uint8_t* row, const std::uint8_t* prior, std::size_t n, unsigned bpp)
{
    switch (bpp) {
    case 1: return UnfilterPaethFixed<1>(row, prior, n);
    case 2: return UnfilterPaethFixed<2>(row, prior, n);
    case 3: return UnfilterPaethFixed<3>(row, prior, n);
    case 4: return UnfilterPaethFixed<4>(row, prior, n);
    case 6: return UnfilterPaethFixed<6>(row, prior, n);
    case 8: return UnfilterPaethFixed<8>(row, prior, n);
    }
}

}  // namespace

void UnfilterRow(std::uint8_t filterType, std::uint8_t* row, const std::uint8_t* prior,
                 std::size_t rowBytes, unsigned bytesPerPixel)
{
    switch (filterType) {
    case 1: UnfilterSub(row, rowBytes, bytesPerPixel); break;
    case 2: UnfilterUp(row, prior, rowBytes); break;
    case 3: UnfilterAverage(row, prior, rowBytes, bytesPerPixel); break;
    case 4: UnfilterPaeth(row, prior, rowBytes, bytesPerPixel); break;
    default: break;
    }
}
