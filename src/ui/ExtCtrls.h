#pragma once
// A plain panel that holds other controls, and a bevel line.
#include "ui/Control.h"

class TPanel : public TControl {
public:
    explicit TPanel(TComponent* owner);

protected:
    void FillCreateParams(CreateParams& params) override;
};

enum TBevelShape { bsTopLine, bsBottomLine };

class TBevel : public TControl {
public:
    explicit TBevel(TComponent* owner);
    void SetShape(TBevelShape shape);

protected:
    void FillCreateParams(CreateParams& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    TBevelShape shape_ = bsTopLine;
};
