#pragma once
// A visual control: one real window with position, anchors, alignment, font,
// colour, cursor and tab order, in the manner of a form framework. Controls
// are owned by a component (normally their form) and live inside a parent
// control; a control without a parent is a top-level window.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Color.h"
#include "ui/Component.h"
#include "ui/Font.h"

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

enum TAlign { alNone, alTop, alBottom, alClient };

// Cursor numbers of the application's cursor table.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crHandPoint = -21;

class TForm;
class TPopupMenu;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // The parent's window receives this control's window; the window is made
    // on the first call.
    void SetParent(TControl* parent);
    TControl* Parent() const { return parent_; }
    HWND Handle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Places the control as designed; anchors measure from this placement.
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;

    // Scales the control and everything inside it by multiplier / divider
    // (from one resolution to another): positions, sizes, anchoring and the
    // controls' own font heights; then lays the children out again.
    void ScaleBy(int multiplier, int divider);

    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    void BringToFront();
    bool Enabled() const;

    std::string Caption() const;
    virtual void SetCaption(const std::string& caption);
    // A caption in UTF-8 for a control whose window exists, kept whole
    // whatever the code page holds (the title bar shows it; Caption gives the
    // code page's form).
    void SetUnicodeCaption(const std::string& utf8);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    TColor Color() const;
    void SetColor(TColor color);

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value) { tabStop_ = value; }
    // Moves this control to the given place in its parent's tab order.
    void SetTabOrder(int order);
    const std::vector<TControl*>& TabList() const { return tabList_; }

    void SetFocus();
    bool Focused() const { return handle_ && GetFocus() == handle_; }

    using TMouseEvent = std::function<void(TControl& sender, TMouseButton button, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TControl& sender, int x, int y)>;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // A key pressed while the control has the focus. A handler that uses the
    // key sets it to 0: the control then neither sees the key nor the
    // character it types.
    using TKeyEvent = std::function<void(TControl& sender, WORD& key)>;
    TKeyEvent OnKeyDown;

    // The menu shown for a right click, Shift+F10 or the menu key.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

    // The top-level form that contains this control.
    TForm* ParentForm();

    // The control whose window this is, or null for foreign windows.
    static TControl* FromHandle(HWND window);

protected:
    struct CreateParams {
        const char* ClassName = nullptr;
        // True for the program's own window classes, false for system
        // controls, which are subclassed after creation.
        bool OwnClass = false;
        DWORD Style = WS_CLIPSIBLINGS;
        DWORD ExStyle = 0;
        // The owner of a top-level window (one without a parent), or null.
        HWND Owner = nullptr;
    };
    virtual void FillCreateParams(CreateParams& params) = 0;
    // Called once the window exists, before it is first shown.
    virtual void HandleCreated() {}
    // The height given to the window for a designed height (a drop-down list
    // box counts its list too).
    virtual int WindowHeight(int designHeight) const { return designHeight; }

    // Registers one of the program's own window classes (once) and returns its name.
    static const char* OwnWindowClass(const char* name, HICON icon = nullptr);

    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What a control of the program's own window class shows over its
    // background. The whole client area is composed off-screen and copied at
    // once, so nothing flickers.
    virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    // Mouse handling; the base versions fire the matching events.
    virtual void MouseDown(TMouseButton button, int x, int y);
    virtual void MouseUp(TMouseButton button, int x, int y);
    virtual void MouseMove(int x, int y);
    // Where a context menu asked for from the keyboard shows, in client
    // coordinates.
    virtual POINT KeyboardContextMenuPoint() const { return {0, 0}; }

    // Notifications that the parent window reflects back to the control.
    virtual void CommandNotification(WORD /*code*/) {}
    virtual bool Notify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // Text and background colours for a control of a system class; returns
    // the brush to paint the background with.
    virtual HBRUSH ControlColors(HDC dc);

    // This control's part of ScaleBy: its placement and the placement its
    // anchors measure from. Controls with more to scale add theirs.
    virtual void ChangeScale(int multiplier, int divider);

    // Lays out the aligned and anchored children inside the client area.
    void AlignControls();
    virtual void FontChanged();
    void SetDesignRect(const RECT& rect) { designRect_ = rect; }
    HBRUSH BackgroundBrush() const;
    void CreateHandle();
    // Records visibility without showing or hiding the window (forms show themselves).
    void SetVisibleFlag(bool visible) { visible_ = visible; }
    // Moves and sizes the window without touching the designed placement.
    void MoveTo(int left, int top, int width, int height);

private:
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK ControlSubclassProc(HWND, UINT, WPARAM, LPARAM);

    void Attach(HWND window);
    void Detach();
    void ApplyBounds();
    void ApplyFont();
    void RecordDesignPlacement();
    void PlaceByAnchors(int parentWidth, int parentHeight);
    void ScaleTree(int multiplier, int divider);
    void ScaleFonts(int multiplier, int divider);
    void AlignTree();
    void InheritFont(const TFont& font);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintBuffered();
    void AddChild(TControl* child);
    void RemoveChild(TControl* child);
    bool KeyDown(WPARAM key);
    bool ShowPopupMenu(LPARAM screenPoint);

    TControl* parent_ = nullptr;
    HWND handle_ = nullptr;
    bool subclassed_ = false;
    WNDPROC originalProc_ = nullptr;
    std::vector<TControl*> children_;
    std::vector<TControl*> tabList_;

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    // Placement and parent client size at design, from which anchors work.
    RECT designRect_{};
    SIZE designParentSize_{};
    TAnchors anchors_ = akLeft | akTop;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool tabStop_ = false;
    bool inheritingFont_ = false;
    std::string caption_;

    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    mutable GdiObject<HBRUSH> brush_;
    mutable COLORREF brushColor_ = 0;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    // A key the OnKeyDown handler used: the character it types is dropped too.
    bool swallowCharacter_ = false;
};
