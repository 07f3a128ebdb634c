#include "contacts/MemberBirthday.h"

#include <QDateEdit>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

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

namespace {

// As in a Windows date picker, the part under the caret (the month or the day) is chosen
// whenever the picker is entered or clicked, so typed digits replace it ("1225" gives 12/25,
// "315" 03/15) instead of being refused beside the digits already shown.
class SectionOnEntry : public QObject {
public:
    explicit SectionOnEntry(QDateEdit* picker) : QObject(picker), picker_(picker) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonRelease)
            // After the picker itself has placed the caret.
            QTimer::singleShot(0, this, [this] {
                if (picker_ && picker_->hasFocus())
                    picker_->setSelectedSection(picker_->currentSection());
            });
        return false;
    }

private:
    QPointer<QDateEdit> picker_;
};

}  // namespace

QDateEdit* NewBirthdayPicker(const QString& name, int month, int day, QWidget* parent)
{
    constexpr int kLeapYear = 2000;
    auto* picker = new QDateEdit(QDate(kLeapYear, month, day), parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("MM/dd"));
    picker->setCalendarPopup(true);
    auto* entry = new SectionOnEntry(picker);
    picker->installEventFilter(entry);
    if (auto* edit = picker->findChild<QLineEdit*>())
        edit->installEventFilter(entry);
    return picker;
}
