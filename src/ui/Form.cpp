#include "ui/Form.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/Dpi.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace {

// Posted to a form whose close action was caFree, so that it is freed once
// the handler that closed it has returned.
constexpr UINT kReleaseMessage = WM_APP + 1;

constexpr LONG_PTR kFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Disables the program's other top-level windows while a modal form is shown
// and enables them again on every way out.
class OtherWindowsDisabled {
public:
    explicit OtherWindowsDisabled(HWND modal) : modal_(modal)
    {
        EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : disabled_)
            EnableWindow(window, FALSE);
    }
    ~OtherWindowsDisabled()
    {
        for (HWND window : disabled_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self)
    {
        auto* that = reinterpret_cast<OtherWindowsDisabled*>(self);
        if (window != that->modal_ && IsWindowVisible(window) && IsWindowEnabled(window))
            that->disabled_.push_back(window);
        return TRUE;
    }

    HWND modal_;
    std::vector<HWND> disabled_;
};

bool ComboDropped(HWND window)
{
    for (HWND w = window; w; w = GetParent(w)) {
        if (auto* combo = dynamic_cast<TComboBox*>(TControl::FromHandle(w)))
            return SendMessageA(combo->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
    }
    return false;
}

}  // namespace

TForm::TForm(TComponent* owner, const char* windowClassName) : TControl(owner), windowClassName_(windowClassName)
{
    SetVisibleFlag(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    CreateHandle();
}

TForm::~TForm()
{
    DestroyComponents();
}

void TForm::FillCreateParams(CreateParams& params)
{
    params.ClassName = OwnWindowClass(windowClassName_, LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
    params.OwnClass = true;
    params.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    // A form that belongs to another stays above it and out of the taskbar;
    // nor does Windows give it the program's start-up show command, which
    // is the main form's alone.
    params.Owner = OwnerFormWindow();
}

HWND TForm::OwnerFormWindow()
{
    auto* owner = dynamic_cast<TControl*>(Owner());
    TForm* form = owner ? owner->ParentForm() : nullptr;
    return form ? form->Handle() : nullptr;
}

void TForm::SetClientSize(int width, int height)
{
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), menu_ != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    MoveTo(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top);
}

void TForm::ChangeScale(int multiplier, int divider)
{
    SetClientSize(MulDiv(ClientWidth(), multiplier, divider), MulDiv(ClientHeight(), multiplier, divider));
}

void TForm::SetBorderStyle(TBorderStyle style)
{
    borderStyle_ = style;
    LONG_PTR windowStyle = GetWindowLongPtrA(Handle(), GWL_STYLE);
    windowStyle = style == bsNone ? windowStyle & ~kFrameStyles : windowStyle | kFrameStyles;
    SetWindowLongPtrA(Handle(), GWL_STYLE, windowStyle);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetMenu(TMainMenu* menu)
{
    menu_ = menu;
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
}

void TForm::PlaceByPosition()
{
    if (Parent() || position_ == poDesigned)
        return;
    // Centred over the owner, or on the screen, and kept within the work
    // area of the owner's monitor, which need not be the primary one.
    HWND owner = GetWindow(Handle(), GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;
    RECT centre = area;
    if (position_ == poOwnerFormCenter && owner)
        GetWindowRect(owner, &centre);
    const int left = centre.left + (centre.right - centre.left - Width()) / 2;
    const int top = centre.top + (centre.bottom - centre.top - Height()) / 2;
    MoveTo(std::max<int>(area.left, std::min<int>(left, area.right - Width())),
           std::max<int>(area.top, std::min<int>(top, area.bottom - Height())), Width(), Height());
}

void TForm::ShowForm(int showCommand)
{
    PlaceByPosition();
    SetVisibleFlag(true);
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
}

void TForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(*this, action);
    if (action == caNone)
        return;
    if (Application.MainForm() == this)
        Application.Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        PostMessageA(Handle(), kReleaseMessage, 0, 0);
}

TModalResult TForm::ShowModal()
{
    if (modal_)
        return mrNone;
    HWND previouslyActive = GetActiveWindow();
    if (previouslyActive && previouslyActive != Handle())
        SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(previouslyActive));
    modalResult_ = mrNone;
    modal_ = true;
    {
        OtherWindowsDisabled others(Handle());
        ShowForm();
        while (modalResult_ == mrNone) {
            if (!Application.HandleMessage()) {
                // The program is ending: let the main loop see the quit message too.
                PostQuitMessage(0);
                modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ != mrNone)
                CloseModal();
        }
    }
    // The other windows are enabled again before this one hides, so that
    // activation returns to the window that was active before.
    if (previouslyActive && IsWindow(previouslyActive))
        SetActiveWindow(previouslyActive);
    Hide();
    modal_ = false;
    return modalResult_;
}

void TForm::CloseModal()
{
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(*this, action);
    if (action == caNone)
        modalResult_ = mrNone;
}

void TForm::FitIntoWorkArea()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(Width(), work.right - work.left);
    const int height = std::min<int>(Height(), work.bottom - work.top);
    if (width != Width() || height != Height())
        MoveTo(Left(), Top(), width, height);
}

void TForm::DoCreate()
{
    ScaleBy(ScreenPixelsPerInch(), kDesignPixelsPerInch);
    if (!Parent())
        FitIntoWorkArea();
    if (!OnCreate)
        return;
    try {
        OnCreate(*this);
    } catch (const std::exception& error) {
        Application.HandleException(error);
    }
}

void TForm::DoDestroy()
{
    if (OnDestroy)
        OnDestroy(*this);
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0 && menu_ && menu_->Dispatch(LOWORD(wParam)))
            return 0;
        break;
    case WM_SETTINGCHANGE:
        Application.SettingsChanged();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus))
                lastFocus_ = focus;
        } else if (!HIWORD(wParam)) {  // not minimised
            if (lastFocus_ && IsWindow(lastFocus_) && IsChild(Handle(), lastFocus_))
                ::SetFocus(lastFocus_);
            else
                FocusFirstTabStop();
            return 0;
        }
        break;
    case kReleaseMessage:
        delete this;
        return 0;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

std::vector<TControl*> TForm::TabStops()
{
    std::vector<TControl*> stops;
    auto collect = [&stops](auto& self, TControl* parent) -> void {
        for (TControl* control : parent->TabList()) {
            if (!control->Handle() || !IsWindowVisible(control->Handle()))
                continue;
            if (control->TabStop() && control->Enabled())
                stops.push_back(control);
            self(self, control);
        }
    };
    collect(collect, this);
    return stops;
}

void TForm::FocusFirstTabStop()
{
    const auto stops = TabStops();
    if (!stops.empty())
        stops.front()->SetFocus();
}

template <typename Predicate>
TButton* TForm::FindButton(Predicate predicate)
{
    for (TControl* control : TabStops())
        if (auto* button = dynamic_cast<TButton*>(control); button && predicate(*button))
            return button;
    return nullptr;
}

bool TForm::DialogKey(TControl* target, WPARAM key)
{
    const bool modifiers = (GetKeyState(VK_CONTROL) < 0) || (GetKeyState(VK_MENU) < 0);
    switch (key) {
    case VK_TAB: {
        if (modifiers)
            return false;
        const auto stops = TabStops();
        if (stops.empty())
            return true;
        // The focus may sit in a part of a control (a combo box's edit, say).
        auto current = stops.end();
        for (TControl* c = target; c && current == stops.end(); c = c->Parent())
            current = std::find(stops.begin(), stops.end(), c);
        const bool backward = GetKeyState(VK_SHIFT) < 0;
        std::size_t index = current == stops.end() ? 0 : static_cast<std::size_t>(current - stops.begin());
        if (current != stops.end())
            index = backward ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
        stops[index]->SetFocus();
        return true;
    }
    case VK_ESCAPE:
        if (modifiers || ComboDropped(target->Handle()))
            return false;
        if (TButton* cancel = FindButton([](TButton& b) { return b.Cancel(); })) {
            cancel->Click();
            return true;
        }
        return false;
    case VK_RETURN: {
        if (modifiers || ComboDropped(target->Handle()))
            return false;
        TButton* button = dynamic_cast<TButton*>(target);
        if (!button)
            button = FindButton([](TButton& b) { return b.Default(); });
        if (button) {
            button->Click();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
