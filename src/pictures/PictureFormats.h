#pragma once
// The process-wide list of picture formats: file extension, description and
// the graphic class that reads it. A picture stored in a window's design names
// its class, and the class is found here by that name.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pictures/Graphic.h"

struct TPictureFormat {
    std::string Extension;
    std::string Description;
    std::string ClassName;
    std::function<std::unique_ptr<TGraphic>()> Create;
    // The registered clipboard format that this class reads, or 0.
    unsigned ClipboardFormat = 0;
};

class TPictureFormatList {
public:
    void Add(TPictureFormat format);
    // Removes every entry of the class.
    void Remove(const std::string& className);
    // The most recently added entry whose class name is exactly this one
    // (letter case included), or null.
    const TPictureFormat* FindClassName(const std::string& className) const;
    // The most recently added entry for a file extension (without its dot),
    // letter case ignored, or null.
    const TPictureFormat* FindExtension(const std::string& extension) const;
    const std::vector<TPictureFormat>& Formats() const { return formats_; }

private:
    template <typename Predicate>
    const TPictureFormat* FindLast(Predicate matches) const;

    std::vector<TPictureFormat> formats_;
};

TPictureFormatList& PictureFormats();

// The codecs' registrations, made once at start-up before any window exists
// and taken back at shut-down.
void RegisterPictureFormats();
void UnregisterPictureFormats();
