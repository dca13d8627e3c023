#include "ui/LabelText.h"

#include <algorithm>
#include <vector>

namespace {

UINT WrappedTextFlags(TAlignment alignment)
{
    const UINT align = alignment == taCenter ? DT_CENTER : alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    return DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | align;
}

// The caption's lines, without their line-break characters.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\r')
            lines.back() += c;
    }
    return lines;
}

// Every glyph's advance, from the measured extents of the line's beginnings.
std::vector<int> Advances(HDC dc, const std::string& line, SIZE& extent)
{
    std::vector<int> ends(line.size());
    GetTextExtentExPointA(dc, line.c_str(), static_cast<int>(line.size()), 0, nullptr, ends.data(), &extent);
    std::vector<int> advances(line.size());
    for (std::size_t i = 0; i < ends.size(); ++i)
        advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    return advances;
}

int LineHeight(HDC dc)
{
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    return metrics.tmHeight;
}

}  // namespace

SIZE MeasureLabelText(HDC dc, const std::string& text, bool wordWrap, int wrapWidth)
{
    if (wordWrap) {
        RECT bounds{0, 0, wrapWidth, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | WrappedTextFlags(taLeftJustify));
        return {bounds.right, std::max<LONG>(bounds.bottom, LineHeight(dc))};
    }
    const auto lines = Lines(text);
    LONG width = 0;
    for (const std::string& line : lines) {
        SIZE extent{};
        Advances(dc, line, extent);
        width = std::max(width, extent.cx);
    }
    return {width, static_cast<LONG>(lines.size()) * LineHeight(dc)};
}

void DrawLabelText(HDC dc, const std::string& text, const RECT& rect, TAlignment alignment, bool wordWrap)
{
    if (wordWrap) {
        RECT bounds = rect;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &bounds, WrappedTextFlags(alignment));
        return;
    }
    const int lineHeight = LineHeight(dc);
    int top = rect.top;
    for (const std::string& line : Lines(text)) {
        SIZE extent{};
        const std::vector<int> advances = Advances(dc, line, extent);
        const int room = rect.right - rect.left - extent.cx;
        const int left = rect.left + (alignment == taCenter ? room / 2 : alignment == taRightJustify ? room : 0);
        ExtTextOutA(dc, left, top, 0, nullptr, line.c_str(), static_cast<UINT>(line.size()), advances.data());
        top += lineHeight;
    }
}
