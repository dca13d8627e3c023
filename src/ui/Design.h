#pragma once
// Placing a designed control in one line: owner, parent, position, size and anchors.
#include "ui/Control.h"

struct TBounds {
    int Left, Top, Width, Height;
};

template <typename Control>
Control* Place(TComponent* owner, TControl* parent, TBounds bounds, TAnchors anchors = akLeft | akTop)
{
    auto* control = new Control(owner);
    control->SetParent(parent);
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    control->SetAnchors(anchors);
    return control;
}
