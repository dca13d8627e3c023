#include "about/frmAbout.h"

#include "support/DialogFont.h"
#include "support/ExeVersion.h"
#include "support/MakerSite.h"
#include "ui/Design.h"

TAbout::TAbout(TComponent* owner) : TForm(owner, "TAbout")
{
    CreateDesign();
    OnCreate = [this](TForm&) { FormCreate(); };
    DoCreate();
}

void TAbout::CreateDesign()
{
    SetCaption("About");
    SetClientSize(497, 385);
    SetPosition(poOwnerFormCenter);

    Label3 = Place<TLabel>(this, this, {104, 16, 259, 19});
    Label3->Font().SetName("Tahoma");
    Label3->Font().SetHeight(-16);
    Label3->Font().SetStyle(fsBold);
    Label3->SetCaption("Tallyglass Viewer");

    lblVersion = Place<TLabel>(this, this, {377, 19, 104, 30});
    lblVersion->SetAutoSize(false);
    lblVersion->SetWordWrap(true);
    lblVersion->SetCaption("lblVersion");

    Label5 = Place<TLabel>(this, this, {104, 48, 212, 26});
    Label5->SetCaption("Copyright \xa9 2006 Fernwick Software.\r\nAll rights reserved.");

    // A design stores a link's caption before its address.
    lblURL = Place<TAutoURLLabel>(this, this, {304, 120, 134, 13});
    lblURL->SetCaption(MakerSiteAddress);
    lblURL->SetURL(MakerSiteAddress);
    Label17 = Place<TLabel>(this, this, {304, 104, 26, 13});
    Label17->SetCaption("Web:");

    Image1 = Place<TImage>(this, this, {112, 120, 174, 45});
    Image1->SetAutoSize(true);
    Image1->SetStretch(true);
    Image1->SetTransparent(true);
    Image1->LoadPictureResource("IMAGE1");

    Label6 = Place<TLabel>(this, this, {16, 280, 465, 57}, akLeft | akTop | akRight);
    Label6->SetAutoSize(false);
    Label6->SetWordWrap(true);

    ImageProgramIcon = Place<TImage>(this, this, {16, 16, 64, 64});
    ImageProgramIcon->SetAutoSize(true);
    ImageProgramIcon->SetTransparent(true);
    ImageProgramIcon->LoadPictureResource("IMAGEPROGRAMICON");

    Bevel2 = Place<TBevel>(this, this, {104, 192, 377, 9}, akLeft | akTop | akRight);
    Bevel3 = Place<TBevel>(this, this, {104, 88, 377, 9}, akLeft | akTop | akRight);
    Label1 = Place<TLabel>(this, this, {304, 144, 42, 13});
    Label1->SetCaption("Support:");
    AutoURLLabel1 = Place<TAutoURLLabel>(this, this, {304, 160, 175, 13});
    AutoURLLabel1->SetCaption(MakerSupportAddress);
    AutoURLLabel1->SetURL(MakerSupportAddress);
    Bevel4 = Place<TBevel>(this, this, {16, 264, 465, 9}, akLeft | akTop | akRight);
    AutoURLLabel2 = Place<TAutoURLLabel>(this, this, {104, 232, 269, 13});
    AutoURLLabel2->SetCaption("Download Brightward and protect your privacy today!");
    AutoURLLabel2->SetURL(MakerDownloadAddress);
    Label2 = Place<TLabel>(this, this, {104, 208, 377, 17});
    Label2->SetAutoSize(false);
    Label2->SetWordWrap(true);
    Label2->SetCaption("Would you like the records of your Start menu clicks removed automatically?");

    PanelBottom = Place<TPanel>(this, this, {0, 344, 497, 41});
    PanelBottom->SetAlign(alBottom);
    PanelBottom->SetTabOrder(0);
    Bevel1 = Place<TBevel>(this, PanelBottom, {0, 0, 497, 9});
    Bevel1->SetAlign(alTop);
    btnOK = Place<TButton>(this, PanelBottom, {416, 8, 75, 25});
    btnOK->SetCaption("OK");
    btnOK->SetModalResult(mrOk);
    btnOK->SetCancel(true);
    btnOK->SetTabOrder(0);

    // The links have their own font of the design face, like the title's own.
    for (TAutoURLLabel* link : {lblURL, AutoURLLabel1, AutoURLLabel2}) {
        link->Font().SetName("MS Shell Dlg 2");
        link->Font().SetHeight(-11);
    }
}

void TAbout::FormCreate()
{
    ApplyDialogFont(*this);
    const std::string version = FormatExeVersion();
    const std::string date = FormatDateTime("mmmm d, yyyy", GetExeLinkDate(ExePath()));
    // Line feed first, then carriage return, as the label has always shown it.
    lblVersion->SetCaption("Version " + version + "\n\r (" + date + ")");
}
