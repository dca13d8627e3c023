#pragma once
// A form: a top-level window (or a borderless one placed inside a panel of
// another form) with a close sequence, modal showing and a menu bar.
#include <functional>
#include <vector>

#include "ui/Control.h"

class TMainMenu;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderStyle { bsNone, bsSizeable };
enum TPosition { poDesigned, poScreenCenter, poOwnerFormCenter };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

class TForm : public TControl {
public:
    using TCloseEvent = std::function<void(TForm& sender, TCloseAction& action)>;
    using TNotifyEvent = std::function<void(TForm& sender)>;

    // Every form class has a window class of the same name, so tools can find it.
    TForm(TComponent* owner, const char* windowClassName);
    // Frees the owned controls and menu while the form's window still exists.
    ~TForm() override;

    void SetClientSize(int width, int height);
    void SetPosition(TPosition position) { position_ = position; }
    void SetBorderStyle(TBorderStyle style);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return menu_; }

    // Shows the form (placing it first by its position setting) and activates it.
    void ShowForm(int showCommand = SW_SHOWNORMAL);
    // The standard close: asks OnClose for an action and carries it out.
    void Close();
    // Shows the form modally, owned by the window that shows it (so it has
    // no taskbar button and never falls behind that window); the other
    // windows of the program take no input until a modal result is set.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Modal() const { return modal_; }

    // Keyboard navigation: Tab and Shift+Tab move the focus through the tab
    // order, Esc presses the cancel button, Enter the focused or default
    // button. Returns true when the key was used.
    bool DialogKey(TControl* target, WPARAM key);

    // A key pressed anywhere in the form, offered before any control sees it;
    // the handler returns true when it used the key.
    using TShortCutEvent = std::function<bool(WPARAM key)>;
    TShortCutEvent OnShortCut;

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;

protected:
    void FillCreateParams(CreateParams& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A form scales its client size (its frame and menu bar are the
    // system's); where it stands is decided when it is shown.
    void ChangeScale(int multiplier, int divider) override;
    // The end of construction: scales the design (made in pixels at 96 per
    // inch) to the screen's resolution, no larger than the screen's work
    // area (the anchored controls give way), then runs OnCreate; an error in it
    // goes to the default error report and the form is created all the same.
    void DoCreate();
    // Fires OnDestroy; a form class calls it first thing in its destructor.
    void DoDestroy();

private:
    // The window of the form that owns this one as a component, or null.
    HWND OwnerFormWindow();
    void FitIntoWorkArea();
    void PlaceByPosition();
    void CloseModal();
    std::vector<TControl*> TabStops();
    void FocusFirstTabStop();
    template <typename Predicate>
    class TButton* FindButton(Predicate predicate);

    const char* windowClassName_;
    TPosition position_ = poDesigned;
    TBorderStyle borderStyle_ = bsSizeable;
    TMainMenu* menu_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    HWND lastFocus_ = nullptr;
};
