#pragma once
// Menus: a form's menu bar and pop-up menus, built from items with captions,
// visibility, an enabled state and click handlers. Hidden items are left out
// of the real menu; a caption of "-" is a separator.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"

class TForm;
class TMenu;

class TMenuItem : public TComponent {
public:
    // A top item of the menu (parent null) or an item of another item's drop-down.
    TMenuItem(TMenu& menu, TMenuItem* parent, const std::string& caption);

    const std::string& Caption() const { return caption_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // A disabled item is shown greyed and cannot be chosen.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // A check mark beside the caption.
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // The key that chooses the item from anywhere in its form, as the menu
    // shows it after the caption ("Ctrl+O"); the form handles the key itself.
    const std::string& ShortCutText() const { return shortCutText_; }
    void SetShortCutText(const std::string& text);
    UINT Command() const { return command_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    void Click();

    std::function<void()> OnClick;

private:
    TMenu& menu_;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    std::string shortCutText_;
    UINT command_;
    std::vector<TMenuItem*> items_;
};

// What the menu bar and the pop-up menus share: the real menu and its items.
class TMenu : public TComponent {
public:
    ~TMenu() override;

    HMENU Handle() const { return handle_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    // Runs the item with this command; false when no item has it or it
    // cannot be chosen.
    bool Dispatch(UINT command);
    // Builds the real menu again from the items (after a change).
    void Rebuild();

protected:
    TMenu(TComponent* owner, HMENU handle);
    // The real menu was built again.
    virtual void Rebuilt() {}

private:
    friend class TMenuItem;
    TMenuItem* Find(const std::vector<TMenuItem*>& items, UINT command) const;

    HMENU handle_;
    std::vector<TMenuItem*> items_;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TForm& form);
    ~TMainMenu() override;

protected:
    void Rebuilt() override;

private:
    TForm& form_;
};

// A menu that pops up where the user asks for a control's context menu.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);

    // Fires OnPopup, shows the menu at a point of the screen for the window
    // that asked for it, and runs the item chosen, if any.
    void Popup(POINT screen, HWND owner);

    // Just before the menu shows: the moment to enable or hide items.
    std::function<void()> OnPopup;
};
