// Opens the label windows from the main window's menu.
#include "shell/MDIForm1.h"

#include "output/CustomLabelPrtFrm1.h"
#include "output/ExcelLabelJob.h"
#include "output/frmListPickerTemplate1.h"

void MDIForm1::ShowCustomLabel()
{
    OpenSingle<CustomLabelPrtFrm1>(true, TitlePixmap());
}

void MDIForm1::ShowFactoryLabel()
{
    OpenSingle<frmListPickerTemplate1>(true, TitlePixmap());
}

void MDIForm1::ShowExcelLabelJob()
{
    OpenSingle<自訂標籤列印FRM>(false);
}
