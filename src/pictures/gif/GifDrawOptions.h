#pragma once
// How a GIF picture is drawn: a 16-bit set of flags held by each picture and
// copied into each animation painter.
#include <cstdint>

using TGIFDrawOptions = std::uint16_t;
enum TGIFDrawOption : TGIFDrawOptions {
    dfThreaded = 1 << 0,        // animations run in their own thread
    dfTransparent = 1 << 1,     // frames with a transparent index are drawn through their mask
    dfAnimate = 1 << 2,         // several frames are animated rather than one frame drawn
    dfLoop = 1 << 3,            // the animation repeats (together with dfAnimate)
    dfLoopForever = 1 << 4,     // the animation repeats without limit
    dfValidateCanvas = 1 << 5,  // a painter stops when its canvas's device context is no longer valid
    dfDirect = 1 << 6,          // animations paint straight onto the canvas, not an off-screen buffer
    dfClearOnRestart = 1 << 7,  // the background is cleared whenever the animation starts again at frame 0
    dfTile = 1 << 8,            // frames are repeated across the destination instead of scaled
    dfDither = 1 << 9,          // frame bitmaps may be dithered to a fixed palette
    dfAutoDither = 1 << 10,     // with dfDither: dither only when the display has at most 8 bits per pixel
};
inline constexpr TGIFDrawOptions DefaultDrawFlags =
    dfThreaded | dfTransparent | dfAnimate | dfLoop | dfDither | dfAutoDither;
inline constexpr int DefaultSpeedPercent = 100;

// Whether frame bitmaps are dithered to the fixed palette, for a display with
// a palette (at most 8 bits per pixel) or without.
inline bool DitherApplies(TGIFDrawOptions options, bool palettedDisplay)
{
    return (options & dfDither) != 0 && ((options & dfAutoDither) == 0 || palettedDisplay);
}
