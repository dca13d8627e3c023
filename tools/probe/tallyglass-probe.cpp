// Watches a running Tallyglass Viewer from outside, for the demo and
// screenshot scripts:
//   tallyglass-probe wait-rows [SECONDS]  waits until the main window lists rows
//   tallyglass-probe drive-filters        presses every date choice's and the text
//                                         filter's "Show" and prints the rows listed
//   tallyglass-probe open-about [SECONDS] chooses Help, About with the keyboard, as a
//                                         user would, and waits until the dialog is up
//   tallyglass-probe geometry CLASS       prints where the window of that class stands
//                                         on the screen, as WIDTHxHEIGHT+LEFT+TOP
//   tallyglass-probe close [SECONDS]      closes the main window (and a dialog open over
//                                         it) and waits until it is gone
//   tallyglass-probe show-list [SECONDS]  waits until the main window shows, then prints
//                                         in UTF-8 its title, its status bar's panes and
//                                         every row's cells, each a line of fields
//                                         separated by tabs
// Exits 0 on success, 1 on time-out or a missing window, 2 on wrong use.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 100;

HWND MainWindow()
{
    return FindWindowA("TTallyglassViewer", nullptr);
}

// The main window's controls of one window class, in the order of their left edges.
std::vector<HWND> ControlsOfClass(const char* className)
{
    struct Search {
        const char* ClassName;
        std::vector<HWND> Found;
    } search{className, {}};
    if (HWND main = MainWindow())
        EnumChildWindows(
            main,
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                char name[64] = {};
                GetClassNameA(window, name, sizeof name);
                if (_stricmp(name, s->ClassName) == 0)
                    s->Found.push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
    std::sort(search.Found.begin(), search.Found.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return search.Found;
}

HWND AboutDialog()
{
    HWND about = FindWindowA("TAbout", nullptr);
    return about && IsWindowVisible(about) ? about : nullptr;
}

int ListedRows()
{
    const auto lists = ControlsOfClass(WC_LISTVIEWA);
    return lists.empty() ? 0 : static_cast<int>(SendMessageA(lists.front(), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<HWND> ShowButtons()
{
    std::vector<HWND> shows;
    for (HWND button : ControlsOfClass("Button")) {
        char text[16] = {};
        GetWindowTextA(button, text, sizeof text);
        if (std::strcmp(text, "Show") == 0)
            shows.push_back(button);
    }
    return shows;
}

int DriveFilters()
{
    const auto combos = ControlsOfClass("ComboBox");
    const auto edits = ControlsOfClass("Edit");
    const auto shows = ShowButtons();
    if (combos.empty() || edits.empty() || shows.size() != 2) {
        std::fprintf(stderr, "tallyglass-probe: the filter controls are not there\n");
        return 1;
    }
    const int choices = static_cast<int>(SendMessageA(combos[0], CB_GETCOUNT, 0, 0));
    for (int i = 0; i < choices; ++i) {
        // The wide form: Wine passes the 8-bit one between processes only in part.
        wchar_t text[64] = {};
        SendMessageW(combos[0], CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        SendMessageA(combos[0], CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(shows[0], BM_CLICK, 0, 0);
        std::printf("%ls: %d\n", text, ListedRows());
    }
    const char needle[] = "exe";
    SendMessageA(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(needle));
    SendMessageA(shows[1], BM_CLICK, 0, 0);
    std::printf("Text \"%s\": %d\n", needle, ListedRows());
    return 0;
}

// Memory in the program's own process, where its controls can write what a
// message asks of them: their replies cannot point into the probe's memory.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size) : size_(size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBuffer()
    {
        if (base_)
            VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Usable() const { return base_ != nullptr; }
    char* At(std::size_t offset) const { return base_ + offset; }
    std::size_t Size() const { return size_; }
    void Write(std::size_t offset, const void* bytes, std::size_t size) const
    {
        WriteProcessMemory(process_, base_ + offset, bytes, size, nullptr);
    }
    std::wstring ReadText(std::size_t offset, std::size_t characters) const
    {
        std::wstring text(characters, L'\0');
        ReadProcessMemory(process_, base_ + offset, text.data(), characters * sizeof(wchar_t), nullptr);
        return text;
    }

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    std::size_t size_;
};

// A message to the program that gives up after a while rather than waiting
// on a program that stopped answering.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

std::string Utf8(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    std::string utf8(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

// A list view cell's text, through the control's wide message.
std::wstring CellText(const RemoteBuffer& remote, HWND list, int row, int column)
{
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof item));
    item.cchTextMax = static_cast<int>((remote.Size() - sizeof item) / sizeof(wchar_t));
    remote.Write(0, &item, sizeof item);
    const auto length = static_cast<std::size_t>(
        Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0))));
    return remote.ReadText(sizeof item, length);
}

std::wstring PaneText(const RemoteBuffer& remote, HWND bar, int pane)
{
    const auto length = LOWORD(Ask(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0));
    Ask(bar, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(remote.At(0)));
    return remote.ReadText(0, length);
}

int ShowList()
{
    HWND main = MainWindow();
    const auto lists = ControlsOfClass(WC_LISTVIEWA);
    const auto bars = ControlsOfClass(STATUSCLASSNAMEA);
    if (!main || lists.empty() || bars.empty()) {
        std::fprintf(stderr, "tallyglass-probe: the list or the status bar is not there\n");
        return 1;
    }
    const RemoteBuffer remote(main, 1 << 16);
    if (!remote.Usable()) {
        std::fprintf(stderr, "tallyglass-probe: cannot reach the program's memory\n");
        return 1;
    }
    wchar_t title[512] = {};
    GetWindowTextW(main, title, 512);
    std::printf("title\t%s\nstatus", Utf8(title).c_str());
    for (int pane = 0; pane < 3; ++pane)
        std::printf("\t%s", Utf8(PaneText(remote, bars.front(), pane)).c_str());
    std::printf("\n");
    HWND header = reinterpret_cast<HWND>(Ask(lists.front(), LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(Ask(header, HDM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < ListedRows(); ++row) {
        std::printf("row");
        for (int column = 0; column < columns; ++column)
            std::printf("\t%s", Utf8(CellText(remote, lists.front(), row, column)).c_str());
        std::printf("\n");
    }
    return 0;
}

template <typename Condition>
bool WaitFor(Condition condition, int seconds)
{
    for (DWORD waited = 0; waited < static_cast<DWORD>(seconds) * 1000; waited += kPollMs) {
        if (condition())
            return true;
        Sleep(kPollMs);
    }
    return condition();
}

}  // namespace

// The menu bar by its keyboard interface: the bar's first menu, one to the
// right (Help), dropped down, up to its last item (About), chosen. Menus take
// keys from their window's queue, so posted ones do.
void ChooseHelpAbout(HWND main)
{
    PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 0);
    for (WPARAM key : {VK_RIGHT, VK_DOWN, VK_UP, VK_RETURN}) {
        PostMessageA(main, WM_KEYDOWN, key, 1);
        PostMessageA(main, WM_KEYUP, key, 1 | 3u << 30);
    }
}

int PrintGeometry(const char* className)
{
    HWND window = FindWindowA(className, nullptr);
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) {
        std::fprintf(stderr, "tallyglass-probe: no %s window\n", className);
        return 1;
    }
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    if (std::strcmp(argv[1], "wait-rows") == 0) {
        if (!WaitFor([] { return ListedRows() > 0; }, seconds)) {
            std::fprintf(stderr, "tallyglass-probe: no rows listed after %d s\n", seconds);
            return 1;
        }
        std::printf("%d rows listed\n", ListedRows());
        return 0;
    }
    if (std::strcmp(argv[1], "drive-filters") == 0)
        return DriveFilters();
    if (std::strcmp(argv[1], "show-list") == 0) {
        if (!WaitFor([] { return MainWindow() && IsWindowVisible(MainWindow()); }, seconds))
            return 1;
        return ShowList();
    }
    if (std::strcmp(argv[1], "open-about") == 0) {
        HWND main = MainWindow();
        if (!main)
            return 1;
        ChooseHelpAbout(main);
        return WaitFor([] { return AboutDialog() != nullptr; }, seconds) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "geometry") == 0)
        return argc > 2 ? PrintGeometry(argv[2]) : 2;
    if (std::strcmp(argv[1], "close") == 0) {
        if (HWND about = AboutDialog())
            PostMessageA(about, WM_CLOSE, 0, 0);
        if (HWND main = MainWindow())
            PostMessageA(main, WM_CLOSE, 0, 0);
        return WaitFor([] { return MainWindow() == nullptr; }, seconds) ? 0 : 1;
    }
    return 2;
}
