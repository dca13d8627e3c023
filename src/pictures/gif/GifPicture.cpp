#include "pictures/gifpicture.h"

namespace {
constexpr const char* LoadingMessage = "Loading...";
}

void SendGifWarning(const TGifPicture* image, const GifPersistent& sender, int severity,
                    const std::string& message)
{
    if (image != nullptr)
        image->Warning(sender, severity, message);
}

TGifPicture::TGifPicture() : header_(this), images_(this), trailer_(this) {}

TGifPicture::~TGifPicture() { StopPainting(); }

void TGifPicture::Warning(const GifPersistent& sender, int severity, const std::string& message) const
{
    if (WarningHandler)
        WarningHandler(sender, severity, message);
}

const TGIFSubImage* TGifPicture::SelectedFrame() const
{
    if (images_.Empty())
        return nullptr;
    const bool inRange = selectedFrameIndex_ >= 0 && static_cast<std::size_t>(selectedFrameIndex_) < images_.Count();
    return &images_[inRange ? static_cast<std::size_t>(selectedFrameIndex_) : 0];
}

void TGifPicture::StopPainting()
{
    if (drawCache_)
        drawCache_->StopPainting();
}

void TGifPicture::Clear()
{
    StopPainting();
    images_.Clear();
    header_.Clear();
    drawCache_.reset();
}

void TGifPicture::FrameLoaded(Stream& stream)
{
    const std::int64_t size = stream.Size();
    const int percent = size > 0 ? static_cast<int>(stream.Position() * 100 / size) : 0;
    Progress(ProgressStage::Running, percent, LoadingMessage);
}

void TGifPicture::LoadFromStream(Stream& stream)
{
    Progress(ProgressStage::Starting, 0, LoadingMessage);
    Clear();
    fillAllowance_ = GifFillAllowance;
    const std::int64_t start = stream.Position();
    try {
        header_.LoadFromStream(stream);
        images_.LoadFromStream(stream);
        trailer_.LoadFromStream(stream);
    } catch (...) {
        stream.SetPosition(start);
        Progress(ProgressStage::Ending, 0, LoadingMessage);
        throw;
    }
    Progress(ProgressStage::Ending, 100, LoadingMessage);
}
