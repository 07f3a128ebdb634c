// Opens the label windows from the main window's menu.
#include "shell/MDIForm1.h"

#include "output/CustomLabelPrtFrm1.h"
#include "output/frmListPickerTemplate1.h"

void MDIForm1::ShowCustomLabel()
{
    ShowSingle<CustomLabelPrtFrm1>(CustomLabelPrtFrm1::Global(), [this] {
        auto* w = new CustomLabelPrtFrm1(TitlePixmap());
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, true, true);
}

void MDIForm1::ShowFactoryLabel()
{
    ShowSingle<frmListPickerTemplate1>(frmListPickerTemplate1::Global(), [this] {
        auto* w = new frmListPickerTemplate1(TitlePixmap());
        w->setAttribute(Qt::WA_DeleteOnClose);
        return w;
    }, true, true);
}

void MDIForm1::ShowExcelLabelJob() {}
