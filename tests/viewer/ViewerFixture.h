#pragma once
// What the window tests share: a scratch registry in place of the user's,
// a shell that records instead of starting programs, the error reports the
// application would have shown, and the main window made as the program makes it.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DemoUserAssist.h"
#include "RecordingShell.h"
#include "ScratchRegistry.h"
#include "Win32UserAssistWriter.h"
#include "history/FileTime.h"
#include "history/UserAssistValue.h"
#include "support/DateTime.h"
#include "ui/Application.h"
#include "viewer/frmMain.h"
#include "viewer/frmStartMenuHistoryViewer.h"

class ViewerTest : public testing::Test {
public:
    // The "File Name" column alone, in the list's order.
    static std::vector<std::string> Names(const TStartMenuHistoryViewer& viewer);

    // Where a control's window stands in its parent's client area.
    static RECT BoundsInParent(const TControl& control)
    {
        RECT r{};
        GetWindowRect(control.Handle(), &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(control.Handle()), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

protected:
    explicit ViewerTest(unsigned roots = ScratchRegistry::CurrentUser) : scratch_(roots), useShell_(shell_) {}

    void SetUp() override
    {
        Application.Initialize();
        Application.Title = "Tallyglass Viewer";
        Application.OnErrorReport = [this](const std::string& caption, const std::string& text) {
            ASSERT_EQ(caption, "Tallyglass Viewer");
            reports_.push_back(text);
        };
    }

    void TearDown() override
    {
        Application.DestroyForms();
        Application.OnErrorReport = nullptr;
    }

    // One UserAssist value in the classic Start Menu subkey, last run at a
    // local wall-clock time (stored unconverted, as Explorer's readers take it).
    static void AddEntry(const std::string& decodedName, int count, TDateTime lastRun)
    {
        WriteUserAssistValue(StartMenuSubKey,
                             MakeUserAssistValue(decodedName, count, CalendarToFileTime(DecodeDateTime(lastRun))));
    }
    static void AddEntryWithoutTime(const std::string& decodedName, int count)
    {
        WriteUserAssistValue(StartMenuSubKey, MakeUserAssistValue(decodedName, count, {}));
    }

    TTallyglassViewer* CreateMainWindow() { return Application.CreateForm<TTallyglassViewer>(); }

    static TStartMenuHistoryViewer& ViewerOf(TTallyglassViewer& main)
    {
        for (int i = 0; i < main.ComponentCount(); ++i)
            if (auto* viewer = dynamic_cast<TStartMenuHistoryViewer*>(main.Components(i)))
                return *viewer;
        throw std::logic_error("the main window has no viewer");
    }

    // Presses a button as a user would.
    static void Press(TButton& button) { SendMessageA(button.Handle(), BM_CLICK, 0, 0); }

    static void ChooseDate(TStartMenuHistoryViewer& viewer, int index)
    {
        SendMessageA(viewer.ComboBox1->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Press(*viewer.Button2);
    }

    static void FilterByText(TStartMenuHistoryViewer& viewer, const std::string& text)
    {
        SendMessageA(viewer.Edit1->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        Press(*viewer.Button3);
    }

    // Every row the list shows, cells in column order.
    static std::vector<std::vector<std::string>> Rows(const TStartMenuHistoryViewer& viewer)
    {
        std::vector<std::vector<std::string>> rows;
        const int count = static_cast<int>(SendMessageA(viewer.ListView1->Handle(), LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < static_cast<int>(ListColumnCount); ++column)
                cells.push_back(viewer.ListView1->CellText(row, column));
            rows.push_back(cells);
        }
        return rows;
    }

    // Whether a control's own window is shown (its form may still be hidden).
    static bool Shown(const TControl& control)
    {
        return (GetWindowLongPtrA(control.Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    }

    // The decoded value names of the Start Menu subkey in the order in which
    // the registry enumerates them (Windows keeps the order of writing, Wine
    // sorts by the stored name).
    static std::vector<std::string> EnumeratedNames()
    {
        std::vector<std::string> names;
        HKEY key = nullptr;
        const std::string path = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\") +
                                 StartMenuSubKey + "\\Count";
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return names;
        char name[1024];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.push_back(Rot13(std::string(name, length)));
        }
        RegCloseKey(key);
        return names;
    }

    ScratchRegistry scratch_;
    RecordingShell shell_;
    ScopedShell useShell_;
    std::vector<std::string> reports_;
};

inline std::vector<std::string> ViewerTest::Names(const TStartMenuHistoryViewer& viewer)
{
    std::vector<std::string> names;
    for (const auto& row : Rows(viewer))
        names.push_back(row[1]);
    return names;
}
