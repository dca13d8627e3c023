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
        if (item->Caption() == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item->Items().empty()) {
            HMENU popup = CreatePopupMenu();
            AppendItems(popup, item->Items());
            AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), item->Caption().c_str());
        } else {
            AppendMenuA(menu, MF_STRING, item->Command(), item->Caption().c_str());
        }
    }
}

}  // namespace

TMenuItem::TMenuItem(TMainMenu& menu, TMenuItem* parent, const std::string& caption)
    : TComponent(&menu), menu_(menu), caption_(caption), command_(NextMenuCommand())
{
    (parent ? parent->items_ : menu.items_).push_back(this);
}

void TMenuItem::SetVisible(bool visible)
{
    visible_ = visible;
    menu_.Rebuild();
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick();
}

TMainMenu::TMainMenu(TForm& form) : TComponent(&form), form_(form), handle_(CreateMenu())
{
    if (!handle_)
        throw Exception("Cannot create a menu");
}

TMainMenu::~TMainMenu()
{
    if (form_.Menu() == this)
        form_.SetMenu(nullptr);
    DestroyMenu(handle_);
}

void TMainMenu::Rebuild()
{
    while (GetMenuItemCount(handle_) > 0)
        DeleteMenu(handle_, 0, MF_BYPOSITION);  // also destroys the drop-downs
    AppendItems(handle_, items_);
    if (form_.Menu() == this)
        DrawMenuBar(form_.Handle());
}

bool TMainMenu::Dispatch(UINT command)
{
    if (TMenuItem* item = Find(items_, command); item && item->Visible()) {
        item->Click();
        return true;
    }
    return false;
}

TMenuItem* TMainMenu::Find(const std::vector<TMenuItem*>& items, UINT command) const
{
    for (TMenuItem* item : items) {
        if (item->Command() == command)
            return item;
        if (TMenuItem* found = Find(item->Items(), command))
            return found;
    }
    return nullptr;
}
