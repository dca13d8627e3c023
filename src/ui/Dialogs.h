#pragma once
// The common "Open" and "Save As" dialogs, in the manner of a form
// framework's dialog components: set one up, Execute it, read the file name
// chosen.
#include <functional>
#include <string>

#include "ui/Component.h"

class TSaveDialog : public TComponent {
public:
    explicit TSaveDialog(TComponent* owner);

    // Shows the dialog over the form of the control that owns it; true when
    // the user chose a file, whose full name FileName then holds.
    bool Execute();

    // The name offered first; the name chosen after Execute.
    std::string FileName;
    // Pairs of description and pattern, all separated by "|", as in
    // "CSV files (*.csv)|*.csv|All files (*.*)|*.*".
    std::string Filter;
    // Added to a name typed without an extension.
    std::string DefaultExt;
};

// Answers every Execute in place of the real dialog while it lives (tests).
class ScopedSaveDialogAnswer {
public:
    using Answer = std::function<bool(TSaveDialog& dialog)>;
    explicit ScopedSaveDialogAnswer(Answer answer);
    ~ScopedSaveDialogAnswer();
    ScopedSaveDialogAnswer(const ScopedSaveDialogAnswer&) = delete;
    ScopedSaveDialogAnswer& operator=(const ScopedSaveDialogAnswer&) = delete;

private:
    Answer previous_;
};

// The common "Open" dialog, through the wide Windows functions: any file name
// the file system holds comes back whole.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner);

    // Shows the dialog over the form of the control that owns it; true when
    // the user chose an existing file, whose full name FileName then holds.
    bool Execute();

    // In UTF-8: the name chosen after Execute.
    std::string FileName;
    // Pairs of description and pattern, as TSaveDialog's; patterns of one
    // pair are separated by ";".
    std::string Filter;
};
