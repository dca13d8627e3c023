#include "support/DialogFont.h"

#include "registry/Registry.h"
#include "ui/Form.h"

namespace {

const char kDesignFont[] = "MS Shell Dlg 2";
const char kFallbackFont[] = "MS Shell Dlg";

bool SystemKnowsDesignFont()
{
    // Opened with full access on purpose: a user who may not write there gets
    // the fall-back font even on a system that has the alias.
    TRegistry registry(RegistryAccess::AllAccess);
    registry.SetRootKey(RegistryRoot::LocalMachine);
    return registry.OpenKey("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes") &&
           registry.ValueExists(kDesignFont);
}

}  // namespace

void ApplyDialogFont(TForm& form)
{
    if (SystemKnowsDesignFont())
        return;
    form.Font().SetName(kFallbackFont);
    // Controls that inherit their font follow the form by themselves.
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(form.Components(i));
        if (control && !control->ParentFont() && control->Font().Name() == kDesignFont)
            control->Font().SetName(kFallbackFont);
    }
}
