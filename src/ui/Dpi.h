#pragma once
// Screen resolution. Forms are designed in pixels at 96 per inch; on a screen
// with more, each form scales its design when it is created.
constexpr int kDesignPixelsPerInch = 96;

// The screen's pixels per inch as this process sees them: the system's
// setting for a program that declares itself DPI-aware (the manifest does),
// 96 for one that Windows stretches instead.
int ScreenPixelsPerInch();
