#pragma once
// A loaded PNG picture resolved to RGBA the way drawing shows it: colours from
// the DIB (through its colour table where it has one), alpha from the alpha
// plane, else from tRNS for palette images, else 255.
#include "pictures/pngpicture.h"
#include "RgbaImage.h"

RgbaImage PngToRgba(const TPngPicture& picture);
