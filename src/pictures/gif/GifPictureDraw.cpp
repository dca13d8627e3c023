// TGifPicture::Draw (Windows): a still frame, or an animation through a painter.
#include "base/ScopeExit.h"
#include "pictures/Synchronize.h"
#include "pictures/gif/GifDrawingState.h"
#include "pictures/gif/GifStretchDraw.h"
#include "pictures/gifpicture.h"

void TGifPicture::Draw(HDC dc, const RECT& rect)
{
    if (Empty())
        return;
    const std::shared_ptr<GifDrawGuard> guard = PictureDrawing().Guard;
    if (guard->Busy)
        return;
    guard->Busy = true;
    ScopeExit notBusy([guard] { guard->Busy = false; });

    const bool tile = (drawFlags_ & dfTile) != 0;
    if (images_.Count() == 1 || (drawFlags_ & dfAnimate) == 0) {
        StretchDrawFrame(dc, rect, *SelectedFrame(), tile, (drawFlags_ & dfTransparent) != 0);
        return;
    }
    // Frames are placed relative to the logical screen; an empty one has no
    // place for them.
    if (Width() <= 0 || Height() <= 0)
        return;
    GifPictureDrawing& drawing = PictureDrawing();
    drawing.Painters->ReleaseEnded();
    if (drawing.Buffer && (drawFlags_ & dfDirect) == 0) {
        CopySurfaceToRect(*drawing.Buffer, dc, rect, tile);
        return;
    }
    StartPainter(dc, rect);
}

void TGifPicture::StartPainter(HDC dc, const RECT& rect)
{
    GifPictureDrawing& drawing = PictureDrawing();
    const std::shared_ptr<GifDrawGuard> guard = drawing.Guard;
    const unsigned stops = guard->Stops;
    const TGIFDrawOptions options = drawFlags_;
    const bool direct = (options & dfDirect) != 0;
    const bool tile = (options & dfTile) != 0;
    if ((options & dfThreaded) != 0)
        InitSynchronize();

    const std::shared_ptr<TGIFPainter> painter = drawing.Painters->AddUnlessDrawing(dc, rect, [&] {
        if (const std::shared_ptr<TGIFPainter> current = drawing.DrawingPainter.lock())
            current->Terminate();
        if (!direct) {
            // The buffer starts as what lies under the rectangle.
            drawing.Buffer = std::make_unique<GifBitmapSurface>(Width(), Height());
            SelectedStretchMode mode(drawing.Buffer->DC(), COLORONCOLOR);
            const int width = tile ? Width() : rect.right - rect.left;
            const int height = tile ? Height() : rect.bottom - rect.top;
            StretchBlt(drawing.Buffer->DC(), 0, 0, Width(), Height(), dc, rect.left, rect.top, width, height, SRCCOPY);
        }
        return std::make_shared<TGIFPainter>(
            *this, drawing.Painters, guard, dc, rect, GifPainterSettings{options, speedPercent_, painterPriority_},
            GifPaintHandlers{OnStartPaint, OnPaint, OnAfterPaint, OnLoop, OnEndPaint, OnPainterError},
            direct ? nullptr : drawing.Buffer.get());
    });
    if (!painter)
        return;
    drawing.DrawingPainter = painter;
    painter->Start();

    // An unthreaded painter has played the animation by now, running
    // handlers that may have cleared or destroyed this picture.
    if (!painter->Threaded() && painter->FatalException())
        std::rethrow_exception(painter->FatalException());
    if (direct || guard->Stops != stops)
        return;
    WaitRunningSynchronized([&] { return painter->FirstFramePainted() || painter->Ended(); });
    if (guard->Stops != stops)
        return;
    CopySurfaceToRect(*PictureDrawing().Buffer, dc, rect, tile);
}
