#include "core/Globals.h"
#include "core/Settings.h"
#include "platform/shell/Shell.h"
#include "platform/strings/Strings.h"
#include "shell/AboutRAVO.h"
#include "shell/frmBrowser.h"
#include "shell/UserManual.h"
#include "shell/MDIForm1.h"
#include "shell/OnlineUpdate.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using testsupport::TempDir;

namespace {

const QString kHintsStart = QStringLiteral("※ 您可以在功能表〔視窗〕下點選〔輔助說明〕，可以進入此畫面\r\n\r\n※ 如果您不希望");

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = {gProgramPath, gDataPath};
        gProgramPath = program.path();
        gDataPath = program.path();
        gLangOffset = 0;
    }
    void TearDown() override
    {
        gProgramPath = saved[0];
        gDataPath = saved[1];
        gLangOffset = 0;
    }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QMdiSubWindow* browserFrame(MDIForm1& main)
    {
        for (QMdiSubWindow* sub : main.MdiArea->subWindowList())
            if (qobject_cast<frmBrowser*>(sub->widget()))
                return sub;
        return nullptr;
    }

    TempDir program;
    QStringList saved;
};

TEST_F(HelpTest, ManualIsInstalledOnceAndNeverOverwritten)
{
    ASSERT_TRUE(InstallUserManual(gProgramPath));
    const QString page = QString::fromUtf8(program.read(kUserManualPage));
    for (const char* section : {"新增一筆客戶資料", "尋找客戶", "列印客戶清單", "備份資料庫"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(section))) << section;

    program.write(kUserManualPage, "<html><body>our own notes</body></html>");
    EXPECT_TRUE(InstallUserManual(gProgramPath));
    EXPECT_EQ(program.read(kUserManualPage), QByteArray("<html><body>our own notes</body></html>"));
}

TEST_F(HelpTest, BrowserShowsTheManualAndWritesTheHelpPanelWhileOpen)
{
    InstallUserManual(gProgramPath);
    for (const bool panelInUse : {true, false}) {
        SCOPED_TRACE(panelInUse ? "panel in use" : "panel not in use");
        MDIForm1 main;
        main.show();
        main.顯示報告列_item->setChecked(panelInUse);
        SetHelpPanelText(QStringLiteral("notes"));
        SetHelpPanelCaption(QStringLiteral("caption"));
        main.Item(QStringLiteral("輔助說明_item"))->trigger();  // no maker site: the local manual only
        frmBrowser* browser = HelpBrowserInstance();
        ASSERT_TRUE(browser);
        EXPECT_EQ(browser->StartAddress, program.file(kUserManualPage));
        EXPECT_EQ(browser->windowTitle(), QStringLiteral("Tessarine 使用手冊"));
        EXPECT_EQ(browser->cboAddress->count(), 1);
        EXPECT_EQ(main.helpText().startsWith(QStringLiteral("※ 您可以")), panelInUse);
        EXPECT_EQ(main.helpCaption(), panelInUse ? QStringLiteral("輔助說明") : QStringLiteral("caption"));

        // It covers the inner area, also after it was made smaller.
        QMdiSubWindow* frame = browserFrame(main);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->geometry(), main.MdiArea->viewport()->rect());
        frame->resize(200, 150);
        EXPECT_EQ(frame->geometry(), main.MdiArea->viewport()->rect());
        if (panelInUse) {  // the help panel's toggle changes the inner area's width
            const int before = frame->width();
            main.Command3->click();
            QCoreApplication::processEvents();
            EXPECT_NE(frame->width(), before);
            EXPECT_EQ(frame->geometry(), main.MdiArea->viewport()->rect());
        }

        // Opening again keeps the one window.
        main.Item(QStringLiteral("輔助說明_item"))->trigger();
        EXPECT_EQ(HelpBrowserInstance(), browser);

        browser->ButtonClick(QStringLiteral("關閉"));
        flushDeletes();
        EXPECT_FALSE(HelpBrowserInstance());
        EXPECT_EQ(main.helpText(), panelInUse ? QString() : QStringLiteral("notes"));
        EXPECT_EQ(main.helpCaption(), panelInUse ? QString() : QStringLiteral("caption"));
    }
}

TEST_F(HelpTest, WebAddressesGoToTheSystemBrowserLocalPagesStayWithHistory)
{
    InstallUserManual(gProgramPath);
    program.write(QStringLiteral("UserManu/second.html"), "<html><head><title>第二頁</title></head><body>2</body></html>");
    WriteSetting(update::kMakerSiteKey, QStringLiteral("https://maker.test/"), QStringLiteral("Tessarine"));
    MDIForm1 main;
    shellsvc::Recorder shell;
    main.Item(QStringLiteral("Softhome_item"))->trigger();
    frmBrowser* browser = HelpBrowserInstance();
    ASSERT_TRUE(browser);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].kind, shellsvc::ShellCall::Url);
    EXPECT_EQ(shell.calls[0].target, QStringLiteral("https://maker.test/pressmont/"));
    EXPECT_EQ(browser->cboAddress->itemText(1), QStringLiteral("https://maker.test/pressmont/"));
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("Tessarine 使用手冊"));  // still the manual
    EXPECT_TRUE(browser->timTimer->isActive());
    browser->timTimer_Timer();
    EXPECT_FALSE(browser->timTimer->isActive());

    // "上一頁" with no earlier page does nothing; Enter in the address box goes to a local page.
    browser->ButtonClick(QStringLiteral("上一頁"));
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("Tessarine 使用手冊"));
    browser->cboAddress->setEditText(program.file(QStringLiteral("UserManu/second.html")));
    QTest::keyClick(browser->cboAddress->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("第二頁"));
    browser->ButtonClick(QStringLiteral("上一頁"));
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("Tessarine 使用手冊"));
    browser->ButtonClick(QStringLiteral("下一頁"));
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("第二頁"));
    browser->ButtonClick(QStringLiteral("Home"));
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("Tessarine 使用手冊"));
    EXPECT_EQ(shell.calls.size(), 1u);
    browser->close();
    flushDeletes();
}

// On a machine where no web browser can be started every way to a web page says so, with the
// address; the help browser's address box goes back to the page the window shows.
TEST_F(HelpTest, AWebPageNoBrowserTakesIsSaid)
{
    InstallUserManual(gProgramPath);
    WriteSetting(update::kMakerSiteKey, QStringLiteral("https://maker.test"), QStringLiteral("Tessarine"));
    MDIForm1 main;
    shellsvc::Recorder shell;
    shell.result = false;
    const auto typeAddress = [] {
        frmBrowser* browser = HelpBrowserInstance();
        browser->cboAddress->setEditText(QStringLiteral("http://typed.test/a.html"));
        QTest::keyClick(browser->cboAddress->lineEdit(), Qt::Key_Return);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        QString url;
    } cases[] = {
        {"輔助說明", [&] { main.Item(QStringLiteral("輔助說明_item"))->trigger(); },
         QStringLiteral("https://maker.test/TSuserManu/index.html")},
        {"軟體開發部首頁, also the reminder's 是", [&] { main.Item(QStringLiteral("Softhome_item"))->trigger(); },
         QStringLiteral("https://maker.test/pressmont/")},
        {"技術支援", [&] { main.Command1[7]->click(); }, QStringLiteral("https://maker.test/confab/html/")},
        {"typed into the address box", typeAddress, QStringLiteral("http://typed.test/a.html")},
        {"瑞沃印刷首頁", [&] { main.Item(QStringLiteral("RavoPrintHome_item"))->trigger(); },
         QStringLiteral("https://maker.test/index.html")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::ScriptedResponder user;
        user.answer(ui::Answer::OK);
        c.act();
        ASSERT_FALSE(shell.calls.empty());
        EXPECT_EQ(shell.calls.back().target, c.url);
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_TRUE(user.last().text.startsWith(QStringLiteral("無法啟動網頁瀏覽器"))) << user.last().text.toStdString();
        EXPECT_TRUE(user.last().text.contains(gCrLf + c.url + gCrLf));
        EXPECT_EQ(user.last().icon, ui::Icon::Exclamation);
        frmBrowser* browser = HelpBrowserInstance();
        ASSERT_TRUE(browser);
        EXPECT_EQ(browser->cboAddress->currentText(), browser->StartAddress);
        EXPECT_EQ(browser->windowTitle(), QStringLiteral("Tessarine 使用手冊"));
    }
    HelpBrowserInstance()->close();
    flushDeletes();
}

// Without the maker's site set, its pages say so and nothing is handed to a browser; the
// manual installed with the program is still shown.
TEST_F(HelpTest, MakerPagesWithoutASiteSaySo)
{
    InstallUserManual(gProgramPath);
    WriteSetting(update::kMakerSiteKey, QString(), QStringLiteral("Tessarine"));
    MDIForm1 main;
    shellsvc::Recorder shell;
    const struct {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"軟體開發部首頁", [&] { main.Item(QStringLiteral("Softhome_item"))->trigger(); }},
        {"技術支援", [&] { main.Command1[7]->click(); }},
        {"瑞沃印刷首頁", [&] { main.Item(QStringLiteral("RavoPrintHome_item"))->trigger(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::ScriptedResponder user;
        user.answer(ui::Answer::OK);
        c.act();
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.last().text, QStringLiteral("尚未設定瑞沃印刷的網站位址，無法開啟這個網頁。"));
    }
    EXPECT_TRUE(shell.calls.empty());
    testsupport::ScriptedResponder quiet;
    main.Item(QStringLiteral("輔助說明_item"))->trigger();
    EXPECT_TRUE(quiet.messages.empty());
    ASSERT_TRUE(HelpBrowserInstance());
    EXPECT_EQ(HelpBrowserInstance()->cboAddress->currentText(), HelpBrowserInstance()->StartAddress);
    HelpBrowserInstance()->close();
    flushDeletes();
}

TEST_F(HelpTest, BrowserOpensWithoutAManual)
{
    MDIForm1 main;
    main.ShowHelpBrowser(QString());
    frmBrowser* browser = HelpBrowserInstance();
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->isVisibleTo(&main));
    EXPECT_TRUE(browser->brwWebBrowser->toPlainText().isEmpty());
    EXPECT_EQ(browser->LocationName(), QStringLiteral("index.html"));
    browser->close();
    flushDeletes();
}

TEST_F(HelpTest, AboutTheMakerFollowsTheLanguageAndOpensOnlyItsWebAddress)
{
    for (const short offset : {0, 10000}) {
        gLangOffset = offset;
        for (const QString site : {QString(), QStringLiteral("https://print.example.tw")}) {
            WriteSetting(update::kMakerSiteKey, site, QStringLiteral("Tessarine"));
            QPointer<AboutRAVO> about = new AboutRAVO;
            // The maker the help menu names.
            EXPECT_FALSE(about->Label2[0]->text().isEmpty());
            EXPECT_TRUE(strings::LoadResString(offset + 163).endsWith(about->Label2[0]->text()));
            for (int i = 0; i <= 32; ++i) {
                const QString text = i == 25 ? site : strings::LoadResString(offset + 200 + i);
                EXPECT_EQ(about->Label2[i]->text(), text) << i;
                // What is not known is left out, the web address's caption too when none is set.
                const bool shown = !text.isEmpty() && (i != 24 || !site.isEmpty());
                EXPECT_EQ(about->Label2[i]->isVisibleTo(about), shown) << i;
            }
            EXPECT_EQ(about->Command1->text(), strings::LoadResString(offset + 183));

            shellsvc::Recorder shell;
            for (int i : {0, 24, 26, 32})
                QTest::mouseClick(about->Label2[i], Qt::LeftButton);
            EXPECT_TRUE(shell.calls.empty());
            QTest::mouseClick(about->Label2[25], Qt::LeftButton);
            if (site.isEmpty()) {
                EXPECT_TRUE(shell.calls.empty());
            } else {
                ASSERT_EQ(shell.calls.size(), 1u);
                EXPECT_EQ(shell.calls[0].kind, shellsvc::ShellCall::Url);
                EXPECT_EQ(shell.calls[0].target, site);
            }

            about->show();
            about->Command1->click();
            flushDeletes();
            EXPECT_TRUE(about.isNull());
        }
    }
}

}  // namespace
