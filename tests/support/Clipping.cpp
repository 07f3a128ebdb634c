#include "support/Clipping.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

namespace {

QString Caption(QString text)
{
    text.remove(QLatin1Char('&'));
    return text;
}

// The widest line of a text in a font.
int TextWidth(const QFontMetrics& fm, const QString& text)
{
    int w = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        w = std::max(w, fm.horizontalAdvance(line));
    return w;
}

bool InsideScrolledContent(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QComboBox*>(p))
            return true;
    return false;
}

}  // namespace

namespace testsupport {

// What of the window's controls is cut off, one line per control.
QStringList ClippedControls(QWidget* window)
{
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow() || InsideScrolledContent(w, window))
            continue;
        const QString name = QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()),
                                                         w->objectName());
        const QRect room = w->parentWidget()->rect();
        if (!room.contains(w->geometry()))
            out << name + QStringLiteral(": reaches past its holder (%1,%2 %3x%4 in %5x%6)")
                              .arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height())
                              .arg(room.width()).arg(room.height());
        const QFontMetrics fm = w->fontMetrics();
        int needW = 0, needH = 0;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText || !label->pixmap().isNull())
                continue;
            text = label->buddy() ? Caption(label->text()) : label->text();
            const int frame = 2 * (label->frameWidth() + label->margin());
            if (label->wordWrap()) {
                needH = label->heightForWidth(label->width());
            } else {
                needW = TextWidth(fm, text) + frame;
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            text = Caption(check->text());
            needW = TextWidth(fm, text) + w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w)
                  + w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            text = Caption(radio->text());
            needW = TextWidth(fm, text) + w->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w)
                  + w->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (!button->icon().isNull() && qobject_cast<QToolButton*>(w))
                continue;  // an icon button shows its caption as a tip
            text = Caption(button->text());
            needW = TextWidth(fm, text) + 4;
            // A button squeezed below its line of text or its picture cuts them.
            if (qobject_cast<QPushButton*>(w)) {
                if (!text.isEmpty())
                    needH = fm.height() + 2;
                if (!button->icon().isNull())
                    needH = std::max(needH, button->iconSize().height() + 2);
            }
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            needW = TextWidth(fm, text);
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < bar->count(); ++i)
                if (!bar->rect().contains(bar->tabRect(i)) || bar->tabRect(i).width() < TextWidth(fm, Caption(bar->tabText(i))))
                    out << name + QStringLiteral(": tab \"%1\" cut off").arg(bar->tabText(i));
            continue;
        } else {
            continue;
        }
        if (needW > w->width() || needH > w->height())
            out << name + QStringLiteral(" \"%1\": needs %2x%3, has %4x%5")
                              .arg(text).arg(needW).arg(needH).arg(w->width()).arg(w->height());
    }
    return out;
}

}  // namespace testsupport
