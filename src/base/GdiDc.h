#pragma once
// Device-context state that undoes itself: a memory DC deleted when it goes,
// and an object, palette, colour pair or stretch mode chosen for one scope.
// Declare the objects a selection puts into a DC before the selection, so
// they are deselected before they are deleted.
#include <windows.h>

class MemoryDC {
public:
    // Compatible with dc; with nullptr, with the screen. Get() is nullptr
    // when the system has no DC left.
    explicit MemoryDC(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects and realises a palette; nullptr selects the default system palette.
class SelectedPalette {
public:
    SelectedPalette(HDC dc, HPALETTE palette)
        : dc_(dc),
          previous_(SelectPalette(dc, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE))
    {
        RealizePalette(dc);
    }
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;
    ~SelectedPalette()
    {
        if (previous_)
            SelectPalette(dc_, previous_, TRUE);
    }

private:
    HDC dc_;
    HPALETTE previous_;
};

// Text and background colours, which also colour monochrome bitmaps copied
// onto a colour DC (0 bits take the text colour, 1 bits the background).
class SelectedColors {
public:
    SelectedColors(HDC dc, COLORREF text, COLORREF background)
        : dc_(dc), text_(SetTextColor(dc, text)), background_(SetBkColor(dc, background))
    {
    }
    SelectedColors(const SelectedColors&) = delete;
    SelectedColors& operator=(const SelectedColors&) = delete;
    ~SelectedColors()
    {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, background_);
    }

private:
    HDC dc_;
    COLORREF text_;
    COLORREF background_;
};

class SelectedStretchMode {
public:
    SelectedStretchMode(HDC dc, int mode) : dc_(dc), previous_(SetStretchBltMode(dc, mode)) {}
    SelectedStretchMode(const SelectedStretchMode&) = delete;
    SelectedStretchMode& operator=(const SelectedStretchMode&) = delete;
    ~SelectedStretchMode()
    {
        if (previous_)
            SetStretchBltMode(dc_, previous_);
    }

private:
    HDC dc_;
    int previous_;
};
