#include "records/DateBox.h"

#include "platform/text/VbText.h"

#include <QRegularExpression>

namespace {

const QString kEmptyMask = QStringLiteral("____/__/__");

}  // namespace

std::optional<QDate> ReadDate(const QString& text, const DateForm& form)
{
    const QRegularExpression shape(QStringLiteral("^\\s*([0-9]{4})([%1])([0-9]{1,2})\\2([0-9]{1,2})\\s*$")
                                       .arg(QRegularExpression::escape(form.separators)));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!date.isValid() || date.year() < form.firstYear)
        return std::nullopt;
    return date;
}

QString DateText(const QDate& date) { return vb::Format(date, QStringLiteral("yyyy/mm/dd")); }

QString AgeTip(const QString& text, const DateForm& form, const QDate& today)
{
    const std::optional<QDate> date = ReadDate(text, form);
    if (!date || date->year() < form.firstAgeYear)
        return DateFormatTip();
    return QString::number(today.year() - date->year()) + QStringLiteral(" 歲");
}

QString DateFormatTip()
{
    return QStringLiteral("日期輸入格式 [yyyy/mm/dd], 西元= 民國 + 1911 , 例如 民國 93 年+ 1911=2004年");
}

MaskedDateBox::MaskedDateBox(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("DateMaskTXT"));
    setInputMask(QStringLiteral("0000/00/00;_"));
    hide();
}

void MaskedDateBox::Cover(QWidget* box, const QString& date)
{
    setText(date);
    setModified(false);
    setGeometry(QRect(parentWidget()->mapFromGlobal(box->mapToGlobal(QPoint(0, 0))), box->size()));
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

bool MaskedDateBox::Blank() const { return displayText() == kEmptyMask; }

QString MaskedDateBox::Typed() const
{
    if (Blank())
        return {};
    QString typed = displayText();
    typed.remove(QChar('_'));
    return typed;
}
