// Every tool window of the main window, at its design size and in both languages, shows each of
// its controls whole: no control reaches past the edge of what holds it, no caption is wider than
// its control, and every tab shows its whole caption.
#include "contacts/frm會員生日查詢.h"
#include "core/AboutBox.h"
#include "core/Globals.h"
#include "core/update/變更密碼Frm.h"
#include "output/AdjustLabelFrm.h"
#include "output/CustomLabelPrtFrm1.h"
#include "output/CustomPrintMsgFrm.h"
#include "output/CustomemailtFrm1.h"
#include "output/frm客戶批次發信1.h"
#include "output/自訂標籤列印FRM.h"
#include "output/frmListPickerTemplate1.h"
#include "shell/AboutRAVO.h"
#include "shell/資料庫維護frm.h"
#include "shell/frmBrowser.h"
#include "shell/MDIForm1.h"
#include "shell/frmOptions.h"
#include "shell/ReadSTRINGfrm.h"
#include "shell/bkmdbfrm.h"
#include "shell/frmImpDB2.h"
#include "support/Clipping.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

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
            QStringList clipped = testsupport::ClippedControls(w);
            for (QTabBar* bar : w->findChildren<QTabBar*>()) {
                if (!bar->isVisibleTo(w))
                    continue;
                for (int i = 0; i < bar->count(); ++i) {
                    bar->setCurrentIndex(i);
                    if (const QString shots = qEnvironmentVariable("TESS_SHOTS"); !shots.isEmpty())
                        w->grab().save(QStringLiteral("%1/%2-%3-%4.png")
                                           .arg(shots, QString::fromUtf8(what), offset ? "cn" : "tw").arg(i));
                    for (const QString& c : testsupport::ClippedControls(w))
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

// The windows that open inside the main window with its title picture, opened from the menus as
// a user opens them: at the size they open with, banner included, no control is cut or squeezed.
TEST_F(Clipping, WindowsOpenedInsideTheMainWindowShowEachControlWhole)
{
    gDataPath = folder.path();
    using Open = void (MDIForm1::*)();
    const std::vector<std::tuple<const char*, Open, std::function<QWidget*()>>> windows = {
        {"customer labels", &MDIForm1::ShowCustomLabel, [] { return CustomLabelPrtFrm1::Global().data(); }},
        {"vendor labels", &MDIForm1::ShowFactoryLabel, [] { return frmListPickerTemplate1::Global().data(); }},
        {"batch e-mail", &MDIForm1::ShowCustomerEmail, [] { return frm客戶批次發信1::Global().data(); }},
    };
    for (const short offset : {0, 10000}) {
        gLangOffset = offset;
        testsupport::ScriptedResponder user;
        user.allowUnused();
        MDIForm1 main;
        main.resize(1280, 900);
        main.show();
        for (const auto& [what, open, window] : windows) {
            (main.*open)();
            QWidget* w = window();
            ASSERT_NE(w, nullptr) << what;
            ASSERT_NE(qobject_cast<QMdiSubWindow*>(w->parentWidget()), nullptr) << what;
            QStringList clipped = testsupport::ClippedControls(w);
            for (QTabBar* bar : w->findChildren<QTabBar*>()) {
                if (!bar->isVisibleTo(w))
                    continue;
                for (int i = 0; i < bar->count(); ++i) {
                    bar->setCurrentIndex(i);
                    for (const QString& c : testsupport::ClippedControls(w))
                        if (!clipped.contains(c))
                            clipped << c;
                }
            }
            EXPECT_TRUE(clipped.isEmpty()) << what << (offset ? " (Simplified)\n" : " (Traditional)\n")
                                           << clipped.join(QLatin1Char('\n')).toStdString();
            w->close();
        }
    }
}
