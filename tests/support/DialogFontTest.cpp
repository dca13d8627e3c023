// The dialog-font fall-back on a real form, with the font substitutes of a
// scratch HKEY_LOCAL_MACHINE.
#include "support/DialogFont.h"

#include <gtest/gtest.h>

#include "ScratchRegistry.h"
#include "registry/MemoryRegistrySource.h"
#include "ui/Application.h"
#include "ui/Design.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace {

constexpr const char* SubstitutesKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";

class FontForm : public TForm {
public:
    explicit FontForm(TComponent* owner) : TForm(owner, "TDialogFontTestForm")
    {
        Panel = Place<TPanel>(this, this, {0, 0, 200, 100});
        Inherits = Place<TLabel>(this, Panel, {4, 4, 0, 0});
        OwnDesignFont = Place<TLabel>(this, Panel, {4, 24, 0, 0});
        OwnDesignFont->Font().SetColor(clBlue);  // an own font of the design face
        OwnDesignFont->Font().SetStyle(fsUnderline);
        Title = Place<TLabel>(this, this, {4, 110, 0, 0});
        Title->Font().SetName("Tahoma");
        Title->Font().SetHeight(-16);
        LowerCase = Place<TLabel>(this, this, {4, 140, 0, 0});
        LowerCase->Font().SetName("ms shell dlg 2");
        auto* menu = new TMainMenu(*this);
        new TMenuItem(*menu, nullptr, "File");
    }

    TPanel* Panel;
    TLabel* Inherits;
    TLabel* OwnDesignFont;
    TLabel* Title;
    TLabel* LowerCase;
};

class DialogFontTest : public testing::Test {
protected:
    void TearDown() override { Application.DestroyForms(); }

    ScratchRegistry scratch_{ScratchRegistry::CurrentUser | ScratchRegistry::LocalMachine};
};

TEST_F(DialogFontTest, KnownAliasLeavesEveryFontAlone)
{
    scratch_.SetString(ScratchRegistry::LocalMachine, SubstitutesKey, "MS Shell Dlg 2", "Tahoma");
    auto* form = Application.CreateForm<FontForm>();
    form->Font().SetName("Arial");  // even another face of the form's own stays
    ApplyDialogFont(*form);
    EXPECT_EQ(form->Font().Name(), "Arial");
    EXPECT_EQ(form->OwnDesignFont->Font().Name(), "MS Shell Dlg 2");
}

TEST_F(DialogFontTest, AliasOfAnyTypeCounts)
{
    scratch_.SetValue(ScratchRegistry::LocalMachine, SubstitutesKey, "MS Shell Dlg 2", REG_DWORD, {0, 0, 0, 0});
    auto* form = Application.CreateForm<FontForm>();
    ApplyDialogFont(*form);
    EXPECT_EQ(form->Font().Name(), "MS Shell Dlg 2");
}

TEST_F(DialogFontTest, MissingAliasSwitchesDesignFacesToTheOlderAlias)
{
    scratch_.SetString(ScratchRegistry::LocalMachine, SubstitutesKey, "MS Shell Dlg", "Microsoft Sans Serif");
    auto* form = Application.CreateForm<FontForm>();
    ApplyDialogFont(*form);

    EXPECT_EQ(form->Font().Name(), "MS Shell Dlg");
    EXPECT_EQ(form->Inherits->Font().Name(), "MS Shell Dlg") << "follows its parent";
    EXPECT_TRUE(form->Inherits->ParentFont());
    EXPECT_EQ(form->OwnDesignFont->Font().Name(), "MS Shell Dlg") << "reached inside its panel";
    EXPECT_EQ(form->OwnDesignFont->Font().Color(), clBlue);
    EXPECT_EQ(form->OwnDesignFont->Font().Style(), fsUnderline);
    EXPECT_EQ(form->Title->Font().Name(), "Tahoma");
    EXPECT_EQ(form->Title->Font().Height(), -16);
    EXPECT_EQ(form->LowerCase->Font().Name(), "ms shell dlg 2") << "the face is compared exactly";

    ApplyDialogFont(*form);  // a second call finds nothing more to change
    EXPECT_EQ(form->Font().Name(), "MS Shell Dlg");
    EXPECT_EQ(form->Title->Font().Name(), "Tahoma");
}

TEST_F(DialogFontTest, MissingSubstitutesKeyCountsAsAMissingAlias)
{
    auto* form = Application.CreateForm<FontForm>();
    ApplyDialogFont(*form);
    EXPECT_EQ(form->Font().Name(), "MS Shell Dlg");
    EXPECT_EQ(form->OwnDesignFont->Font().Name(), "MS Shell Dlg");
}

// A user who may read the substitutes but not write them cannot open the key
// with the full access the lookup asks for, so the alias counts as missing.
TEST_F(DialogFontTest, SubstitutesKeyThatOnlyOpensForReadingCountsAsAMissingAlias)
{
    MemoryRegistrySource registry;
    ScopedRegistrySource use(registry);
    auto& substitutes = registry.CreateKey(RegistryRoot::LocalMachine, SubstitutesKey);
    substitutes.SetString("MS Shell Dlg 2", "Tahoma");
    substitutes.Access = MemoryRegistrySource::KeyAccess::ReadOnly;

    auto* form = Application.CreateForm<FontForm>();
    ApplyDialogFont(*form);
    EXPECT_EQ(form->Font().Name(), "MS Shell Dlg");
    EXPECT_EQ(registry.OpenHandleCount(), 0);

    substitutes.Access = MemoryRegistrySource::KeyAccess::Any;
    form->Font().SetName("MS Shell Dlg 2");
    ApplyDialogFont(*form);
    EXPECT_EQ(form->Font().Name(), "MS Shell Dlg 2") << "the same alias is found once the key opens";
}

}  // namespace
