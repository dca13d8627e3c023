#include "about/URLLabel.h"

#include <windows.h>

#include "support/Shell.h"
#include "ui/Cursors.h"

void RegisterURLLabelCursor()
{
    RegisterCursor(crAutoURLLabel, LoadCursorA(GetModuleHandleA(nullptr), "AUTOURLLABELCURSOR"));
}

void DestroyURLLabelCursor()
{
    if (HCURSOR hand = UnregisterCursor(crAutoURLLabel))
        DestroyCursor(hand);
}

TAutoURLLabel::TAutoURLLabel(TComponent* owner) : TCustomLabel(owner)
{
    Font().SetColor(clBlue);
    Font().SetStyle(fsUnderline);
    SetBounds(Left(), Top(), 100, Height());
}

void TAutoURLLabel::SetURL(const std::string& url)
{
    url_ = url;
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TAutoURLLabel::TextChanged()
{
    const std::string caption = Caption();
    if (rememberedCaption_ == url_ || url_.empty())
        url_ = caption;
    rememberedCaption_ = caption;
    // Unlike a plain label's, this reaction repaints without re-measuring
    // by default; an auto-sized link should still fit its text.
    TCustomLabel::TextChanged();
}

void TAutoURLLabel::MouseMove(int x, int y)
{
    TCustomLabel::MouseMove(x, y);
    if (!Caption().empty())
        SetCursor(crAutoURLLabel);
}

void TAutoURLLabel::MouseDown(TMouseButton button, int x, int y)
{
    TCustomLabel::MouseDown(button, x, y);
    if (!Caption().empty())
        OpenURL();
}

void TAutoURLLabel::OpenURL()
{
    // A link that cannot be opened is not worth a message.
    try {
        CurrentShell().Execute({0, "open", url_, "", "", SW_RESTORE});
    } catch (...) {
    }
}
