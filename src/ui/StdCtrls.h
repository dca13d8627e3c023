#pragma once
// Wrappers for the standard controls the forms use: label, push button,
// single-line edit box and drop-down list.
#include <functional>
#include <string>

#include "ui/Control.h"
#include "ui/Form.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomLabel : public TControl {
public:
    explicit TCustomLabel(TComponent* owner);

    void SetCaption(const std::string& caption) override;
    void SetAlignment(TAlignment alignment);
    // An auto-sized label takes the size of its text.
    void SetAutoSize(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetWordWrap(bool value);

    // A left button pressed and released over the label.
    std::function<void()> OnClick;

protected:
    void FillCreateParams(CreateParams& params) override;
    void Paint(HDC dc, const RECT& client) override;
    void FontChanged() override;
    void MouseDown(TMouseButton button, int x, int y) override;
    void MouseUp(TMouseButton button, int x, int y) override;
    // The caption changed: re-measure an auto-sized label and repaint.
    virtual void TextChanged();
    void AdjustSize();

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool leftPressed_ = false;
};

using TLabel = TCustomLabel;

class TButton : public TControl {
public:
    explicit TButton(TComponent* owner);

    // Hands the modal result to the form that contains the button, then
    // fires OnClick.
    void Click();
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    TModalResult ModalResult() const { return modalResult_; }
    // Esc presses a cancel button, Enter a default one.
    void SetCancel(bool value) { cancel_ = value; }
    bool Cancel() const { return cancel_; }
    void SetDefault(bool value) { default_ = value; }
    bool Default() const { return default_; }

    std::function<void()> OnClick;

protected:
    void FillCreateParams(CreateParams& params) override;
    void CommandNotification(WORD code) override;

private:
    TModalResult modalResult_ = mrNone;
    bool cancel_ = false;
    bool default_ = false;
};

class TEdit : public TControl {
public:
    explicit TEdit(TComponent* owner);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }

protected:
    void FillCreateParams(CreateParams& params) override;
    HBRUSH ControlColors(HDC) override { return nullptr; }
};

// A drop-down list without typing.
class TComboBox : public TControl {
public:
    explicit TComboBox(TComponent* owner);
    void AddItem(const std::string& text);
    int ItemCount() const;
    // -1 when nothing is selected.
    int ItemIndex() const;
    void SetItemIndex(int index);

protected:
    void FillCreateParams(CreateParams& params) override;
    int WindowHeight(int designHeight) const override;
    // The dropped-down list keeps room for as many items, and the selection
    // field keeps its designed height.
    void ChangeScale(int multiplier, int divider) override;
    void FontChanged() override;
    HBRUSH ControlColors(HDC) override { return nullptr; }

private:
    // Windows makes the selection field as tall as its font needs, which at
    // the design's resolution is the designed height. A scaled font alone
    // leaves it shorter than the scaled design (and the edit boxes beside
    // it), so on a scaled form it is set to the designed height.
    void FitSelectionField();

    // Room for eight items when the list is dropped down.
    int dropDownHeight_ = 8 * 16;
    bool scaled_ = false;
};
