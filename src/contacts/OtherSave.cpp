#include "contacts/OtherSave.h"

#include "contacts/OtherFields.h"
#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

int FirstTooWideOtherBox(const OtherBoxText& text)
{
    for (const OtherField& f : OtherFields()) {
        if (f.box == 5 || f.maxLength < 1)
            continue;
        if (vb::ByteLen(text(f.box)) > f.maxLength)
            return f.box;
    }
    return -1;
}

QString OtherTooWideMessage(int maxLength)
{
    return QStringLiteral("'") + LoadResString(512) + QString::number(maxLength) + LoadResString(513);
}

QString OtherSaveWidthTitle() { return LoadResString(514); }

int SaveCheck_OTHER(const OtherBoxText& text, qint32 serial)
{
    const QString code = vb::Trim(text(1));
    if (CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("RV18A"), QStringLiteral("RV18A1"), code,
                         serial)) {
        ui::MsgBox(QStringLiteral("編號重複"));
        return 1;
    }
    const int wide = FirstTooWideOtherBox(text);
    if (wide >= 0)
        ui::MsgBox(OtherTooWideMessage(OtherFields()[size_t(wide)].maxLength), ui::Buttons::OK, ui::Icon::Question,
                   OtherSaveWidthTitle());
    return wide;
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
