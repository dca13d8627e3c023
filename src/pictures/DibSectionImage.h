#pragma once
// Decoded PNG images in GDI DIB sections (Windows only). The reader writes its
// rows straight into the section's bits, so drawing hands GDI the very memory
// that was decoded, with no copy.
#include <windows.h>

#include <cstddef>
#include <memory>

#include "pictures/DibImage.h"
#include "base/GdiObjects.h"

// Image memory behind the reader's allocation seam: a DIB section made with
// DIB_RGB_COLORS and selected into a memory device context compatible with
// the screen; both are released with it. The section is made before the
// palette or grey ramp is known, so its own colour table stays empty: the
// colours are in the header's DibInfo, which drawing hands to GDI.
class DibSectionImage : public ImageMemory {
public:
    DibSectionImage(MemoryDC dc, GdiObject<HBITMAP> section, std::uint8_t* bits)
        : canvas_(std::move(dc), std::move(section)), bits_(bits)
    {
    }

    std::uint8_t* Bits() override { return bits_; }
    HBITMAP Section() const { return canvas_.Bitmap(); }
    HDC DC() const { return canvas_.DC(); }

private:
    BitmapDC canvas_;
    std::uint8_t* bits_;
};

// A zeroed DIB section for the image `info` describes (`size` bytes of bits),
// or null when GDI cannot make one; the reader then raises EPNGOutMemory.
std::unique_ptr<ImageMemory> AllocateDibSection(const TDibInfo& info, std::size_t size);

// Makes every PNG picture loaded from now on decode into a DIB section. The
// program calls it once at start-up, before any picture is loaded; without it
// images live in plain heap memory, which draws the same.
void UsePngDibSections();
