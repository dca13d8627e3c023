#pragma once
// The About box: program name, version and link date of the running
// executable, the maker's copyright, web and support links, an advertising
// link, a legal warning, and the maker's logo and the program's icon.
#include "about/URLLabel.h"
#include "ui/ExtCtrls.h"
#include "ui/Image.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TAbout : public TForm {
public:
    explicit TAbout(TComponent* owner);

    TLabel* Label3;
    TLabel* lblVersion;
    TLabel* Label5;
    TAutoURLLabel* lblURL;
    TLabel* Label17;
    TImage* Image1;
    TLabel* Label6;
    TImage* ImageProgramIcon;
    TBevel* Bevel2;
    TBevel* Bevel3;
    TLabel* Label1;
    TAutoURLLabel* AutoURLLabel1;
    TBevel* Bevel4;
    TAutoURLLabel* AutoURLLabel2;
    TLabel* Label2;
    TPanel* PanelBottom;
    TBevel* Bevel1;
    TButton* btnOK;

    void FormCreate();

private:
    void CreateDesign();
};
