#pragma once
// A picture holder: one graphic, of whichever registered class the picture
// data names.
#include <functional>
#include <memory>

#include "pictures/Graphic.h"
#include "pictures/Stream.h"

class TPicture {
public:
    TGraphic* Graphic() const { return graphic_.get(); }
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Reads picture data as a window's design stores it: a length byte, the
    // graphic class's name, then the graphic's own stream. A name no format
    // has gives an empty picture; a reader's error passes on and the picture
    // keeps what it held before.
    void LoadFromPictureData(Stream& stream);

    std::function<void(TPicture& sender)> OnChange;
    TGraphic::ProgressEvent OnProgress;

private:
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};
