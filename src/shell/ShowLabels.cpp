// Opens the label windows from the main window's menu.
#include "shell/MDIForm1.h"

#include "output/CustomLabelPrtFrm1.h"
#include "output/自訂標籤列印FRM.h"
#include "output/frmListPickerTemplate1.h"

void MDIForm1::ShowCustomLabel()
{
    ShowSingleNew(CustomLabelPrtFrm1::Global(), true, true, TitlePixmap());
}

void MDIForm1::ShowFactoryLabel()
{
    ShowSingleNew(frmListPickerTemplate1::Global(), true, true, TitlePixmap());
}

void MDIForm1::ShowExcelLabelJob()
{
    ShowSingleNew(自訂標籤列印FRM::Global(), true, false);
}
