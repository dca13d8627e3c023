#pragma once
// The GIF picture class: reads GIF87a and GIF89a streams into their blocks
// (header, frames with their extensions and colour tables, trailer) and
// decodes each frame into one colour index per pixel.
#include <cstdint>
#include <memory>
#include <string>

#include "pictures/Graphic.h"
#include "pictures/gif/GifAnimationLoop.h"
#include "pictures/gif/GifAnimationTiming.h"
#include "pictures/gif/GifAppExtensions.h"
#include "pictures/gif/GifDrawCache.h"
#include "pictures/gif/GifDrawGeometry.h"
#include "pictures/gif/GifDrawOptions.h"
#include "pictures/gif/GifException.h"
#include "pictures/gif/GifExtensionRegistry.h"
#include "pictures/gif/GifExtensions.h"
#include "pictures/gif/GifFrameList.h"
#include "pictures/gif/GifFrameMask.h"
#include "pictures/gif/GifHeader.h"
#include "pictures/gif/GifSubImage.h"
#include "pictures/gif/GifWebPalette.h"

// Pixels of a picture's frames that their image data cannot reach and that
// keep the fill instead: at most this many for one load.
inline constexpr std::uint64_t GifFillAllowance = std::uint64_t{1} << 22;

class TGifPicture : public TGraphic {
public:
    TGifPicture();
    ~TGifPicture() override;

    // Replaces the picture with the one read, or raises GIFException. A failed
    // load keeps what was read before the failure (frames already read stay)
    // and moves the stream back to where it began.
    void LoadFromStream(Stream& stream) override;
    // Stops painting, frees the frames and empties the header.
    void Clear();

    // The logical screen's size.
    int Width() const override { return header_.Width(); }
    int Height() const override { return header_.Height(); }
    // True without frames.
    bool Empty() const override { return images_.Empty(); }

    TGIFHeader& Header() { return header_; }
    const TGIFHeader& Header() const { return header_; }
    TGIFFrameList& Images() { return images_; }
    const TGIFFrameList& Images() const { return images_; }

    // Receives the reader's warnings; without one they are dropped.
    TGIFWarning WarningHandler;
    void Warning(const GifPersistent& sender, int severity, const std::string& message) const;

    // Drawing settings.
    TGIFDrawOptions DrawFlags() const { return drawFlags_; }
    void SetDrawFlags(TGIFDrawOptions flags) { drawFlags_ = flags; }
    int SpeedPercent() const { return speedPercent_; }
    void SetSpeedPercent(int percent) { speedPercent_ = percent; }
    // -1 (the default) and indices out of range mean frame 0.
    int SelectedFrameIndex() const { return selectedFrameIndex_; }
    void SetSelectedFrameIndex(int index) { selectedFrameIndex_ = index; }
    // The frame a still drawing shows; nullptr without frames.
    const TGIFSubImage* SelectedFrame() const;

    // The drawing code keeps the picture's palette, buffer bitmap and
    // painters here.
    GifDrawCache* DrawCache() const { return drawCache_.get(); }
    void SetDrawCache(std::unique_ptr<GifDrawCache> cache) { drawCache_ = std::move(cache); }

private:
    friend class TGIFFrameList;
    friend class TGIFSubImage;
    void FrameLoaded(Stream& stream);
    void StopPainting();

    TGIFHeader header_;
    TGIFFrameList images_;
    TGIFTrailer trailer_;
    TGIFDrawOptions drawFlags_ = DefaultDrawFlags;
    int speedPercent_ = DefaultSpeedPercent;
    int selectedFrameIndex_ = -1;
    std::uint64_t fillAllowance_ = GifFillAllowance;
    std::unique_ptr<GifDrawCache> drawCache_;
};
