#pragma once
// The base of the picture classes: something that loads itself from a stream,
// knows its size and tells its holder about changes and loading progress.
#include <functional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "base/Exception.h"
#include "pictures/Stream.h"

// The framework's error for a picture that cannot be read.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

enum class ProgressStage { Starting, Running, Ending };

class TGraphic {
public:
    using ProgressEvent = std::function<void(TGraphic& sender, ProgressStage stage, int percent,
                                             const std::string& message)>;
    using ChangeEvent = std::function<void(TGraphic& sender)>;

    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;
    virtual ~TGraphic() = default;

    virtual void LoadFromStream(Stream& stream) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;

    // The holder's transparency switch; a picture may report transparency of
    // its own instead (a PNG with alpha, say).
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value) { transparent_ = value; }

#ifdef _WIN32
    // Draws the picture into a rectangle of a device context, over whatever
    // the context already shows there.
    virtual void Draw(HDC dc, const RECT& rect) = 0;
#endif

    ProgressEvent OnProgress;
    ChangeEvent OnChange;

protected:
    void Progress(ProgressStage stage, int percent, const std::string& message)
    {
        if (OnProgress)
            OnProgress(*this, stage, percent, message);
    }
    void Changed()
    {
        if (OnChange)
            OnChange(*this);
    }

private:
    bool transparent_ = false;
};
