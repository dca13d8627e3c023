#include "pictures/DibSectionImage.h"

#include <cstring>
#include <new>

#include "pictures/pngpicture.h"

std::unique_ptr<ImageMemory> AllocateDibSection(const TDibInfo& info, std::size_t size)
{
    MemoryDC dc = CreateMemoryDC(nullptr);
    if (!dc)
        return nullptr;
    void* bits = nullptr;
    GdiObject<HBITMAP> section(CreateDIBSection(dc.get(), reinterpret_cast<const BITMAPINFO*>(&info),
                                                DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits)
        return nullptr;
    // Sub-byte pixels are OR-ed into place, so the bits must start cleared
    // whatever GDI handed out.
    std::memset(bits, 0, size);
    // Should the object itself not fit, the handles stay with dc and section
    // and are released here.
    return std::unique_ptr<ImageMemory>(
        new (std::nothrow) DibSectionImage(std::move(dc), std::move(section), static_cast<std::uint8_t*>(bits)));
}

void UsePngDibSections()
{
    SetImageAllocator(AllocateDibSection);
}

namespace {

DibSectionImage* SectionOf(const TChunkIHDR& header)
{
    return dynamic_cast<DibSectionImage*>(header.Image());
}

}  // namespace

HBITMAP TChunkIHDR::DibHandle() const
{
    const DibSectionImage* image = SectionOf(*this);
    return image ? image->Section() : nullptr;
}

HDC TChunkIHDR::DibDC() const
{
    const DibSectionImage* image = SectionOf(*this);
    return image ? image->DC() : nullptr;
}
