#pragma once
// An image control: shows its picture's graphic, at the graphic's size or
// stretched over the control. A transparent graphic is drawn over the
// parent's background, which shows through wherever the graphic is clear.
// Once its form has scaled, the graphic's size counts in scaled pixels too:
// the picture grows with the form, drawn stretched by its own reader.
#include "pictures/Picture.h"
#include "ui/Control.h"

class TImage : public TControl {
public:
    explicit TImage(TComponent* owner);

    TPicture& Picture() { return picture_; }
    // Reads the picture from a resource of the executable holding picture
    // data (length byte, class name, file).
    void LoadPictureResource(const char* name);

    // An auto-sized image takes its graphic's (scaled) size.
    void SetAutoSize(bool value);
    void SetStretch(bool value);
    // Passed on to the graphic's transparency switch.
    void SetTransparent(bool value);

protected:
    void FillCreateParams(CreateParams& params) override;
    void Paint(HDC dc, const RECT& client) override;
    void ChangeScale(int multiplier, int divider) override;

private:
    void PictureChanged();
    // The graphic's size at the form's scale.
    SIZE GraphicSize(const TGraphic& graphic) const;

    TPicture picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool transparent_ = false;
    int scaleMultiplier_ = 1;
    int scaleDivider_ = 1;
};
