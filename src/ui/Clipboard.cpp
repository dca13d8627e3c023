#include "ui/Clipboard.h"

#include <cstring>
#include <string>

#include "base/TextEncoding.h"
#include "base/Exception.h"

namespace {

// The clipboard, open for this window until the scope ends.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner)
    {
        if (!OpenClipboard(owner))
            throw Exception("Cannot open the clipboard");
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

// Hands a copy of the bytes (terminator included) to the clipboard, which
// owns the memory from then on; the memory is freed here when it refuses.
void PutOnClipboard(UINT format, const void* bytes, std::size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* locked = memory ? GlobalLock(memory) : nullptr;
    if (!locked) {
        if (memory)
            GlobalFree(memory);
        throw Exception("Not enough memory to copy");
    }
    std::memcpy(locked, bytes, size);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) {
        GlobalFree(memory);
        throw Exception("Cannot put the text on the clipboard");
    }
}

// The system code page's form of a UTF-16 text.
std::string AnsiOf(const std::u16string& wide)
{
    const auto* units = reinterpret_cast<const wchar_t*>(wide.c_str());
    const int length = static_cast<int>(wide.size());
    std::string ansi(
        static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, units, length, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, units, length, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
    return ansi;
}

}  // namespace

void SetClipboardText(HWND owner, std::string_view utf8)
{
    const std::u16string wide = Utf8ToUtf16(utf8);
    const std::string ansi = AnsiOf(wide);
    const OpenClipboardScope clipboard(owner);
    EmptyClipboard();
    PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
    PutOnClipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
}
