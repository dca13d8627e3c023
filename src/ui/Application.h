#pragma once
// The application object: title, main form, message loop and the default
// error report.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "ui/Component.h"

class TForm;

// The text the default error report shows for a message: a full stop is
// appended when the last character sorts after ".".
std::string ErrorReportText(const std::string& message);

class TApplication {
public:
    using ErrorReport = std::function<void(const std::string& caption, const std::string& text)>;

    // Prepares the common controls.
    void Initialize();

    std::string Title;

    // Creates a form owned by the application, with any further arguments
    // its constructor takes; the first becomes the main form.
    template <typename Form, typename... Arguments>
    Form* CreateForm(Arguments&&... arguments)
    {
        auto* form = new Form(&forms_, std::forward<Arguments>(arguments)...);
        if (!mainForm_)
            mainForm_ = form;
        return form;
    }
    TForm* MainForm() const { return mainForm_; }

    // Shows the main form with the start-up show command and runs the message
    // loop until Terminate. Returns the exit code.
    int Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Waits for and handles one message; false once the loop must end.
    bool HandleMessage();
    // Handles every message already waiting, without blocking.
    void ProcessMessages();
    // Frees every form the application owns.
    void DestroyForms();

    // The default error report: a message box with the error icon, the title
    // as caption and the message as text, unless a hook takes the report.
    void HandleException(const std::exception& error);
    ErrorReport OnErrorReport;

    // The system announced changed user settings.
    void SettingsChanged();
    std::function<void()> OnSettingsChange;

private:
    void DispatchOne(MSG& message);
    // The window a report's message box belongs to: the active one, else the
    // first form made (the main form, even while it is being made). Owned,
    // the box is never taken for the program's first window, which Windows
    // would give the start-up show command (minimised, say) meant for the
    // main form.
    HWND ReportOwner() const;

    TComponent forms_{nullptr};
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication Application;

// The show command the program was started with, as the main form honours it:
// maximised for 3, minimised without activation for 7, otherwise normal.
// Windows may itself put the start-up command in place of SW_SHOWNORMAL or
// SW_SHOW the first time an unowned window is shown, so normal is SW_RESTORE,
// which shows a new window alike: the main form gets exactly this command.
int StartupShowCommand();
