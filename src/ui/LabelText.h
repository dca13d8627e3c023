#pragma once
// A label's caption measured and drawn with the same glyph advances. Text
// drawn straight from a string may come out a pixel wider than it measures
// (Wine positions glyphs by their unrounded advances), and an auto-sized
// label, exactly as wide as its measured text, would lose its last letter.
// Lines end at line breaks; a word-wrapped caption also breaks between words.
#include <windows.h>

#include <string>

#include "ui/StdCtrls.h"

// The size the caption takes with the font selected into dc. A word-wrapped
// caption breaks within wrapWidth.
SIZE MeasureLabelText(HDC dc, const std::string& text, bool wordWrap, int wrapWidth);

void DrawLabelText(HDC dc, const std::string& text, const RECT& rect, TAlignment alignment, bool wordWrap);
