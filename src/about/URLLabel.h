#pragma once
// A label that looks like a web link and opens its address through the
// shell when a mouse button is pressed on it. Its address follows its caption
// for as long as the two are the same (or the address is empty), so a label
// whose caption is itself an address needs no address of its own.
#include <string>

#include "ui/StdCtrls.h"

// The link cursor's number in the application's cursor table.
constexpr TCursor crAutoURLLabel = -1101;

// Unit start-up and shut-down: the hand cursor from the executable's resource
// "AUTOURLLABELCURSOR" is registered under crAutoURLLabel, and destroyed.
// Should it fail to load, the links show the standard arrow.
void RegisterURLLabelCursor();
void DestroyURLLabelCursor();

class TAutoURLLabel : public TCustomLabel {
public:
    explicit TAutoURLLabel(TComponent* owner);

    const std::string& URL() const { return url_; }
    void SetURL(const std::string& url);

protected:
    // The caption changed: an address that followed the caption follows it on.
    void TextChanged() override;
    void MouseMove(int x, int y) override;
    // Any button opens the address, on the press rather than the release.
    void MouseDown(TMouseButton button, int x, int y) override;

private:
    void OpenURL();

    std::string url_;
    std::string rememberedCaption_;
};
