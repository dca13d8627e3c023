#pragma once
// The run of an animation painter: which frame is painted when, how often
// the animation goes round, the waits between frames and the events around
// them. Painting, waiting and firing the events belong to the painter (GDI
// and a thread of its own on Windows), which supplies them as hooks.
#include <atomic>
#include <cstdint>
#include <exception>
#include <optional>

#include "pictures/gif/GifDrawOptions.h"

class TGifPicture;
class TGIFSubImage;

enum class GifPaintEvent { StartPaint, Paint, AfterPaint, Loop, EndPaint };

// How one frame goes onto what is shown, in GIF89a order: the frame painted
// before it is disposed of first, then this frame is drawn.
struct GifFrameComposition {
    // The frame painted before, or nullptr, and its disposal method:
    // 2 restores its area to the background, 3 to what it covered.
    const TGIFSubImage* Previous = nullptr;
    int PreviousDisposal = 0;
    // Start again from the background (frame 0 with dfClearOnRestart).
    bool ClearBackground = false;
    // This frame's disposal method is 3: keep what it covers.
    bool SaveUnderneath = false;
};

// The frame's disposal method: its Graphic Control Extension's, else 1.
int FrameDisposal(const TGIFSubImage& frame);

class GifAnimationLoop {
public:
    GifAnimationLoop(TGifPicture& picture, TGIFDrawOptions options, int speedPercent);
    GifAnimationLoop(const GifAnimationLoop&) = delete;
    GifAnimationLoop& operator=(const GifAnimationLoop&) = delete;
    virtual ~GifAnimationLoop() = default;

    // Plays the animation until it ends or is terminated, then fires end of
    // painting. An exception ends the run and terminates it; the exception
    // is kept for FatalException().
    void Run();

    TGifPicture& Picture() const { return picture_; }
    TGIFDrawOptions DrawOptions() const { return options_; }
    bool Threaded() const { return (options_ & dfThreaded) != 0; }

    // The frame being painted: -1 before the start and after the end. An
    // event handler may set it; after the after-paint event the run goes on
    // from the frame set instead of the next one.
    int ActiveImage() const { return activeImage_; }
    void SetActiveImage(int index) { activeImage_ = index; }

    // Ends the run at the next step; once terminated the run no longer
    // touches the picture. Any thread may call it.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Starts the animation again at frame 0 after the current step.
    void Restart();

    std::exception_ptr FatalException() const { return fatal_; }

protected:
    // Builds what painting the frame needs.
    virtual void PrepareFrame(TGIFSubImage& frame) = 0;
    // Waits ms milliseconds, or until woken when nothing is given. Wake()
    // ends the wait at once.
    virtual void Wait(std::optional<int> ms) = 0;
    virtual void PaintFrame(TGIFSubImage& frame, const GifFrameComposition& composition) = 0;
    virtual void Fire(GifPaintEvent event) = 0;
    // A millisecond clock.
    virtual std::uint32_t NowMs() = 0;
    // Ends a pending Wait; Terminate and Restart call it.
    virtual void Wake() {}

private:
    bool Stopping() const { return terminated_ || restart_; }
    void PlayRounds();
    // Paints frames in order from the active one; false when it painted none.
    bool PlayRound(int& loopCounter);
    void ScanExtensions(const TGIFSubImage& frame, int index, int& loopCounter);
    void WaitForNextFrame(int delayUnits);

    TGifPicture& picture_;
    const TGIFDrawOptions options_;
    const int speedPercent_;
    std::atomic<int> activeImage_{-1};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> restart_{false};
    std::exception_ptr fatal_;

    // Carried from frame to frame, across rounds and restarts.
    const TGIFSubImage* previous_ = nullptr;
    int previousDisposal_ = 0;
    std::optional<int> pendingDelayUnits_;
    std::uint32_t lastWaitEnd_ = 0;
    // Set by the first looping extension met since the last (re)start.
    bool loopExtensionMet_ = false;
    int restartPoint_ = 0;
};
