#include "pictures/gif/GifAnimationLoop.h"

#include "pictures/gifpicture.h"

int FrameDisposal(const TGIFSubImage& frame)
{
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    return control != nullptr ? control->Disposal() : 1;
}

GifAnimationLoop::GifAnimationLoop(TGifPicture& picture, TGIFDrawOptions options, int speedPercent)
    : picture_(picture), options_(options), speedPercent_(speedPercent)
{
}

void GifAnimationLoop::Terminate()
{
    terminated_ = true;
    Wake();
}

void GifAnimationLoop::Restart()
{
    restart_ = true;
    Wake();
}

void GifAnimationLoop::Run()
{
    try {
        lastWaitEnd_ = NowMs();
        do {
            restart_ = false;
            activeImage_ = 0;
            Fire(GifPaintEvent::StartPaint);
            PlayRounds();
        } while (restart_ && !terminated_);
    } catch (...) {
        fatal_ = std::current_exception();
        Terminate();
    }
    activeImage_ = -1;
    try {
        Fire(GifPaintEvent::EndPaint);
    } catch (...) {
        if (!fatal_)
            fatal_ = std::current_exception();
    }
}

void GifAnimationLoop::PlayRounds()
{
    const bool repeat = (options_ & dfAnimate) != 0 && (options_ & dfLoop) != 0;
    const bool forever = (options_ & dfLoopForever) != 0;
    loopExtensionMet_ = false;
    restartPoint_ = 0;
    int loopCounter = 1;
    for (bool first = true; (loopCounter != 0 || forever) && !Stopping(); first = false) {
        if (!first) {
            activeImage_ = restartPoint_;
            Fire(GifPaintEvent::Loop);
        }
        // A round that paints nothing would go round again without waiting.
        if (!PlayRound(loopCounter))
            return;
        if (loopCounter > 0)
            --loopCounter;
        if (!repeat)
            return;
    }
}

bool GifAnimationLoop::PlayRound(int& loopCounter)
{
    bool painted = false;
    // Terminated() comes first: a terminated run must not touch the picture.
    while (!Stopping()) {
        const int index = activeImage_;
        if (index < 0 || static_cast<std::size_t>(index) >= picture_.Images().Count())
            break;
        TGIFSubImage& frame = picture_.Images()[static_cast<std::size_t>(index)];
        if (frame.Empty())
            break;
        PrepareFrame(frame);
        if (pendingDelayUnits_ && !Stopping())
            WaitForNextFrame(*pendingDelayUnits_);
        if (Stopping())
            break;
        Fire(GifPaintEvent::Paint);
        if (Stopping())
            break;
        ScanExtensions(frame, index, loopCounter);

        const int disposal = FrameDisposal(frame);
        const bool clear = index == 0 && (options_ & dfClearOnRestart) != 0;
        PaintFrame(frame, {previous_, previousDisposal_, clear, disposal == 3});
        previous_ = &frame;
        previousDisposal_ = disposal;
        pendingDelayUnits_ = FrameDelayUnits(frame, Threaded());
        painted = true;
        if (Stopping())
            break;

        Fire(GifPaintEvent::AfterPaint);
        int unmoved = index;
        activeImage_.compare_exchange_strong(unmoved, index + 1);
        if ((options_ & dfAnimate) == 0)
            break;
    }
    return painted;
}

void GifAnimationLoop::ScanExtensions(const TGIFSubImage& frame, int index, int& loopCounter)
{
    if (loopExtensionMet_)
        return;
    for (std::size_t i = 0; i < frame.Extensions().Count(); ++i) {
        const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&frame.Extensions()[i]);
        if (loop == nullptr)
            continue;
        const bool endless = loop->Loops() == 0 || (options_ & dfLoopForever) != 0;
        loopCounter = endless && Threaded() ? -1 : loop->Loops();
        restartPoint_ = index;
        loopExtensionMet_ = true;
        return;
    }
}

void GifAnimationLoop::WaitForNextFrame(int delayUnits)
{
    const auto elapsed = static_cast<int>(NowMs() - lastWaitEnd_);
    Wait(PainterWaitMs(delayUnits, elapsed, speedPercent_, Threaded()));
    lastWaitEnd_ = NowMs();
}
