#include "ui/Menus.h"

#include "base/Exception.h"
#include "ui/Form.h"

namespace {

// Menu commands, kept below the child window identifiers.
UINT NextMenuCommand()
{
    static UINT next = 100;
    return next++;
}

void AppendItems(HMENU menu, const std::vector<TMenuItem*>& items)
{
    for (const TMenuItem* item : items) {
        if (!item->Visible())
            continue;
        const UINT state = (item->Enabled() ? MF_ENABLED : MF_GRAYED) | (item->Checked() ? MF_CHECKED : MF_UNCHECKED);
        if (item->Caption() == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item->Items().empty()) {
            HMENU popup = CreatePopupMenu();
            AppendItems(popup, item->Items());
            AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(popup), item->Caption().c_str());
        } else {
            const std::string text =
                item->ShortCutText().empty() ? item->Caption() : item->Caption() + "\t" + item->ShortCutText();
            AppendMenuA(menu, MF_STRING | state, item->Command(), text.c_str());
        }
    }
}

HMENU Created(HMENU menu)
{
    if (!menu)
        throw Exception("Cannot create a menu");
    return menu;
}

}  // namespace

TMenuItem::TMenuItem(TMenu& menu, TMenuItem* parent, const std::string& caption)
    : TComponent(&menu), menu_(menu), caption_(caption), command_(NextMenuCommand())
{
    (parent ? parent->items_ : menu.items_).push_back(this);
}

void TMenuItem::SetVisible(bool visible)
{
    visible_ = visible;
    menu_.Rebuild();
}

void TMenuItem::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    menu_.Rebuild();
}

void TMenuItem::SetChecked(bool checked)
{
    checked_ = checked;
    menu_.Rebuild();
}

void TMenuItem::SetShortCutText(const std::string& text)
{
    shortCutText_ = text;
    menu_.Rebuild();
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick();
}

TMenu::TMenu(TComponent* owner, HMENU handle) : TComponent(owner), handle_(Created(handle)) {}

TMenu::~TMenu()
{
    DestroyMenu(handle_);
}

void TMenu::Rebuild()
{
    while (GetMenuItemCount(handle_) > 0)
        DeleteMenu(handle_, 0, MF_BYPOSITION);  // also destroys the drop-downs
    AppendItems(handle_, items_);
    Rebuilt();
}

bool TMenu::Dispatch(UINT command)
{
    if (TMenuItem* item = Find(items_, command); item && item->Visible() && item->Enabled()) {
        item->Click();
        return true;
    }
    return false;
}

TMenuItem* TMenu::Find(const std::vector<TMenuItem*>& items, UINT command) const
{
    for (TMenuItem* item : items) {
        if (item->Command() == command)
            return item;
        if (TMenuItem* found = Find(item->Items(), command))
            return found;
    }
    return nullptr;
}

TMainMenu::TMainMenu(TForm& form) : TMenu(&form, CreateMenu()), form_(form) {}

TMainMenu::~TMainMenu()
{
    if (form_.Menu() == this)
        form_.SetMenu(nullptr);
}

void TMainMenu::Rebuilt()
{
    if (form_.Menu() == this)
        DrawMenuBar(form_.Handle());
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner, CreatePopupMenu()) {}

void TPopupMenu::Popup(POINT screen, HWND owner)
{
    if (OnPopup)
        OnPopup();
    // The choice comes back here rather than as a message to the owner, so
    // the item runs while the control that asked is sure to exist.
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
    if (command != 0)
        Dispatch(command);
}
