// Opens the personal-contact window from the main window's menu, buttons and command line.
#include "contacts/OtherFindFrm.h"
#include "contacts/OtherFrm.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/MDIForm1.h"

#include <QLineEdit>

void MDIForm1::ShowOtherFrm()
{
    ShowRecordWindow<OtherFrm>();
}

// "3/text": the find window is loaded with the text in its name box, neither shown nor run;
// the next 查詢 shows it so.
void MDIForm1::OpenContactFind(const QString& text)
{
    ShowOtherFrm();
    if (OtherFrm* w = OtherFrm::Global())
        w->FindWindow()->Text1[2]->setText(vb::Trim(text));
    ui::DoEvents();
    ShowOtherFrm();
}
