#include "ui/Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "base/Exception.h"
#include "base/TextEncoding.h"
#include "ui/Control.h"
#include "ui/Form.h"

namespace {

ScopedSaveDialogAnswer::Answer& StandInAnswer()
{
    static ScopedSaveDialogAnswer::Answer answer;
    return answer;
}

// The dialog wants each description and pattern ended by a null, and the
// list by a second one.
std::string FilterList(std::string filter)
{
    std::replace(filter.begin(), filter.end(), '|', '\0');
    return filter + std::string(2, '\0');
}

// The window of the form of the control that owns a dialog; null for none.
HWND DialogOwnerWindow(TComponent* owner)
{
    if (auto* control = dynamic_cast<TControl*>(owner); control && control->ParentForm())
        return control->ParentForm()->Handle();
    return nullptr;
}

// A dialog that could not show says so; one the user cancelled does not.
bool Shown(BOOL chosen, const char* dialogName)
{
    if (!chosen) {
        if (const DWORD error = CommDlgExtendedError())
            throw Exception(std::string("Cannot show the ") + dialogName + " dialog (error " + std::to_string(error) +
                            ")");
    }
    return chosen;
}

}  // namespace

TSaveDialog::TSaveDialog(TComponent* owner) : TComponent(owner) {}

bool TSaveDialog::Execute()
{
    if (const auto& answer = StandInAnswer())
        return answer(*this);

    std::vector<char> name(32768, '\0');
    std::copy_n(FileName.begin(), std::min(FileName.size(), name.size() - 1), name.begin());
    const std::string filter = FilterList(Filter);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwnerWindow(Owner());
    dialog.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    // Saving must not move the program's current folder nor add the file to
    // the user's recent documents.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!Shown(GetSaveFileNameA(&dialog), "Save As"))
        return false;
    FileName = name.data();
    return true;
}

ScopedSaveDialogAnswer::ScopedSaveDialogAnswer(Answer answer)
    : previous_(std::exchange(StandInAnswer(), std::move(answer)))
{
}

ScopedSaveDialogAnswer::~ScopedSaveDialogAnswer()
{
    StandInAnswer() = std::move(previous_);
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute()
{
    std::vector<wchar_t> name(32768, L'\0');
    const std::u16string filter = Utf8ToUtf16(FilterList(Filter));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwnerWindow(Owner());
    dialog.lpstrFilter = Filter.empty() ? nullptr : reinterpret_cast<const wchar_t*>(filter.c_str());
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    // Opening must not move the program's current folder nor add the file to
    // the user's recent documents.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!Shown(GetOpenFileNameW(&dialog), "Open"))
        return false;
    FileName = Utf16ToUtf8(reinterpret_cast<const char16_t*>(name.data()));
    return true;
}
