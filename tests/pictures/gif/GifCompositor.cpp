#include "GifCompositor.h"

#include <algorithm>

namespace {

void DrawFrame(const TGifPicture& picture, const TGIFSubImage& frame, Bytes& screen)
{
    const TGIFColorMap& colors = frame.ActiveColorMap();
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    const int transparent = frame.Transparent() && control != nullptr ? control->TransparentColorIndex() : -1;
    for (int y = 0; y < frame.Height(); ++y) {
        const int screenY = frame.Top() + y;
        if (screenY >= picture.Height())
            break;
        const auto row = frame.ScanLine(y);
        for (int x = 0; x < frame.Width() && frame.Left() + x < picture.Width(); ++x) {
            const int index = row[static_cast<std::size_t>(x)];
            if (index == transparent)
                continue;
            const TGIFColor color = index < colors.Count() ? colors[index] : TGIFColor{};
            const std::size_t at = (static_cast<std::size_t>(screenY) * picture.Width() + frame.Left() + x) * 4;
            screen[at] = color.Red;
            screen[at + 1] = color.Green;
            screen[at + 2] = color.Blue;
            screen[at + 3] = 255;
        }
    }
}

void ClearArea(const TGifPicture& picture, const TGIFSubImage& frame, Bytes& screen)
{
    for (int y = frame.Top(); y < std::min(frame.Top() + frame.Height(), picture.Height()); ++y)
        for (int x = frame.Left(); x < std::min(frame.Left() + frame.Width(), picture.Width()); ++x)
            std::fill_n(screen.begin() + static_cast<std::ptrdiff_t>((y * picture.Width() + x) * 4), 4, 0);
}

}  // namespace

std::vector<Bytes> ComposeFrames(const TGifPicture& picture)
{
    std::vector<Bytes> composed;
    Bytes screen(static_cast<std::size_t>(picture.Width()) * picture.Height() * 4, 0);
    for (std::size_t i = 0; i < picture.Images().Count(); ++i) {
        const TGIFSubImage& frame = picture.Images()[i];
        if (frame.Empty())
            continue;
        const Bytes before = screen;
        DrawFrame(picture, frame, screen);
        composed.push_back(screen);
        const int disposal = frame.GraphicControlExtension() ? frame.GraphicControlExtension()->Disposal() : 0;
        if (disposal == 2)
            ClearArea(picture, frame, screen);
        else if (disposal == 3)
            screen = before;
    }
    return composed;
}
