// Member birthdays: the year (生日_年) and the month and day (月日, "MMdd") kept apart in the
// member table, shown as one date, the condition that picks members by month and day, and the
// picker a window asks for a month and day with.
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantList>

class QDateEdit;
class QWidget;

// "yyyy/mm/dd" when both parts are there, "mm/dd" when only the month and day are, the year
// alone when only it is; a month-day that is not four characters is shown as stored.
QString MemberBirthDate(const QVariant& year, const QVariant& monthDay);

// The condition on 月日 between the month and day of two dates, both ends included, compared
// as texts within one year (a start after the end matches nothing; the years are ignored).
// Members without a month and day never match.
struct BirthdayCondition {
    QString sql;          // " Where (月日 >= ? ) AND (月日 <= ?) "
    QVariantList params;  // "MMdd" of from, of to
};
BirthdayCondition BirthdayRange(const QDate& from, const QDate& to);

// A month-and-day picker ("MM/dd", with a calendar), showing the month and day given: its date
// lies in a leap year so that 02/29 can be picked; callers read only its month and day.
QDateEdit* NewBirthdayPicker(const QString& name, int month, int day, QWidget* parent);
