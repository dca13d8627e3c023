#pragma once
// Owners for the GDI objects and device contexts that drawing makes, each
// released on every way out and in the right order (an object selected into a
// context is put back before either is deleted), and destination rectangles
// put the right way round.
#include <windows.h>

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

struct MemoryDCDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
// A memory device context, compatible with the given one (null: the screen).
using MemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDCDeleter>;
inline MemoryDC CreateMemoryDC(HDC compatibleWith)
{
    return MemoryDC(CreateCompatibleDC(compatibleWith));
}

// Selects an object into a context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects and realises a palette, nullptr meaning the default (system)
// palette, and puts the previous one back.
class SelectedPalette {
public:
    SelectedPalette(HDC dc, HPALETTE palette)
        : dc_(dc),
          previous_(SelectPalette(dc, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), TRUE))
    {
        RealizePalette(dc);
    }
    ~SelectedPalette() { SelectPalette(dc_, previous_, TRUE); }
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};

// Sets the text and background colours, which also colour monochrome bitmaps
// copied onto a colour context (0 bits take the text colour, 1 bits the
// background), and puts the previous ones back.
class SelectedColors {
public:
    SelectedColors(HDC dc, COLORREF text, COLORREF background)
        : dc_(dc), text_(SetTextColor(dc, text)), background_(SetBkColor(dc, background))
    {
    }
    ~SelectedColors()
    {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, background_);
    }
    SelectedColors(const SelectedColors&) = delete;
    SelectedColors& operator=(const SelectedColors&) = delete;

private:
    HDC dc_;
    COLORREF text_;
    COLORREF background_;
};

// Sets the stretching mode and puts the previous one back.
class SelectedStretchMode {
public:
    SelectedStretchMode(HDC dc, int mode) : dc_(dc), previous_(SetStretchBltMode(dc, mode)) {}
    ~SelectedStretchMode() { SetStretchBltMode(dc_, previous_); }
    SelectedStretchMode(const SelectedStretchMode&) = delete;
    SelectedStretchMode& operator=(const SelectedStretchMode&) = delete;

private:
    HDC dc_;
    int previous_;
};

// A memory device context with a bitmap of its own selected into it. Members
// are destroyed in reverse: the selection is undone, then the bitmap and the
// context are deleted. Either handle may be null when it could not be had;
// Valid() tells, and nothing is selected then.
class BitmapDC {
public:
    BitmapDC(MemoryDC dc, GdiObject<HBITMAP> bitmap) : dc_(std::move(dc)), bitmap_(std::move(bitmap))
    {
        if (Valid())
            selection_.emplace(dc_.get(), bitmap_.get());
    }

    bool Valid() const { return dc_ && bitmap_; }
    HDC DC() const { return dc_.get(); }
    HBITMAP Bitmap() const { return bitmap_.get(); }

private:
    MemoryDC dc_;
    GdiObject<HBITMAP> bitmap_;
    std::optional<SelectedObject> selection_;
};

// The rectangle with left <= right and top <= bottom.
inline RECT NormalizedRect(const RECT& rect)
{
    RECT r = rect;
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    return r;
}
