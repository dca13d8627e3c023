#include "ui/Application.h"

#include <commctrl.h>

#include "ui/Form.h"

TApplication Application;

std::string ErrorReportText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + '.';
    return message;
}

int StartupShowCommand()
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (startup.dwFlags & STARTF_USESHOWWINDOW) {
        if (startup.wShowWindow == SW_SHOWMAXIMIZED)
            return SW_SHOWMAXIMIZED;
        if (startup.wShowWindow == SW_SHOWMINNOACTIVE)
            return SW_SHOWMINNOACTIVE;
    }
    return SW_RESTORE;
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

int TApplication::Run()
{
    terminated_ = false;
    if (mainForm_) {
        mainForm_->ShowForm(StartupShowCommand());
        while (HandleMessage()) {
        }
    }
    return 0;
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

bool TApplication::HandleMessage()
{
    MSG message;
    const BOOL result = GetMessageA(&message, nullptr, 0, 0);
    if (result == 0 || result == -1) {
        terminated_ = true;
        return false;
    }
    DispatchOne(message);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        DispatchOne(message);
    }
}

void TApplication::DispatchOne(MSG& message)
{
    if (message.message == WM_KEYDOWN) {
        TControl* target = nullptr;
        for (HWND w = message.hwnd; w && !target; w = GetParent(w))
            target = TControl::FromHandle(w);
        if (TForm* form = target ? target->ParentForm() : nullptr) {
            // A short cut, or a key that clicks a button, runs its handler from
            // here, outside any window procedure, so its errors are reported
            // here too.
            try {
                if ((form->OnShortCut && form->OnShortCut(message.wParam)) || form->DialogKey(target, message.wParam))
                    return;
            } catch (const std::exception& error) {
                HandleException(error);
                return;
            }
        }
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void TApplication::DestroyForms()
{
    mainForm_ = nullptr;
    while (forms_.ComponentCount() > 0)
        delete forms_.Components(forms_.ComponentCount() - 1);
}

void TApplication::HandleException(const std::exception& error)
{
    const std::string text = ErrorReportText(error.what());
    if (OnErrorReport)
        OnErrorReport(Title, text);
    else
        MessageBoxA(ReportOwner(), text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR);
}

HWND TApplication::ReportOwner() const
{
    if (HWND active = GetActiveWindow())
        return active;
    if (forms_.ComponentCount() == 0)
        return nullptr;
    auto* first = dynamic_cast<TForm*>(forms_.Components(0));
    return first ? first->Handle() : nullptr;
}

void TApplication::SettingsChanged()
{
    if (OnSettingsChange)
        OnSettingsChange();
}
