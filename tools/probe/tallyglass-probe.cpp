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
// Exits 0 on success, 1 on time-out or a missing window, 2 on wrong use.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
