// Every tool window of the main window, at its design size and in both languages, shows each of
// its controls whole: no control reaches past the edge of what holds it, no caption is wider than
// its control, and every tab shows its whole caption.
#include "contacts/MemberBirthdayQuery.h"
#include "core/AboutBox.h"
#include "core/Globals.h"
#include "core/update/Password.h"
#include "output/AdjustLabelFrm.h"
#include "output/CustomLabelPrtFrm1.h"
#include "output/CustomPrintMsgFrm.h"
#include "output/CustomemailtFrm1.h"
#include "output/CustomerBatchMail.h"
#include "output/ExcelLabelJob.h"
#include "output/frmListPickerTemplate1.h"
#include "shell/AboutMaker.h"
#include "shell/DbMaintenanceFrm.h"
#include "shell/HelpBrowser.h"
#include "shell/MDIForm1.h"
#include "shell/OptionsWindow.h"
#include "shell/StringDump.h"
#include "shell/bkmdbfrm.h"
#include "shell/frmImpDB2.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

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

class Clipping : public testsupport::CustomerDb {
protected:
    void TearDown() override
    {
        gLangOffset = 0;
        CustomerDb::TearDown();
    }
};

}  // namespace

TEST_F(Clipping, EveryToolWindowShowsEachControlWhole)
{
    gDataPath = folder.path();
    const std::vector<std::pair<const char*, std::function<QWidget*()>>> windows = {
        {"main window", [] { return new MDIForm1; }},
        {"options", [] { return new frmOptions; }},
        {"backup", [] { return new bkmdbfrm; }},
        {"maintenance", [] { return new 資料庫維護frm; }},
        {"text import", [] { return new frmImpDB2; }},
        {"help browser", [] { return new frmBrowser; }},
        {"about", [] { return new AboutBox; }},
        {"about the maker", [] { return new AboutRAVO; }},
        {"string dump", [] { return new ReadSTRINGfrm; }},
        {"password", [] { return new 變更密碼Frm; }},
        {"list printing", [] { return new CustomPrintMsgFrm; }},
        {"member birthdays", [] { return new frm會員生日查詢; }},
        {"customer labels", [] { return new CustomLabelPrtFrm1; }},
        {"vendor labels", [] { return new frmListPickerTemplate1; }},
        {"label offsets", [] { return new AdjustLabelFrm; }},
        {"labels from sheets", [] { return new 自訂標籤列印FRM; }},
        {"batch e-mail", [] { return new frm客戶批次發信1; }},
        {"contact e-mail list", [] { return new CustomemailtFrm1; }},
    };
    for (const short offset : {0, 10000}) {
        gLangOffset = offset;
        for (const auto& [what, make] : windows) {
            testsupport::ScriptedResponder user;
            user.allowUnused();
            QWidget* w = make();
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            w->show();
            // TESS_SHOTS=folder keeps a picture of each window for a look by eye.
            if (const QString shots = qEnvironmentVariable("TESS_SHOTS"); !shots.isEmpty())
                w->grab().save(QStringLiteral("%1/%2-%3.png").arg(shots, QString::fromUtf8(what), offset ? "cn" : "tw"));
            // Every page of the window's tabs in turn.
            QStringList clipped = ClippedControls(w);
            for (QTabBar* bar : w->findChildren<QTabBar*>()) {
                if (!bar->isVisibleTo(w))
                    continue;
                for (int i = 0; i < bar->count(); ++i) {
                    bar->setCurrentIndex(i);
                    if (const QString shots = qEnvironmentVariable("TESS_SHOTS"); !shots.isEmpty())
                        w->grab().save(QStringLiteral("%1/%2-%3-%4.png")
                                           .arg(shots, QString::fromUtf8(what), offset ? "cn" : "tw").arg(i));
                    for (const QString& c : ClippedControls(w))
                        if (!clipped.contains(c))
                            clipped << c;
                }
            }
            EXPECT_TRUE(clipped.isEmpty()) << what << (offset ? " (Simplified)\n" : " (Traditional)\n")
                                           << clipped.join(QLatin1Char('\n')).toStdString();
            delete w;
        }
    }
}
