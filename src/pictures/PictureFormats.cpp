#include "pictures/PictureFormats.h"

#include <algorithm>

#include "base/AsciiCase.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "pictures/gifpicture.h"
#include "pictures/pngpicture.h"

void TPictureFormatList::Add(TPictureFormat format)
{
    formats_.push_back(std::move(format));
}

void TPictureFormatList::Remove(const std::string& className)
{
    std::erase_if(formats_, [&](const TPictureFormat& format) { return format.ClassName == className; });
}

template <typename Predicate>
const TPictureFormat* TPictureFormatList::FindLast(Predicate matches) const
{
    const auto found = std::find_if(formats_.rbegin(), formats_.rend(), matches);
    return found != formats_.rend() ? &*found : nullptr;
}

const TPictureFormat* TPictureFormatList::FindClassName(const std::string& className) const
{
    return FindLast([&](const TPictureFormat& format) { return format.ClassName == className; });
}

const TPictureFormat* TPictureFormatList::FindExtension(const std::string& extension) const
{
    return FindLast(
        [&](const TPictureFormat& format) { return SameTextIgnoringAsciiCase(format.Extension, extension); });
}

TPictureFormatList& PictureFormats()
{
    static TPictureFormatList formats;
    return formats;
}

void RegisterPictureFormats()
{
    PictureFormats().Add(
        {"PNG", "Portable Network Graphics", "TPngPicture", [] { return std::make_unique<TPngPicture>(); }});

    const char* const gifDescription = "GIF Image";
    unsigned gifClipboardFormat = 0;
#ifdef _WIN32
    // GIF pictures also come from the clipboard under a format of their own.
    gifClipboardFormat = RegisterClipboardFormatA(gifDescription);
#endif
    PictureFormats().Add(
        {"GIF", gifDescription, "TGifPicture", [] { return std::make_unique<TGifPicture>(); }, gifClipboardFormat});
}

void UnregisterPictureFormats()
{
    PictureFormats().Remove("TPngPicture");
    PictureFormats().Remove("TGifPicture");
}
