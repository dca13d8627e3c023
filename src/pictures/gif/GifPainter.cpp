#include "pictures/gif/GifPainter.h"

#include <mmsystem.h>

#include <algorithm>

#include "base/ScopeExit.h"
#include "pictures/Synchronize.h"
#include "pictures/gif/GifDrawingState.h"
#include "pictures/gif/GifStretchDraw.h"
#include "pictures/gifpicture.h"

namespace {

constexpr int LongestSleepMs = 100;
constexpr DWORD WaitSliceMs = 5;

// Copies area of from (in from's own coordinates, offset by origin) onto
// the same place of to.
void CopyArea(HDC to, const GifRect& area, HDC from, const GifRect& origin)
{
    BitBlt(to, area.Left, area.Top, area.Width(), area.Height(), from, area.Left - origin.Left, area.Top - origin.Top,
           SRCCOPY);
}

GifRect Intersection(const GifRect& a, const GifRect& b)
{
    const GifRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                    std::min(a.Bottom, b.Bottom)};
    return r.Width() > 0 && r.Height() > 0 ? r : GifRect{};
}

}  // namespace

void WaitRunningSynchronized(const std::function<bool()>& finished)
{
    while (!finished()) {
        if (GetCurrentThreadId() == MainThreadId())
            CheckSynchronize(WaitSliceMs);
        else
            Sleep(WaitSliceMs);
    }
}

TGIFPainter::TGIFPainter(TGifPicture& picture, std::shared_ptr<GifPainterList> list,
                         std::shared_ptr<GifDrawGuard> guard, HDC canvas, const RECT& rect,
                         const GifPainterSettings& settings, GifPaintHandlers handlers, GifBitmapSurface* buffer)
    : GifAnimationLoop(picture, settings.DrawOptions, settings.SpeedPercent),
      list_(std::move(list)),
      guard_(std::move(guard)),
      canvas_(canvas),
      rect_(rect),
      handlers_(std::move(handlers)),
      buffer_(buffer),
      priority_(settings.Priority),
      wake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      runThread_(GetCurrentThreadId())
{
    if (!wake_)
        throw Exception("Cannot create the wake-up event of a GIF painter");
}

void TGIFPainter::Start()
{
    if (!Threaded()) {
        started_ = true;
        RunAndLeave();
        return;
    }
    auto owner = std::make_unique<std::shared_ptr<TGIFPainter>>(shared_from_this());
    DWORD id = 0;
    thread_.Reset(CreateThread(nullptr, 0, ThreadMain, owner.get(), CREATE_SUSPENDED, &id));
    if (!thread_) {
        list_->Remove(*this);
        throw Exception("Cannot create the thread of a GIF painter");
    }
    owner.release();
    runThread_ = id;
    SetThreadPriority(thread_.Get(), priority_);
    started_ = true;
    ResumeThread(thread_.Get());
}

void TGIFPainter::Stop()
{
    Terminate();
    if (thread_) {
        SetThreadPriority(thread_.Get(), THREAD_PRIORITY_NORMAL);
        ResumeThread(thread_.Get());
    }
}

bool TGIFPainter::CanEndWithoutCaller() const
{
    const bool callerRunsIt = runThread_ == GetCurrentThreadId();
    const bool callerRunsItsCall = uiCalls_ > 0 && GetCurrentThreadId() == MainThreadId();
    return started_ && !callerRunsIt && !callerRunsItsCall;
}

void TGIFPainter::Join() const
{
    if (thread_ && CanEndWithoutCaller())
        WaitForSingleObject(thread_.Get(), INFINITE);
}

DWORD WINAPI TGIFPainter::ThreadMain(void* owner)
{
    const std::unique_ptr<std::shared_ptr<TGIFPainter>> painter(static_cast<std::shared_ptr<TGIFPainter>*>(owner));
    (*painter)->RunAndLeave();
    return 0;
}

void TGIFPainter::RunAndLeave() noexcept
{
    Run();
    try {
        OnUiThread([this] {
            background_.reset();
            underneath_.reset();
            if (Threaded() && FatalException() && handlers_.OnPainterError)
                handlers_.OnPainterError(*this, FatalException());
        });
    } catch (...) {
        // The error handler's own failure has nowhere left to go.
    }
    ended_ = true;
    list_->Remove(*this);
}

void TGIFPainter::OnUiThread(const std::function<void()>& call)
{
    if (!Threaded()) {
        call();
        return;
    }
    Synchronize([this, &call] {
        ++uiCalls_;
        ScopeExit done([this] { --uiCalls_; });
        call();
    });
}

void TGIFPainter::PrepareFrame(TGIFSubImage& frame)
{
    OnUiThread([this, &frame] {
        if (!Terminated())
            Picture().RenderFrame(frame);
    });
}

void TGIFPainter::Wait(std::optional<int> ms)
{
    if (Threaded())
        WaitForSingleObject(wake_.Get(), ms ? static_cast<DWORD>(*ms) : INFINITE);
    else
        SleepPumpingMessages(std::max(ms.value_or(1), 1));
}

void TGIFPainter::SleepPumpingMessages(int ms)
{
    const std::uint32_t start = NowMs();
    for (;;) {
        const auto slept = static_cast<int>(NowMs() - start);
        if (slept >= ms || Terminated())
            return;
        Sleep(static_cast<DWORD>(std::min(ms - slept, LongestSleepMs)));
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The loop that waits for it gets it again.
                PostQuitMessage(static_cast<int>(message.wParam));
                Terminate();
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void TGIFPainter::PaintFrame(TGIFSubImage& frame, const GifFrameComposition& composition)
{
    OnUiThread([&] {
        if (Terminated())
            return;
        if ((DrawOptions() & dfValidateCanvas) != 0 && GetObjectType(canvas_) == 0) {
            Terminate();
            return;
        }
        Compose(frame, composition);
        if (buffer_ != nullptr)
            CopySurfaceToRect(*buffer_, canvas_, rect_, (DrawOptions() & dfTile) != 0);
        firstFramePainted_ = true;
    });
}

void TGIFPainter::Compose(TGIFSubImage& frame, const GifFrameComposition& composition)
{
    // The buffer holds the logical screen; without one the frames go
    // straight onto the canvas rectangle, tiled there with dfTile.
    TGifPicture& picture = Picture();
    const HDC target = buffer_ != nullptr ? buffer_->DC() : canvas_;
    const GifRect area = buffer_ != nullptr ? GifRect{0, 0, buffer_->Width(), buffer_->Height()} : ToGifRect(rect_);
    const bool tile = buffer_ == nullptr && (DrawOptions() & dfTile) != 0;
    const RECT areaRect{area.Left, area.Top, area.Right, area.Bottom};

    if (!background_) {
        background_ = std::make_unique<GifBitmapSurface>(area.Width(), area.Height());
        BitBlt(background_->DC(), 0, 0, area.Width(), area.Height(), target, area.Left, area.Top, SRCCOPY);
    }
    if (composition.ClearBackground) {
        CopyArea(target, area, background_->DC(), area);
    } else if (composition.Previous != nullptr && composition.PreviousDisposal == 2) {
        for (const GifRect& placed : FrameTargets(*composition.Previous, picture.Width(), picture.Height(), area, tile))
            CopyArea(target, Intersection(placed, area), background_->DC(), area);
    } else if (composition.Previous != nullptr && composition.PreviousDisposal == 3 && underneath_) {
        CopyArea(target, area, underneath_->DC(), area);
    }
    if (composition.SaveUnderneath) {
        if (!underneath_)
            underneath_ = std::make_unique<GifBitmapSurface>(area.Width(), area.Height());
        BitBlt(underneath_->DC(), 0, 0, area.Width(), area.Height(), target, area.Left, area.Top, SRCCOPY);
    }
    picture.StretchDrawFrame(target, areaRect, frame, tile, (DrawOptions() & dfTransparent) != 0);
}

void TGIFPainter::Fire(GifPaintEvent event)
{
    const TGIFPainterEvent* handler = nullptr;
    switch (event) {
    case GifPaintEvent::StartPaint: handler = &handlers_.OnStartPaint; break;
    case GifPaintEvent::Paint: handler = &handlers_.OnPaint; break;
    case GifPaintEvent::AfterPaint: handler = &handlers_.OnAfterPaint; break;
    case GifPaintEvent::Loop: handler = &handlers_.OnLoop; break;
    case GifPaintEvent::EndPaint: handler = &handlers_.OnEndPaint; break;
    }
    if (handler == nullptr || !*handler)
        return;
    OnUiThread([this, handler] {
        // A Draw of the picture from the handler draws nothing.
        const bool wasBusy = guard_->Busy;
        guard_->Busy = true;
        ScopeExit restore([this, wasBusy] { guard_->Busy = wasBusy; });
        (*handler)(*this);
    });
}

std::uint32_t TGIFPainter::NowMs() { return timeGetTime(); }

void TGIFPainter::Wake() { SetEvent(wake_.Get()); }

std::shared_ptr<TGIFPainter> GifPainterList::AddUnlessDrawing(HDC canvas, const RECT& rect, const PainterFactory& make)
{
    std::lock_guard lock(mutex_);
    for (const auto& painter : running_)
        if (painter->Canvas() == canvas && EqualRect(&painter->Rect(), &rect))
            return nullptr;
    std::shared_ptr<TGIFPainter> painter = make();
    running_.push_back(painter);
    return painter;
}

void GifPainterList::Remove(const TGIFPainter& painter)
{
    std::lock_guard lock(mutex_);
    const auto found =
        std::find_if(running_.begin(), running_.end(), [&painter](const auto& p) { return p.get() == &painter; });
    if (found == running_.end())
        return;
    ended_.push_back(std::move(*found));
    running_.erase(found);
}

void GifPainterList::StopAll()
{
    std::lock_guard lock(mutex_);
    for (auto it = running_.begin(); it != running_.end();) {
        (*it)->Stop();
        if (!(*it)->CanEndWithoutCaller()) {
            ended_.push_back(std::move(*it));
            it = running_.erase(it);
        } else {
            ++it;
        }
    }
}

bool GifPainterList::Empty() const
{
    std::lock_guard lock(mutex_);
    return running_.empty();
}

void GifPainterList::WaitUntilEmpty() const
{
    WaitRunningSynchronized([this] { return Empty(); });
}

void GifPainterList::ReleaseEnded()
{
    std::vector<std::shared_ptr<TGIFPainter>> ended;
    {
        std::lock_guard lock(mutex_);
        ended.swap(ended_);
    }
    for (const auto& painter : ended)
        painter->Join();
}
