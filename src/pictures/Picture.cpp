#include "pictures/Picture.h"

#include <cstdint>
#include <string>

#include "pictures/PictureFormats.h"

void TPicture::LoadFromPictureData(Stream& stream)
{
    std::uint8_t length = 0;
    std::string className;
    if (stream.Read(&length, 1) == 1) {
        className.resize(length);
        className.resize(stream.Read(className.data(), length));
    }
    std::unique_ptr<TGraphic> graphic;
    if (const TPictureFormat* format = PictureFormats().FindClassName(className)) {
        graphic = format->Create();
        graphic->LoadFromStream(stream);  // an error leaves the new graphic behind, freed
    }
    graphic_ = std::move(graphic);
    if (graphic_) {
        graphic_->OnChange = [this](TGraphic&) { Changed(); };
        graphic_->OnProgress = [this](TGraphic& sender, ProgressStage stage, int percent, const std::string& text) {
            if (OnProgress)
                OnProgress(sender, stage, percent, text);
        };
    }
    Changed();
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange(*this);
}
