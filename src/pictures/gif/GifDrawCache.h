#pragma once
// Drawing state that a frame or a picture keeps between draws: bitmaps,
// masks, palettes and, for a picture, its animation painters. The drawing
// code builds it on first need; the reader only drops it when what it was
// built from goes away.
class GifDrawCache {
public:
    GifDrawCache() = default;
    GifDrawCache(const GifDrawCache&) = delete;
    GifDrawCache& operator=(const GifDrawCache&) = delete;
    virtual ~GifDrawCache() = default;

    // Ends every painter still drawing from the picture; called before its
    // frames are freed.
    virtual void StopPainting() {}
};
