#pragma once
// A form's menu bar: items with captions, visibility and click handlers.
// Hidden items are left out of the real menu; a caption of "-" is a separator.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"

class TForm;
class TMainMenu;

class TMenuItem : public TComponent {
public:
    // An item of the menu bar (parent null) or of another item's drop-down.
    TMenuItem(TMainMenu& menu, TMenuItem* parent, const std::string& caption);

    const std::string& Caption() const { return caption_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    UINT Command() const { return command_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    void Click();

    std::function<void()> OnClick;

private:
    TMainMenu& menu_;
    std::string caption_;
    bool visible_ = true;
    UINT command_;
    std::vector<TMenuItem*> items_;
};

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TForm& form);
    ~TMainMenu() override;

    HMENU Handle() const { return handle_; }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    // Runs the item with this command; false when no item has it.
    bool Dispatch(UINT command);
    // Builds the real menu again from the items (after a change).
    void Rebuild();

private:
    friend class TMenuItem;
    TMenuItem* Find(const std::vector<TMenuItem*>& items, UINT command) const;

    TForm& form_;
    HMENU handle_;
    std::vector<TMenuItem*> items_;
};
