#pragma once
// Animation painters (Windows). A painter plays a picture's frames onto a
// canvas rectangle: in a thread of its own (dfThreaded), touching the canvas
// only inside calls synchronised with the UI thread, or inside Draw on the
// UI thread. It paints into the picture's off-screen buffer and copies that
// onto the canvas, or with dfDirect straight onto the canvas.
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "base/KernelHandle.h"
#include "pictures/gif/GifAnimationLoop.h"

class GifBitmapSurface;
class GifPainterList;
struct GifDrawGuard;
class TGIFPainter;

// A painter event's handler; the sender is the painter, whose ActiveImage,
// Terminate and Restart steer the animation. Threaded painters call the
// handlers on the UI thread.
using TGIFPainterEvent = std::function<void(TGIFPainter& sender)>;
// Receives on the UI thread the exception that ended a threaded painter.
using TGIFPainterErrorEvent = std::function<void(TGIFPainter& sender, std::exception_ptr error)>;

struct GifPaintHandlers {
    TGIFPainterEvent OnStartPaint;
    TGIFPainterEvent OnPaint;
    TGIFPainterEvent OnAfterPaint;
    TGIFPainterEvent OnLoop;
    TGIFPainterEvent OnEndPaint;
    TGIFPainterErrorEvent OnPainterError;
};

struct GifPainterSettings {
    TGIFDrawOptions DrawOptions = 0;
    int SpeedPercent = 100;
    int Priority = THREAD_PRIORITY_NORMAL;
};

class TGIFPainter final : public GifAnimationLoop, public std::enable_shared_from_this<TGIFPainter> {
public:
    // buffer is the picture's off-screen buffer, nullptr with dfDirect;
    // guard the picture's, which keeps Draw from drawing while a handler runs.
    TGIFPainter(TGifPicture& picture, std::shared_ptr<GifPainterList> list, std::shared_ptr<GifDrawGuard> guard,
                HDC canvas, const RECT& rect, const GifPainterSettings& settings, GifPaintHandlers handlers,
                GifBitmapSurface* buffer);

    HDC Canvas() const { return canvas_; }
    const RECT& Rect() const { return rect_; }

    // Threaded: makes the painter's thread, suspended at its priority, and
    // resumes it; the thread keeps the painter alive until it ends. Otherwise
    // plays the animation to its end here, and returns then.
    void Start();
    // For stopping: terminates, and lets a threaded painter run on at normal
    // priority to its end.
    void Stop();
    // Whether the painter can get on to its end without the calling thread
    // returning first: false before Start, while it plays inside a Draw of
    // the calling thread, and while the calling thread runs one of its
    // synchronised calls.
    bool CanEndWithoutCaller() const;
    bool FirstFramePainted() const { return firstFramePainted_; }
    bool Ended() const { return ended_; }
    // Returns when the painter's thread has ended; at once when it has none
    // or cannot end before the caller returns.
    void Join() const;

protected:
    void PrepareFrame(TGIFSubImage& frame) override;
    void Wait(std::optional<int> ms) override;
    void PaintFrame(TGIFSubImage& frame, const GifFrameComposition& composition) override;
    void Fire(GifPaintEvent event) override;
    std::uint32_t NowMs() override;
    void Wake() override;

private:
    static DWORD WINAPI ThreadMain(void* owner);
    void RunAndLeave() noexcept;
    // Runs call on the UI thread: synchronised when threaded.
    void OnUiThread(const std::function<void()>& call);
    void SleepPumpingMessages(int ms);
    void Compose(TGIFSubImage& frame, const GifFrameComposition& composition);

    std::shared_ptr<GifPainterList> list_;
    std::shared_ptr<GifDrawGuard> guard_;
    HDC canvas_;
    RECT rect_;
    GifPaintHandlers handlers_;
    GifBitmapSurface* buffer_;
    int priority_;
    KernelHandle wake_;
    KernelHandle thread_;
    std::atomic<bool> started_{false};
    std::atomic<DWORD> runThread_{0};
    // Synchronised calls of this painter that the UI thread is running.
    std::atomic<int> uiCalls_{0};
    std::atomic<bool> firstFramePainted_{false};
    std::atomic<bool> ended_{false};
    // What lies under the animation, and under a frame of disposal 3;
    // made on the UI thread at the first paint, freed at the end.
    std::unique_ptr<GifBitmapSurface> background_;
    std::unique_ptr<GifBitmapSurface> underneath_;
};

// The painters of one picture. Painters running leave it at their end; the
// list keeps them until their threads are joined.
class GifPainterList {
public:
    using PainterFactory = std::function<std::shared_ptr<TGIFPainter>()>;
    // Unless a painter already draws on canvas in rect: makes one with make
    // and adds it, all under the list's lock. nullptr when one draws there.
    std::shared_ptr<TGIFPainter> AddUnlessDrawing(HDC canvas, const RECT& rect, const PainterFactory& make);
    // A painter at its end leaves the list.
    void Remove(const TGIFPainter& painter);
    // Stops every painter. Those that cannot end before the caller returns
    // (see TGIFPainter::CanEndWithoutCaller) leave the list at once; they
    // end after the handler that stopped them returns, without touching the
    // picture again.
    void StopAll();
    // Waits until every painter has left, running synchronised calls
    // meanwhile when on the UI thread.
    void WaitUntilEmpty() const;
    // Joins and frees the painters that have left.
    void ReleaseEnded();

private:
    bool Empty() const;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<TGIFPainter>> running_;
    std::vector<std::shared_ptr<TGIFPainter>> ended_;
};

// Waits until finished() holds, running synchronised calls meanwhile when on
// the UI thread.
void WaitRunningSynchronized(const std::function<bool()>& finished);
