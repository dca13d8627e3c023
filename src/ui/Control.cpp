#include "ui/Control.h"

#include <windowsx.h>

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "base/Exception.h"
#include "base/GdiObjects.h"
#include "base/TextEncoding.h"
#include "ui/Application.h"
#include "ui/Cursors.h"
#include "ui/Form.h"
#include "ui/Menus.h"

namespace {

// The program's windows and their controls. Kept here rather than in window
// properties: under Wine every property lookup is a round trip to its server,
// and every message to a control looks its control up.
std::unordered_map<HWND, TControl*>& ControlsByWindow()
{
    static std::unordered_map<HWND, TControl*> controls;
    return controls;
}

// Child window identifiers; kept clear of IDOK/IDCANCEL and menu commands.
UINT NextControlId()
{
    static UINT next = 1000;
    return next++;
}

// The button of a mouse press, double click or release message.
TMouseButton ButtonOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        return mbLeft;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
        return mbRight;
    default:
        return mbMiddle;
    }
}

// Set while a form scales: controls are placed one by one, and laying out a
// parent whose children are half scaled would place them wrongly.
int suspendedAlignments = 0;

class AlignmentSuspended {
public:
    AlignmentSuspended() { ++suspendedAlignments; }
    ~AlignmentSuspended() { --suspendedAlignments; }
    AlignmentSuspended(const AlignmentSuspended&) = delete;
    AlignmentSuspended& operator=(const AlignmentSuspended&) = delete;
};

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (auto* control = static_cast<TControl*>(create->lpCreateParams))
            control->Attach(window);
    }
    if (TControl* control = TControl::FromHandle(window))
        return control->Dispatch(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (TControl* control = TControl::FromHandle(window))
        return control->Dispatch(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    font_.OnChange = [this] {
        if (!inheritingFont_)
            parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    if (handle_) {
        HWND window = handle_;
        Detach();
        DestroyWindow(window);
    }
    for (TControl* child : children_)
        child->parent_ = nullptr;
    if (parent_)
        parent_->RemoveChild(this);
}

const char* TControl::OwnWindowClass(const char* name, HICON icon)
{
    static std::set<std::string> registered;
    if (registered.insert(name).second) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        windowClass.lpfnWndProc = ControlWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hIcon = icon;
        windowClass.lpszClassName = name;
        if (!RegisterClassExA(&windowClass))
            throw Exception(std::string("Cannot register the window class ") + name);
    }
    return name;
}

TControl* TControl::FromHandle(HWND window)
{
    const auto& controls = ControlsByWindow();
    const auto found = controls.find(window);
    return found != controls.end() ? found->second : nullptr;
}

void TControl::SetParent(TControl* parent)
{
    if (parent == parent_)
        return;
    if (parent_)
        parent_->RemoveChild(this);
    parent_ = parent;
    if (parent_) {
        parent_->AddChild(this);
        if (parentFont_)
            InheritFont(parent_->font_);
    }
    if (!handle_) {
        CreateHandle();
    } else {
        // A top-level window becomes a child: it needs the child style first.
        LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
        style =
            parent_ ? (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD : style & ~static_cast<LONG_PTR>(WS_CHILD);
        SetWindowLongPtrA(handle_, GWL_STYLE, style);
        ::SetParent(handle_, parent_ ? parent_->handle_ : nullptr);
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    RecordDesignPlacement();
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

void TControl::CreateHandle()
{
    CreateParams params;
    FillCreateParams(params);
    HMENU id = nullptr;
    HWND parentWindow = params.Owner;
    if (parent_) {
        params.Style |= WS_CHILD;
        parentWindow = parent_->handle_;
        id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId()));
    }
    if (visible_ && parent_)
        params.Style |= WS_VISIBLE;
    HWND window = CreateWindowExA(params.ExStyle, params.ClassName, caption_.c_str(), params.Style, left_, top_, width_,
                                  WindowHeight(height_), parentWindow, id, GetModuleHandleA(nullptr), this);
    if (!window)
        throw Exception(std::string("Cannot create a window of class ") + params.ClassName);
    // Later controls lie over earlier ones, as designed (new child windows
    // would otherwise go to the bottom).
    if (parent_)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!params.OwnClass) {
        // Subclassed by replacing the window procedure: the common controls'
        // own subclassing keeps its data in a window property, which Wine
        // fetches from its server for every message.
        Attach(window);
        originalProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlSubclassProc)));
        subclassed_ = true;
    }
    ApplyFont();
    HandleCreated();
}

void TControl::Attach(HWND window)
{
    handle_ = window;
    ControlsByWindow()[window] = this;
}

void TControl::Detach()
{
    if (!handle_)
        return;
    ControlsByWindow().erase(handle_);
    if (subclassed_)
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalProc_));
    subclassed_ = false;
    handle_ = nullptr;
}

LRESULT TControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return WndProc(message, wParam, lParam);
    } catch (const std::exception& error) {
        Application.HandleException(error);
    }
    return 0;
}

LRESULT TControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (subclassed_)
        return CallWindowProcA(originalProc_, handle_, message, wParam, lParam);
    return DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            child->CommandNotification(HIWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (TControl* child = FromHandle(header->hwndFrom); child && child->Notify(*header, result))
            return result;
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam)))
            if (HBRUSH brush = child->ControlColors(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_WINDOWPOSCHANGED:
        // Children move only through MoveTo; a top-level window is also
        // moved and sized by the user, so its placement is read back.
        if (!parent_) {
            const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!(position->flags & SWP_NOMOVE)) {
                left_ = position->x;
                top_ = position->y;
            }
            if (!(position->flags & SWP_NOSIZE)) {
                width_ = position->cx;
                height_ = position->cy;
            }
        }
        break;
    case WM_SIZE:
        AlignControls();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    // The second press of a quick double click is a press all the same.
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        MouseDown(ButtonOf(message), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        MouseUp(ButtonOf(message), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_MOUSEMOVE:
        MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_KEYDOWN:
        if (KeyDown(wParam))
            return 0;
        break;
    case WM_CHAR:
        if (std::exchange(swallowCharacter_, false))
            return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Windows' own handling of the menu key is not the same everywhere
        // (Wine has none), so the control asks for its menu itself.
        if (wParam == VK_APPS && ShowPopupMenu(-1))
            return 0;
        break;
    case WM_CONTEXTMENU:
        if (ShowPopupMenu(lParam))
            return 0;
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == handle_ && LOWORD(lParam) == HTCLIENT && cursor_ != crDefault) {
            ::SetCursor(CursorHandle(cursor_));
            return TRUE;
        }
        break;
    case WM_ERASEBKGND:
        if (!subclassed_)
            return 1;  // painted with the rest, off-screen
        break;
    case WM_PAINT:
        if (!subclassed_) {
            PaintBuffered();
            return 0;
        }
        break;
    case WM_NCDESTROY: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        Detach();
        return result;
    }
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

void TControl::MouseDown(TMouseButton button, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(*this, button, x, y);
}

void TControl::MouseUp(TMouseButton button, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(*this, button, x, y);
}

void TControl::MouseMove(int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(*this, x, y);
}

bool TControl::KeyDown(WPARAM key)
{
    swallowCharacter_ = false;
    if (!OnKeyDown)
        return false;
    WORD used = static_cast<WORD>(key);
    OnKeyDown(*this, used);
    swallowCharacter_ = used == 0;
    return swallowCharacter_;
}

bool TControl::ShowPopupMenu(LPARAM screenPoint)
{
    if (!popupMenu_)
        return false;
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    // (-1, -1) means the keyboard asked: the control says where.
    if (point.x == -1 && point.y == -1) {
        point = KeyboardContextMenuPoint();
        ClientToScreen(handle_, &point);
    }
    popupMenu_->Popup(point, handle_);
    return true;
}

void TControl::PaintBuffered()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle_, &paint);
    RECT client{};
    GetClientRect(handle_, &client);
    {
        const BitmapDC memory(CreateMemoryDC(dc),
                              GdiObject<HBITMAP>(CreateCompatibleBitmap(dc, client.right, client.bottom)));
        if (memory.Valid()) {
            FillRect(memory.DC(), &client, BackgroundBrush());
            Paint(memory.DC(), client);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory.DC(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(handle_, &paint);
}

HBRUSH TControl::ControlColors(HDC dc)
{
    SetTextColor(dc, ColorToRGB(font_.Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    return BackgroundBrush();
}

HBRUSH TControl::BackgroundBrush() const
{
    const COLORREF color = ColorToRGB(Color());
    if (!brush_ || brushColor_ != color) {
        brush_.reset(CreateSolidBrush(color));
        brushColor_ = color;
    }
    return brush_.get();
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    MoveTo(left, top, width, height);
    RecordDesignPlacement();
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

void TControl::MoveTo(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, WindowHeight(height), SWP_NOZORDER | SWP_NOACTIVATE);
}

int TControl::ClientWidth() const
{
    return handle_ ? ClientSize(handle_).cx : width_;
}

int TControl::ClientHeight() const
{
    return handle_ ? ClientSize(handle_).cy : height_;
}

void TControl::RecordDesignPlacement()
{
    designRect_ = {left_, top_, left_ + width_, top_ + height_};
    designParentSize_ = parent_ && parent_->handle_ ? ClientSize(parent_->handle_) : SIZE{};
}

void TControl::SetAnchors(TAnchors anchors)
{
    anchors_ = anchors;
    RecordDesignPlacement();
}

void TControl::SetAlign(TAlign align)
{
    align_ = align;
    if (parent_)
        parent_->AlignControls();
}

void TControl::ScaleBy(int multiplier, int divider)
{
    if (multiplier == divider)
        return;
    {
        const AlignmentSuspended suspended;
        // Every placement first, so that a label measuring itself in its
        // scaled font records its place against its parent's scaled size.
        ScaleTree(multiplier, divider);
        ScaleFonts(multiplier, divider);
    }
    AlignTree();
}

void TControl::ScaleTree(int multiplier, int divider)
{
    ChangeScale(multiplier, divider);
    for (TControl* child : children_)
        child->ScaleTree(multiplier, divider);
}

void TControl::ChangeScale(int multiplier, int divider)
{
    const auto scaled = [&](LONG length) { return MulDiv(length, multiplier, divider); };
    const LONG designLeft = scaled(designRect_.left);
    const LONG designTop = scaled(designRect_.top);
    designRect_ = {designLeft, designTop, designLeft + scaled(designRect_.right - designRect_.left),
                   designTop + scaled(designRect_.bottom - designRect_.top)};
    designParentSize_ = {scaled(designParentSize_.cx), scaled(designParentSize_.cy)};
    MoveTo(scaled(left_), scaled(top_), scaled(width_), scaled(height_));
}

void TControl::ScaleFonts(int multiplier, int divider)
{
    // A control that inherits its font follows its parent's scaled one. A
    // height is cut towards zero, never rounded up: text grows no more than
    // the room designed for it, which grows by the full scale (an 8-point
    // font of 11 pixels at 96 DPI becomes 16 at 144, as 8 points are there).
    if (!parentFont_)
        font_.SetHeight(font_.Height() * multiplier / divider);
    for (TControl* child : children_)
        child->ScaleFonts(multiplier, divider);
}

void TControl::AlignTree()
{
    AlignControls();
    for (TControl* child : children_)
        child->AlignTree();
}

void TControl::AlignControls()
{
    if (!handle_ || suspendedAlignments > 0)
        return;
    const SIZE size = ClientSize(handle_);
    RECT free{0, 0, size.cx, size.cy};
    for (TControl* child : children_) {
        if (!child->visible_)
            continue;
        const int width = free.right - free.left;
        switch (child->align_) {
        case alTop:
            child->MoveTo(free.left, free.top, width, child->height_);
            free.top += child->height_;
            break;
        case alBottom:
            child->MoveTo(free.left, free.bottom - child->height_, width, child->height_);
            free.bottom -= child->height_;
            break;
        case alClient:
            child->MoveTo(free.left, free.top, width, std::max(0L, free.bottom - free.top));
            break;
        case alNone:
            child->PlaceByAnchors(size.cx, size.cy);
            break;
        }
    }
}

void TControl::PlaceByAnchors(int parentWidth, int parentHeight)
{
    if (designParentSize_.cx == 0 && designParentSize_.cy == 0)
        return;  // placed before its parent had a size: nothing to measure from
    const int dx = parentWidth - designParentSize_.cx;
    const int dy = parentHeight - designParentSize_.cy;
    int left = designRect_.left;
    int top = designRect_.top;
    int width = designRect_.right - designRect_.left;
    int height = designRect_.bottom - designRect_.top;
    if (anchors_ & akRight) {
        if (anchors_ & akLeft)
            width += dx;
        else
            left += dx;
    } else if (!(anchors_ & akLeft)) {
        left += dx / 2;
    }
    if (anchors_ & akBottom) {
        if (anchors_ & akTop)
            height += dy;
        else
            top += dy;
    } else if (!(anchors_ & akTop)) {
        top += dy / 2;
    }
    MoveTo(left, top, std::max(0, width), std::max(0, height));
}

void TControl::SetVisible(bool visible)
{
    visible_ = visible;
    if (handle_)
        ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

void TControl::BringToFront()
{
    if (handle_)
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TControl::Enabled() const
{
    return handle_ && IsWindowEnabled(handle_);
}

std::string TControl::Caption() const
{
    if (!handle_)
        return caption_;
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(handle_)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(handle_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TControl::SetCaption(const std::string& caption)
{
    caption_ = caption;
    if (handle_)
        SetWindowTextA(handle_, caption.c_str());
}

void TControl::SetUnicodeCaption(const std::string& utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    // The window keeps its text in UTF-16, but its 8-bit procedure would
    // pass it through the code page: the wide default procedure stores it
    // as it is, for the title bar and for other programs to read.
    if (handle_)
        DefWindowProcW(handle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void TControl::SetParentFont(bool value)
{
    parentFont_ = value;
    if (value && parent_)
        InheritFont(parent_->font_);
}

void TControl::InheritFont(const TFont& font)
{
    inheritingFont_ = true;
    font_.Assign(font);
    inheritingFont_ = false;
}

void TControl::FontChanged()
{
    ApplyFont();
    for (TControl* child : children_)
        if (child->parentFont_)
            child->InheritFont(font_);
}

void TControl::ApplyFont()
{
    if (handle_)
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
}

TColor TControl::Color() const
{
    return parentColor_ && parent_ ? parent_->Color() : color_;
}

void TControl::SetColor(TColor color)
{
    color_ = color;
    parentColor_ = false;
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TControl::SetTabOrder(int order)
{
    if (!parent_)
        return;
    auto& list = parent_->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const auto place = std::min(static_cast<std::size_t>(std::max(order, 0)), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(place), this);
}

void TControl::SetFocus()
{
    if (handle_)
        ::SetFocus(handle_);
}

TForm* TControl::ParentForm()
{
    TControl* top = this;
    while (top->parent_)
        top = top->parent_;
    return dynamic_cast<TForm*>(top);
}

void TControl::AddChild(TControl* child)
{
    children_.push_back(child);
    tabList_.push_back(child);
}

void TControl::RemoveChild(TControl* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), child), tabList_.end());
}
