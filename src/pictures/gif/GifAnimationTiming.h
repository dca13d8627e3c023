#pragma once
// The timing arithmetic of GIF animation: how long a frame stays and how
// long a painter waits before the next one.
#include <optional>

class TGIFSubImage;

inline constexpr int DelayUnitMs = 12;         // milliseconds counted for one unit of delay
inline constexpr int DefaultDelayUnits = 10;   // no Graphic Control Extension, or delay 0
inline constexpr int MinDelayUnits = 3;        // smaller delays are raised to this
inline constexpr int MaxDelayUnits = 1000;     // larger delays are cut to this when not threaded

// The delay after the frame, in delay units.
int FrameDelayUnits(const TGIFSubImage& frame, bool threaded);

// Milliseconds to wait before the next frame: the delay less half the time
// the last frame took beyond its wait (halved toward zero), scaled by the
// speed. Nothing means wait until woken (a threaded painter at a speed below
// 1). A threaded painter never waits less than 0 ms, an unthreaded one less
// than 1 ms.
std::optional<int> PainterWaitMs(int delayUnits, int elapsedMs, int speedPercent, bool threaded);
