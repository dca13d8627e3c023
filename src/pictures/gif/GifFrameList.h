#pragma once
// The frames of a GIF picture, in stream order.
#include "pictures/gif/GifSubImage.h"

class TGIFFrameList : public TGIFList<TGIFSubImage> {
public:
    using TGIFList::TGIFList;
    // Reads frames until the trailer ';' (left for the trailer to read), the
    // end of the stream, or a byte that starts no block (with a warning).
    void LoadFromStream(Stream& stream);
};
