// Opens the vendor window from the main window's menu, buttons and command line.
#include "shell/MDIForm1.h"

#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "vendors/FactorFond.h"
#include "vendors/FactorFrm.h"

#include <QLineEdit>

void MDIForm1::ShowFactorFrm()
{
    ShowRecordWindow<FactorFrm>();
}

// The command line 2/text: the find window is loaded, not shown, with the text in its
// short-name box; the vendor window opens.
void MDIForm1::OpenVendorFind(const QString& text)
{
    FactorFond* find = FactorFond::Global();
    if (!find)
        find = new FactorFond(nullptr, TitlePixmap());
    find->Text1[1]->setText(vb::Trim(text));
    ShowFactorFrm();
    ui::DoEvents();
}
