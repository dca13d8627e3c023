#pragma once
// Writes an RGBA image as PAM (P7, TUPLTYPE RGB_ALPHA, 8 bits, top row first).
#include <ostream>

#include "RgbaImage.h"

void WritePam(std::ostream& out, const RgbaImage& image);
