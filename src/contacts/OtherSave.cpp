#include "contacts/OtherSave.h"

#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

bool OtherNumberTaken(const QString& number, qint32 serial)
{
    if (!CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("RV18A"), QStringLiteral("RV18A1"),
                          vb::Trim(number), serial))
        return false;
    ui::MsgBox(QStringLiteral("編號重複"));
    return true;
}
