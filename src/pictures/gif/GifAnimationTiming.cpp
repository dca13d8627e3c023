#include "pictures/gif/GifAnimationTiming.h"

#include <algorithm>

#include "pictures/gif/GifDrawGeometry.h"
#include "pictures/gif/GifSubImage.h"

int FrameDelayUnits(const TGIFSubImage& frame, bool threaded)
{
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    int delay = control != nullptr && control->Delay() != 0 ? control->Delay() : DefaultDelayUnits;
    delay = std::max(delay, MinDelayUnits);
    return threaded ? delay : std::min(delay, MaxDelayUnits);
}

std::optional<int> PainterWaitMs(int delayUnits, int elapsedMs, int speedPercent, bool threaded)
{
    if (speedPercent < 1) {
        if (threaded)
            return std::nullopt;
        return MaxDelayUnits * DelayUnitMs;
    }
    const int wait = GifMulDiv(delayUnits * DelayUnitMs - elapsedMs / 2, 100, speedPercent);
    return threaded ? std::max(wait, 0) : std::max(wait, 1);
}
