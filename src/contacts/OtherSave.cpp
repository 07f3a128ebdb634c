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

OtherFindCondition BuildOtherFindCondition(const std::vector<OtherFindTerm>& terms)
{
    OtherFindCondition c;
    for (const OtherFindTerm& t : terms) {
        if (t.text.isEmpty())
            continue;
        if (!c.sql.isEmpty()) {
            c.text += QStringLiteral(" and  ");
            c.sql += QStringLiteral(" and  ");
        }
        c.text += t.column + QStringLiteral(" LIKE '%") + t.text + QStringLiteral("%'");
        c.sql += t.column + QStringLiteral(" LIKE ?");
        c.params << QStringLiteral("%") + t.text + QStringLiteral("%");
    }
    return c;
}
