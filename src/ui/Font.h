#pragma once
// A font description (face, height, colour, style) with the GDI font made
// from it on demand and re-made after every change.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/Color.h"
#include "base/GdiObjects.h"

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont {
public:
    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    TColor Color() const { return color_; }
    TFontStyles Style() const { return style_; }

    void SetName(const std::string& name);
    void SetHeight(int height);
    void SetColor(TColor color);
    void SetStyle(TFontStyles style);
    // Copies face, height, colour and style.
    void Assign(const TFont& source);

    HFONT Handle() const;

    // Called after every change, so the holder can re-apply the font.
    std::function<void()> OnChange;

private:
    void Changed();

    std::string name_ = "MS Shell Dlg 2";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    mutable GdiObject<HFONT> handle_;
};
