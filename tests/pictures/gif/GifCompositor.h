#pragma once
// Composes a picture's frames the way a GIF89a viewer shows them, for
// comparing with expected frames of the conformance suites: an RGBA screen
// starting transparent, each image drawn over it (its transparent index left
// out), then disposed of by its disposal method (2: its area made transparent
// again, 3: the screen restored to what it was before the image).
#include <vector>

#include "GifWriter.h"

// One RGBA screen per frame with an image.
std::vector<Bytes> ComposeFrames(const TGifPicture& picture);
