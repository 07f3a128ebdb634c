#include "contacts/MemberBirthday.h"

#include <QDateEdit>

QString MemberBirthDate(const QVariant& year, const QVariant& monthDay)
{
    const QString y = year.isNull() ? QString() : year.toString().trimmed();
    const QString md = monthDay.isNull() ? QString() : monthDay.toString().trimmed();
    if (md.isEmpty())
        return y;
    const QString shown = md.size() == 4 ? md.left(2) + QLatin1Char('/') + md.mid(2) : md;
    return y.isEmpty() ? shown : y + QLatin1Char('/') + shown;
}

BirthdayCondition BirthdayRange(const QDate& from, const QDate& to)
{
    return {QStringLiteral(" Where (月日 >= ? ) AND (月日 <= ?) "),
            {from.toString(QStringLiteral("MMdd")), to.toString(QStringLiteral("MMdd"))}};
}

QDateEdit* NewBirthdayPicker(const QString& name, int month, int day, QWidget* parent)
{
    constexpr int kLeapYear = 2000;
    auto* picker = new QDateEdit(QDate(kLeapYear, month, day), parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("MM/dd"));
    picker->setCalendarPopup(true);
    return picker;
}
