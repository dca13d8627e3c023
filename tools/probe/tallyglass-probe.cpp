// Watches a running Tallyglass Viewer from outside, for the demo script:
//   tallyglass-probe wait-rows [SECONDS]  waits until the main window lists rows
//   tallyglass-probe close [SECONDS]      closes the main window and waits until it is gone
// Exits 0 on success, 1 on time-out, 2 on wrong use.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kPollMs = 100;

HWND MainWindow()
{
    return FindWindowA("TTallyglassViewer", nullptr);
}

BOOL CALLBACK FindListView(HWND window, LPARAM result)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, WC_LISTVIEWA) == 0) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

int ListedRows()
{
    HWND main = MainWindow();
    HWND list = nullptr;
    if (main)
        EnumChildWindows(main, FindListView, reinterpret_cast<LPARAM>(&list));
    return list ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
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
    if (std::strcmp(argv[1], "close") == 0) {
        if (HWND main = MainWindow())
            PostMessageA(main, WM_CLOSE, 0, 0);
        return WaitFor([] { return MainWindow() == nullptr; }, seconds) ? 0 : 1;
    }
    return 2;
}
