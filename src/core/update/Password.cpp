#include "core/update/Password.h"

#include "core/Globals.h"
#include "core/update/變更密碼Frm.h"
#include "platform/db/Db.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

namespace {

const QString kSupervisor = QStringLiteral("總管家");

// The change date as a date; an invalid date when the text is no date.
QDate ChangeDate(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QString text = vb::Trim(v.toString()).section(QLatin1Char(' '), 0, 0);
    for (const char* pattern : {"yyyy/M/d", "yyyy-M-d", "yyyy.M.d"}) {
        const QDate d = QDate::fromString(text, QLatin1String(pattern));
        if (d.isValid())
            return d;
    }
    return {};
}

}  // namespace

bool CheckPassword(QString& userName, QString& password, bool askToChange)
{
    db::Recordset rs;
    rs.Open(kPasswordRowQuery, gConnAlt, db::adOpenStatic, db::adLockReadOnly, {userName, password});
    if (rs.Bof() && rs.Eof())
        return false;

    const QString name = vb::Nz(rs.value(QStringLiteral("姓名")));
    if (name == kSupervisor)
        return true;

    const QVariant changed = rs.value(QStringLiteral("變更日期"));
    if (vb::Trim(vb::Nz(changed)).isEmpty()) {
        ui::MsgBox(QStringLiteral("密碼過期或未設定,請洽系統管理員"));
        return false;
    }
    const QDate date = ChangeDate(changed);
    const qint64 days = date.isValid() ? date.daysTo(ui::Today()) : 51;
    if (days >= 61) {
        ui::MsgBox(QStringLiteral("密碼過期,請洽系統管理員"));
        return false;
    }
    if (days <= 50 || !askToChange)
        return true;

    rs.Close();
    const QString question = QStringLiteral("您的密碼將於") + QString::number(60 - days)
                           + QStringLiteral("天後到期,是否現在變更");
    if (ui::MsgBox(question, ui::Buttons::YesNo) == ui::Answer::Yes) {
        gUserName = name;
        變更密碼Frm window;
        ui::ShowModal(&window);
    }
    return true;
}
