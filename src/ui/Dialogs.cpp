#include "ui/Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "base/Exception.h"
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

}  // namespace

TSaveDialog::TSaveDialog(TComponent* owner) : TComponent(owner) {}

bool TSaveDialog::Execute()
{
    if (const auto& answer = StandInAnswer())
        return answer(*this);

    HWND window = nullptr;
    if (auto* control = dynamic_cast<TControl*>(Owner()); control && control->ParentForm())
        window = control->ParentForm()->Handle();
    std::vector<char> name(32768, '\0');
    std::copy_n(FileName.begin(), std::min(FileName.size(), name.size() - 1), name.begin());
    const std::string filter = FilterList(Filter);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    // Saving must not move the program's current folder nor add the file to
    // the user's recent documents.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!GetSaveFileNameA(&dialog)) {
        if (const DWORD error = CommDlgExtendedError())
            throw Exception("Cannot show the Save As dialog (error " + std::to_string(error) + ")");
        return false;
    }
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
