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

#ifdef _WIN32
#include <windows.h>

#include "pictures/gif/GifPainter.h"

class GifFrameDrawing;
class GifPictureDrawing;
#endif

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
    TGIFSubImage* SelectedFrame()
    {
        return const_cast<TGIFSubImage*>(static_cast<const TGifPicture&>(*this).SelectedFrame());
    }

    // The drawing code keeps the picture's palette, buffer bitmap and
    // painters here.
    GifDrawCache* DrawCache() const { return drawCache_.get(); }
    void SetDrawCache(std::unique_ptr<GifDrawCache> cache) { drawCache_ = std::move(cache); }

#ifdef _WIN32
    // Draws the picture into rect of dc: the selected frame, or with several
    // frames and dfAnimate the animation, played by a painter (threaded with
    // dfThreaded; then the UI thread must run synchronised calls, see
    // pictures/Synchronize.h, and dc must stay valid while it plays). Does
    // nothing without frames, and while the picture is drawing already or
    // stopping its painters (a Draw from one of its own handlers).
    void Draw(HDC dc, const RECT& rect) override;

    // The picture's palette, kept by the picture until it changes: the
    // global colour table's, the fixed palette when dithering applies, or
    // without a global table the first frame's (nullptr without frames). Raises GIFException
    // "No global or local color table defined" when working it out needs
    // itself (no colour table at all).
    HPALETTE Palette();

    // Draws one frame into rect, placed as on the logical screen scaled to
    // rect, or with tile repeated across it; through its mask when
    // transparent is asked for and the frame has one.
    void StretchDrawFrame(HDC dc, const RECT& rect, TGIFSubImage& frame, bool tile, bool transparent);

    // The frame's bitmap, mask and palette, built on first need and kept
    // with the frame.
    const GifFrameDrawing& RenderFrame(TGIFSubImage& frame);

    // The priority of painter threads (THREAD_PRIORITY_NORMAL by default).
    int PainterPriority() const { return painterPriority_; }
    void SetPainterPriority(int priority) { painterPriority_ = priority; }

    // Painter events, copied into each painter when it starts.
    TGIFPainterEvent OnStartPaint;
    TGIFPainterEvent OnPaint;       // before each frame is painted
    TGIFPainterEvent OnAfterPaint;  // after each frame; may move ActiveImage
    TGIFPainterEvent OnLoop;        // before each round after the first
    TGIFPainterEvent OnEndPaint;
    // The exception that ended a threaded painter; without a handler it is
    // dropped. An unthreaded painter's exception leaves Draw instead.
    TGIFPainterErrorEvent OnPainterError;
#endif

private:
    friend class TGIFFrameList;
    friend class TGIFSubImage;
    void FrameLoaded(Stream& stream);
    void StopPainting();
#ifdef _WIN32
    GifPictureDrawing& PictureDrawing();
    std::vector<TGIFColor> FrameColors(const TGIFSubImage& frame) const;
    HPALETTE FramePalette(TGIFSubImage& frame);
    void Render(TGIFSubImage& frame, GifFrameDrawing& drawing, bool maskNeeded);
    void StartPainter(HDC dc, const RECT& rect);
#endif

    TGIFHeader header_;
    TGIFFrameList images_;
    TGIFTrailer trailer_;
    TGIFDrawOptions drawFlags_ = DefaultDrawFlags;
    int speedPercent_ = DefaultSpeedPercent;
    int selectedFrameIndex_ = -1;
    std::uint64_t fillAllowance_ = GifFillAllowance;
    std::unique_ptr<GifDrawCache> drawCache_;
#ifdef _WIN32
    int painterPriority_ = THREAD_PRIORITY_NORMAL;
#endif
};
