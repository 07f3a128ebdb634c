#include "core/Globals.h"
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "platform/strings/Strings.h"
#include "platform/ui/Ui.h"
#include "shell/CommandLine.h"
#include "shell/MDIForm1.h"
#include "shell/WindowArrange.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

// The main window with a stand-in member window.
class TestMain : public MDIForm1 {
public:
    using MDIForm1::MDIForm1;
    int membersMade = 0;

protected:
    QWidget* NewMemberWindow() override
    {
        ++membersMade;
        auto* w = new QWidget;
        w->setWindowTitle(QStringLiteral("會員管理"));
        return w;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = {gProgramPath, gDataPath, gComputerName, gWinUserName};
        savedOffset = gLangOffset;
        gProgramPath = program.path();
        gDataPath = data.path();
        gComputerName = QStringLiteral("office-pc");
        gWinUserName = QStringLiteral("mei");
        gLangOffset = 0;
        ui::SetToday(QDate(2026, 12, 10));
    }
    void TearDown() override
    {
        gProgramPath = saved[0];
        gDataPath = saved[1];
        gComputerName = saved[2];
        gWinUserName = saved[3];
        gLangOffset = savedOffset;
        ui::SetToday(QDate());
    }
    QString setting(const QString& key, const QString& section = settings::kMain)
    {
        return ReadSetting(key, section);
    }
    TempDir program, data, backups;
    QStringList saved;
    short savedOffset = 0;
};

TEST_F(MainWindowTest, MenuTreeCaptionsAndHiddenItems)
{
    TestMain w;
    QStringList top;
    for (QAction* a : w.menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{"檔案(&F)", "資料管理(&D)", "報表", "工具(&T)", "視窗(&W)", "Language ", "援助(&H)"}));

    const QStringList hidden = {"分隔2", "快速查詢", "會員生日查詢_Item", "轉換Excel到通訊錄_item",
                                "WorkmanMultEmail_item", "FactoryMultEmail_item", "OtherMultEmail_item",
                                "資料庫維護_item", "DeleteAllREC_ITEM", "ReadSTRING_ITEM"};
    for (QAction* a : w.findChildren<QAction*>()) {
        if (a->objectName().isEmpty())
            continue;
        EXPECT_EQ(a->isVisible(), !hidden.contains(a->objectName())) << a->objectName().toStdString();
        if (a->isVisible())
            EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    }
    QAction* maintenance = w.Item(QStringLiteral("資料庫維護_item"));
    maintenance->setVisible(true);
    EXPECT_FALSE(maintenance->isEnabled());
    struct Case {
        const char* item;
        const char* caption;
        bool checked;
    } cases[] = {
        {"exit_item", "離開", false},
        {"Custom_Item", "客戶資料管理", false},
        {"會員資料管理Item", "會員資料管理", false},
        {"客戶資料列印_ITEM", "報表列印", false},
        {"CusMultEmail_ITEM", "客戶批次發信", false},
        {"顯示報告列_item", "顯示報告列", true},
        {"Winlist_Item(1)", "水平並排", false},
        {"Taiwan_item", "Chinese(traditnoal)", true},
        {"China_item", "Chiness (simplified)", false},
        {"RavoPrintHome_item", "瑞沃印刷首頁", false},
    };
    for (const Case& c : cases) {
        QAction* a = w.Item(QString::fromUtf8(c.item));
        ASSERT_TRUE(a) << c.item;
        EXPECT_EQ(a->text(), QString::fromUtf8(c.caption)) << c.item;
        EXPECT_EQ(a->isChecked(), c.checked) << c.item;
    }
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tessarine 捷錄人事管理系統"));
}

TEST_F(MainWindowTest, LanguageSwitchRecaptionsOnlyItemsWithIds)
{
    TestMain w;
    w.China_item->trigger();
    EXPECT_EQ(gLangOffset, 10000);
    EXPECT_TRUE(w.China_item->isChecked());
    EXPECT_FALSE(w.Taiwan_item->isChecked());
    EXPECT_EQ(w.windowTitle(), LoadResString(100));
    EXPECT_EQ(w.Item(QStringLiteral("ToolItem"))->text(), strings::LoadResString(10129));
    EXPECT_EQ(w.Item(QStringLiteral("資料管理item"))->text(), strings::LoadResString(10127));
    EXPECT_NE(w.Item(QStringLiteral("資料管理item"))->text(), QStringLiteral("資料管理(&D)"));
    EXPECT_EQ(w.Command1[0]->text(), strings::LoadResString(10973));
    EXPECT_EQ(w.Winlist_Item[3]->text(), strings::LoadResString(10157));
    // Items, buttons and status texts without an id keep their design captions.
    EXPECT_EQ(w.Item(QStringLiteral("CusMultEmail_ITEM"))->text(), QStringLiteral("客戶批次發信"));
    EXPECT_EQ(w.Item(QStringLiteral("會員資料管理Item"))->text(), QStringLiteral("會員資料管理"));
    EXPECT_EQ(w.Command1[8]->text(), QStringLiteral("會員"));
    EXPECT_EQ(w.Command1[6]->text(), QStringLiteral("報表"));
    EXPECT_EQ(w.Command1[4]->text(), QStringLiteral("離開"));
    EXPECT_EQ(w.Command1[7]->text(), QStringLiteral("技術支援"));
    EXPECT_EQ(w.MessageSta[3]->text(), QStringLiteral("狀態:"));
    EXPECT_TRUE(w.MessageSta[2]->text().startsWith(QStringLiteral("工作路徑: ")));

    w.Taiwan_item->trigger();
    EXPECT_EQ(gLangOffset, 0);
    EXPECT_EQ(w.Item(QStringLiteral("ToolItem"))->text(), QStringLiteral("工具(&T)"));
    EXPECT_EQ(w.Item(QStringLiteral("CusMultEmail_ITEM"))->text(), QStringLiteral("客戶批次發信"));
    EXPECT_EQ(w.Command1[6]->text(), QStringLiteral("報表"));
    // Choosing the checked item again keeps it checked.
    w.Taiwan_item->trigger();
    EXPECT_TRUE(w.Taiwan_item->isChecked());
}

TEST_F(MainWindowTest, LoadShowsFolderNamesAndStoredLanguageAndPanel)
{
    WriteSetting(QStringLiteral("LanguageID"), QStringLiteral("10000"), settings::kMain);
    WriteSetting(QStringLiteral("顯示報告列"), QStringLiteral("3000"), QStringLiteral("MDIformSet"));
    TestMain w;
    EXPECT_TRUE(w.China_item->isChecked());
    EXPECT_EQ(w.MessageSta[2]->text(), QStringLiteral("工作路徑: ") + gDataPath);
    EXPECT_EQ(w.MessageSta[3]->text(), QStringLiteral("狀態:"));
    EXPECT_EQ(w.Label2[2]->text(), QStringLiteral("電腦名稱: OFFICE-PC / 使用者: MEI"));
    EXPECT_EQ(w.HelpPanelTwips(), 3000);

    // Registered as the sink of the status helpers.
    SetStatusText(QStringLiteral("請輸入客戶代號"));
    SetStatusPanel(QStringLiteral("顯示全部資料"));
    SetHelpPanelCaption(QStringLiteral("輔助說明"));
    EXPECT_EQ(w.Message[1]->text(), QStringLiteral("請輸入客戶代號"));
    EXPECT_EQ(w.MessageSta[0]->text(), QStringLiteral("顯示全部資料"));
    EXPECT_EQ(w.Label6[1]->text(), QStringLiteral("輔助說明"));
}

TEST_F(MainWindowTest, HelpPanelStartsCollapsedAndToggles)
{
    TestMain w;
    EXPECT_EQ(w.ToolPicture->width(), w.Command3->width());
    w.Command3->click();
    EXPECT_EQ(w.HelpPanelTwips(), 2235);
    EXPECT_TRUE(w.Text2->isVisibleTo(&w));
    w.Command3->click();
    EXPECT_EQ(w.ToolPicture->width(), w.Command3->width());
}

TEST_F(MainWindowTest, NoToExitKeepsEverything)
{
    TestMain w;
    w.show();
    ScriptedResponder user;
    user.answer(ui::Answer::No);
    EXPECT_FALSE(w.close());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.last().text, QStringLiteral("離開嗎?"));
    EXPECT_EQ(user.last().title, QStringLiteral("詢問"));
    EXPECT_EQ(user.last().buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(user.endCodes.empty());
    EXPECT_FALSE(program.exists(QStringLiteral("Tessarine.dat")));
    EXPECT_FALSE(program.exists(QStringLiteral("MDIformSet.dat")));
}

TEST_F(MainWindowTest, YesToExitSavesLanguageRemindsAndEnds)
{
    WriteSetting(QStringLiteral("pack_path"), backups.path(), settings::kMain);
    TestMain w;
    w.China_item->trigger();
    w.Command3->click();
    w.show();
    ScriptedResponder user;
    user.answer(ui::Answer::Yes).answer(ui::Answer::No);
    w.close();
    EXPECT_EQ(user.texts(), (QStringList{QStringLiteral("離開嗎?"), strings::LoadResString(10168) + "\n\r" + strings::LoadResString(10171)}));
    EXPECT_EQ(user.messages[0].title, QStringLiteral("詢問"));  // a literal, in both languages
    EXPECT_EQ(user.messages[1].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(setting(QStringLiteral("LanguageID")), QStringLiteral("10000"));
    EXPECT_EQ(setting(QStringLiteral("顯示報告列"), QStringLiteral("MDIformSet")), QStringLiteral("2235"));
    EXPECT_EQ(user.endCodes, std::vector<int>{0});
}

TEST_F(MainWindowTest, YesToReminderOpensBackupWindowModally)
{
    WriteSetting(QStringLiteral("pack_path"), backups.path(), settings::kMain);
    backups.write(QStringLiteral("Tessarine.mdb"), "copy");
    WriteSetting(QStringLiteral("BackupDate"), QStringLiteral("2026/12/06 10:00:00"), settings::kMain);
    TestMain w;
    ScriptedResponder user;
    QString shown;
    user.answer(ui::Answer::Yes).answer(ui::Answer::Yes).modal([&](QDialog* d) {
        shown = d->objectName();
        return int(QDialog::Rejected);
    });
    w.close();
    EXPECT_EQ(user.texts().value(1), QStringLiteral("上次備份距離現在 4 天,是否要備份?"));
    EXPECT_EQ(shown, QStringLiteral("bkmdbfrm"));
    EXPECT_EQ(user.endCodes, std::vector<int>{0});
}

TEST_F(MainWindowTest, ClearingAllDataShowsThePathAndNoKeepsTheData)
{
    const QString savedFile = gDatabaseFile;
    gDatabaseFile = data.file(QStringLiteral("Tessarine.mdb"));
    TestMain w;
    ScriptedResponder user;
    user.answer(ui::Answer::OK).answer(ui::Answer::No);
    w.Item(QStringLiteral("DeleteAllREC_ITEM"))->trigger();
    EXPECT_EQ(user.texts(), (QStringList{gDatabaseFile, "確定清空所有資料嗎? "}));
    EXPECT_EQ(user.messages[1].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(user.endCodes.empty());
    gDatabaseFile = savedFile;
}

TEST_F(MainWindowTest, EachWindowOnceAndBroughtToFront)
{
    TestMain w;
    QPointer<QWidget> first, second;
    int made = 0;
    auto make = [&] {
        ++made;
        return new QWidget;
    };
    w.ShowSingle<QWidget>(first, make, true, true);
    w.ShowSingle<QWidget>(second, make, true, true);
    EXPECT_EQ(w.MdiArea->activeSubWindow()->widget(), second.data());
    w.ShowSingle<QWidget>(first, make, true, true);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(w.MdiArea->subWindowList().size(), 2);
    EXPECT_EQ(w.MdiArea->activeSubWindow()->widget(), first.data());
}

TEST_F(MainWindowTest, MemberItemCheckIsTheSingleInstanceFlag)
{
    TestMain w;
    w.會員資料管理Item->trigger();
    EXPECT_TRUE(w.會員資料管理Item->isChecked());
    EXPECT_EQ(gTableSetName, QStringLiteral("會員管理"));
    ScriptedResponder user;
    user.answer(ui::Answer::OK);
    w.Command1[8]->click();
    EXPECT_EQ(user.texts(), QStringList{QStringLiteral("會員資料管理已經開啟")});
    EXPECT_EQ(w.membersMade, 1);
    EXPECT_EQ(w.MdiArea->subWindowList().size(), 1);
    delete w.MdiArea->subWindowList().first()->widget();
    EXPECT_FALSE(w.會員資料管理Item->isChecked());
    w.會員資料管理Item->trigger();
    EXPECT_EQ(w.membersMade, 2);
}

// The main window closing with the member window open takes the member window with it and
// nothing of the main window is used while it goes.
TEST_F(MainWindowTest, ClosingWithTheMemberWindowOpen)
{
    auto* w = new TestMain;
    w->會員資料管理Item->trigger();
    ASSERT_EQ(w->MdiArea->subWindowList().size(), 1);
    QPointer<QWidget> member = w->MdiArea->subWindowList().first()->widget();
    ASSERT_TRUE(member);
    delete w;
    EXPECT_FALSE(member);
}

TEST_F(MainWindowTest, WindowMenuListsInnerWindowsAndArranges)
{
    TestMain w;
    w.resize(900, 700);
    w.show();
    for (const char* title : {"客戶資料管理", "廠商資料管理"}) {
        auto* inner = new QWidget;
        inner->setWindowTitle(QString::fromUtf8(title));
        w.ShowInner(inner, true);
    }
    emit w.視窗item->aboutToShow();
    QStringList texts;
    for (QAction* a : w.視窗item->actions())
        if (!a->isSeparator())
            texts << a->text();
    EXPECT_EQ(texts, (QStringList{"重疊顯示", "水平並排", "垂直並排", "排列圖示", "&1 客戶資料管理", "&2 廠商資料管理"}));

    w.Winlist_Item[2]->trigger();
    EXPECT_TRUE(w.Winlist_Item[2]->isChecked());
    EXPECT_FALSE(w.Winlist_Item[0]->isChecked());
    const auto subs = w.MdiArea->subWindowList();
    const int viewportHeight = w.MdiArea->viewport()->height();
    for (QMdiSubWindow* s : subs)
        EXPECT_EQ(s->height(), viewportHeight);
    EXPECT_EQ(subs[0]->width() + subs[1]->width(), w.MdiArea->viewport()->width());
}

TEST(TileRects, CoverTheAreaExactly)
{
    const QRect area(0, 0, 301, 200);
    EXPECT_EQ(TileRects(3, area, true),
              (std::vector<QRect>{{0, 0, 301, 66}, {0, 66, 301, 66}, {0, 132, 301, 68}}));
    EXPECT_EQ(TileRects(2, area, false), (std::vector<QRect>{{0, 0, 150, 200}, {150, 0, 151, 200}}));
    EXPECT_TRUE(TileRects(0, area, true).empty());
}

TEST(FindRequest, DigitSlashText)
{
    struct Case {
        QString line;
        int window;
        QString text;
    } cases[] = {
        {"1/ABC", 1, "ABC"},
        {"  2/ 台北 ", 2, "台北"},
        {"3/王/小明", 3, "王/小明"},
        {"7/x", 7, "x"},
        {"S", 0, ""},
        {"/abc", 0, ""},
        {"x1/abc", 0, ""},
        {"", 0, ""},
    };
    for (const Case& c : cases) {
        const FindRequest r = ParseFindRequest(c.line);
        EXPECT_EQ(r.window, c.window) << c.line.toStdString();
        EXPECT_EQ(r.text, c.text) << c.line.toStdString();
    }
}

}  // namespace
