// Any input ends in a decoded picture or in one of the PNG reader's documented
// exceptions; anything else escapes and is reported as a crash.
#include <cstddef>
#include <cstdint>

#include "pictures/pngpicture.h"

namespace {

// Keeps a single input from asking for more than the fuzzer's memory limit;
// an image refused here takes the reader's out-of-memory path.
constexpr std::size_t kMaxImageBytes = 64u << 20;

std::unique_ptr<ImageMemory> CappedAllocator(const TDibInfo& info, std::size_t size)
{
    return size > kMaxImageBytes ? nullptr : AllocateHeapImage(info, size);
}

// Reads every byte of the decoded image, so the sanitizers see it is all there
// and all initialised.
unsigned Checksum(const TPngPicture& picture)
{
    const TChunkIHDR& header = picture.Header();
    unsigned sum = picture.AlphaDrawMode() + picture.KeyColor();
    const std::size_t imageBytes = header.RowStride() * header.Height();
    for (std::size_t i = 0; i < imageBytes; ++i)
        sum += header.PixelBits()[i];
    if (header.AlphaPlane())
        for (std::size_t i = 0; i < std::size_t{header.Width()} * header.Height(); ++i)
            sum += header.AlphaPlane()[i];
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool capped = (SetImageAllocator(CappedAllocator), true);
    (void)capped;

    MemoryStream stream({data, size});
    TPngPicture picture;
    try {
        picture.LoadFromStream(stream);
        volatile unsigned sink = Checksum(picture);
        (void)sink;
        TPngPicture copy;
        copy.Assign(picture);
    } catch (const EPNGInvalidFileHeader&) {
    } catch (const EPngUnexpectedEnd&) {
    } catch (const EPNGIHDRNotFirst&) {
    } catch (const EPNGUnknownCriticalChunk&) {
    } catch (const EPngInvalidCRC&) {
    } catch (const EPngInvalidIHDR&) {
    } catch (const EPNGSizeExceeds&) {
    } catch (const EPNGUnknownCompression&) {
    } catch (const EPNGUnknownInterlace&) {
    } catch (const EPNGInvalidPalette&) {
    } catch (const EPNGMissingMultipleIDAT&) {
    } catch (const EPNGZLIBError&) {
    } catch (const EPNGNoImageData&) {
    } catch (const EPNGOutMemory&) {
    }
    return 0;
}
