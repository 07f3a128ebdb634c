#include "core/Globals.h"
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/MDIForm1.h"
#include "shell/frmOptions.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

const QStringList kAllKeys = {"KeyinChinese", "App_path", "pack_path", "BackDate", "CustomAutoNO",
                              "FacotryAutoNO", "WorkmanAutoNO", "OtherDataAutoNO", "iDCardNO",
                              "CheckNewVer", "CustomType", "CommanyManType", "AutoStartHelpWindoes"};

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = {gProgramPath, gDataPath};
        savedKeyin = gKeyinChinese;
        gProgramPath = program.path();
        gDataPath = data.path();
        gLangOffset = 0;
    }
    void TearDown() override
    {
        gProgramPath = saved[0];
        gDataPath = saved[1];
        gKeyinChinese = savedKeyin;
    }
    QString setting(const QString& key) { return ReadSetting(key, settings::kMain); }
    void store(const QString& key, const QString& value) { WriteSetting(key, value, settings::kMain); }
    // The keys the settings file holds, in file order.
    QStringList storedKeys()
    {
        QStringList keys;
        for (const QString& key : kAllKeys)
            if (program.read(QStringLiteral("Tessarine.dat")).contains("\"" + key.toUtf8() + "\","))
                keys << key;
        return keys;
    }
    static QStringList lines(const QPlainTextEdit* box) { return box->toPlainText().split(u'\n'); }

    TempDir program, data;
    QStringList saved;
    bool savedKeyin = false;
};

TEST_F(OptionsTest, EmptySettingsShowDefaultsAndOkWritesEveryKey)
{
    frmOptions w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("選項"));
    EXPECT_EQ(w.Text2->text(), QString());
    EXPECT_EQ(w.BackPathText->text(), QDir::homePath() + u'/');  // the old "c:\" default
    EXPECT_EQ(w.BackDateTXT->text(), QStringLiteral("2"));
    EXPECT_EQ(w.CheckNewVerTxt->text(), QStringLiteral("30"));
    for (QCheckBox* box : w.Check1)
        EXPECT_FALSE(box->isChecked()) << box->text().toStdString();
    EXPECT_TRUE(w.Option1[0]->isChecked());
    EXPECT_EQ(w.Option1[0]->text(), QStringLiteral("台灣"));
    EXPECT_EQ(lines(w.typeText[0]),
              (QStringList{"潛在新客戶", "A級客戶", "B級客戶", "C級客戶", "失聯客戶"}));
    EXPECT_EQ(lines(w.typeText[1]), (QStringList{"正職職員", "約聘人員", "臨時人員"}));
    QStringList tabs;
    for (int i = 0; i < w.tbsOptions->count(); ++i)
        tabs << w.tbsOptions->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"基本設定", "進階設定", "客戶級別", "員工級別"}));

    w.cmdOK->click();
    EXPECT_EQ(storedKeys(), kAllKeys);
    EXPECT_EQ(setting("iDCardNO"), QStringLiteral("0"));
    EXPECT_EQ(setting("CheckNewVer"), QStringLiteral("30"));
    EXPECT_EQ(setting("CommanyManType"), QStringLiteral("正職職員\r\n約聘人員\r\n臨時人員"));
}

TEST_F(OptionsTest, EveryOptionRoundTripsThroughTheWindow)
{
    struct Key {
        const char* key;
        const char* stored;
    } keys[] = {
        {"KeyinChinese", "1"},        {"App_path", "/srv/tessarine/"}, {"pack_path", "/mnt/backup/"},
        {"BackDate", "7"},            {"CustomAutoNO", "1"},           {"FacotryAutoNO", "0"},
        {"WorkmanAutoNO", "1"},       {"OtherDataAutoNO", "1"},        {"iDCardNO", "2"},
        {"CheckNewVer", "14"},        {"CustomType", "甲級\r\n乙級\r\n丙級"},
        {"CommanyManType", "正職\r\n工讀"}, {"AutoStartHelpWindoes", "1"},
    };
    for (const Key& k : keys)
        store(k.key, QString::fromUtf8(k.stored));

    {
        frmOptions w;
        EXPECT_EQ(w.Text2->text(), QStringLiteral("/srv/tessarine/"));
        EXPECT_EQ(w.BackPathText->text(), QStringLiteral("/mnt/backup/"));
        EXPECT_EQ(w.BackDateTXT->text(), QStringLiteral("7"));
        EXPECT_EQ(w.CheckNewVerTxt->text(), QStringLiteral("14"));
        const bool ticks[] = {true, true, false, true, true, true};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(w.Check1[i]->isChecked(), ticks[i]) << i;
        EXPECT_TRUE(w.Option1[2]->isChecked());
        EXPECT_EQ(lines(w.typeText[0]), (QStringList{"甲級", "乙級", "丙級"}));
        // Change a few, then apply twice: the window stays open, nothing ends.
        ScriptedResponder user;
        w.Check1[2]->setChecked(true);
        w.Option1[3]->setChecked(true);
        w.typeText[1]->setPlainText(QStringLiteral("正職\n工讀\n外包"));
        w.cmdApply->click();
        w.cmdApply->click();
        EXPECT_TRUE(user.endCodes.empty());
    }
    EXPECT_EQ(setting("FacotryAutoNO"), QStringLiteral("1"));
    EXPECT_EQ(setting("iDCardNO"), QStringLiteral("3"));
    EXPECT_EQ(setting("CommanyManType"), QStringLiteral("正職\r\n工讀\r\n外包"));
    EXPECT_TRUE(gKeyinChinese);

    // Reopened, every value comes back; unchanged keys kept their stored text.
    frmOptions again;
    EXPECT_EQ(lines(again.typeText[1]), (QStringList{"正職", "工讀", "外包"}));
    EXPECT_TRUE(again.Check1[2]->isChecked());
    EXPECT_TRUE(again.Option1[3]->isChecked());
    again.cmdOK->click();
    for (const Key& k : keys) {
        const QString key = QString::fromUtf8(k.key);
        if (key != "FacotryAutoNO" && key != "iDCardNO" && key != "CommanyManType")
            EXPECT_EQ(setting(key), QString::fromUtf8(k.stored)) << k.key;
    }
}

TEST_F(OptionsTest, StoredValuesShownAtLoad)
{
    struct Case {
        const char* key;
        const char* stored;
        const char* shown;
    } cases[] = {
        {"BackDate", "0", "2"},       {"BackDate", "-1", "-1"},   {"BackDate", "abc", "2"},
        {"BackDate", " 5 ", "5"},     {"CheckNewVer", "0", "30"}, {"CheckNewVer", "-5", "30"},
        {"CheckNewVer", "", "30"},    {"CheckNewVer", "9", "9"},  {"App_path", "  /data/x  ", "/data/x"},
        {"pack_path", "   ", ""},     // blank: the user's home folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = '" + c.stored + "'");
        store(c.key, QString::fromUtf8(c.stored));
        frmOptions w;
        QLineEdit* box = c.key == QLatin1String("BackDate")  ? w.BackDateTXT
                       : c.key == QLatin1String("CheckNewVer") ? w.CheckNewVerTxt
                       : c.key == QLatin1String("App_path")    ? w.Text2
                                                               : w.BackPathText;
        const QString shown = *c.shown ? QString::fromUtf8(c.shown) : QDir::homePath() + u'/';
        EXPECT_EQ(box->text(), shown);
    }
}

TEST_F(OptionsTest, ListsKeepLineBreaksAndLoseOnlyOuterBlanks)
{
    frmOptions w;
    w.typeText[0]->setPlainText(QStringLiteral("  甲級\n乙級 \n\n丙級\n  "));
    w.cmdApply->click();
    EXPECT_EQ(program.read(QStringLiteral("Tessarine.dat")).contains("\"CustomType\",\"甲級\r\n乙級 \r\n\r\n丙級\r\n\""), true)
        << program.read(QStringLiteral("Tessarine.dat")).toStdString();
}

TEST_F(OptionsTest, ChangedDataFolderEndsTheProgramAfterFourKeys)
{
    store("App_path", QStringLiteral(" /Data/Shop "));
    struct Case {
        const char* typed;
        bool ends;
    } cases[] = {
        {"/Data/Shop", false},
        {"  /Data/Shop  ", false},  // compared trimmed
        {"/data/shop", true},       // letter case counts
        {"", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        QFile::remove(program.file(QStringLiteral("Tessarine.dat")));
        store("App_path", QStringLiteral(" /Data/Shop "));
        frmOptions w;
        w.Text2->setText(QString::fromUtf8(c.typed));
        ScriptedResponder user;
        if (c.ends)
            user.answer(ui::Answer::OK);
        w.cmdOK->click();
        if (!c.ends) {
            EXPECT_TRUE(user.messages.empty());
            EXPECT_TRUE(user.endCodes.empty());
            EXPECT_EQ(storedKeys(), kAllKeys);
            continue;
        }
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.last().text, QStringLiteral("工作路徑已改變,您必須重新載入系統才能生效,現在系統即將結束"));
        EXPECT_EQ(user.last().title, QStringLiteral("通知"));
        EXPECT_EQ(user.last().icon, ui::Icon::Question);
        EXPECT_EQ(user.endCodes.size(), 1u);
        EXPECT_EQ(storedKeys(), (QStringList{"KeyinChinese", "App_path", "pack_path", "BackDate"}));
        EXPECT_EQ(setting("App_path"), vb::Trim(QString::fromUtf8(c.typed)));
    }
}

TEST_F(OptionsTest, BackupFolderIsNormalisedWhenLeft)
{
    struct Case {
        const char* typed;
        const char* after;
    } cases[] = {
        {"d:\\bak", "d:/bak/"},    {"d:\\bak\\", "d:/bak/"}, {"\\\\srv\\bak", "/srv/bak/"},
        {" /mnt//usb ", "/mnt/usb/"}, {"   ", "   "},           {"", ""},
    };
    frmOptions w;
    for (const Case& c : cases) {
        w.BackPathText->setText(QString::fromUtf8(c.typed));
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(w.BackPathText, &out);
        EXPECT_EQ(w.BackPathText->text(), QString::fromUtf8(c.after)) << c.typed;
    }
}

TEST_F(OptionsTest, FolderPickersFillTheBoxesAndCancelKeepsThem)
{
    frmOptions w;
    w.Text2->setText(QStringLiteral("/old"));
    ScriptedResponder user;
    user.openFile(QStringLiteral("/srv/shop/tessarine.mdb")).openFile(QString());
    user.folder(QStringLiteral("/mnt/usb")).folder(QString());
    w.Command2[0]->click();
    EXPECT_EQ(w.Text2->text(), QStringLiteral("/srv/shop"));
    w.Command2[0]->click();
    EXPECT_EQ(w.Text2->text(), QStringLiteral("/srv/shop"));
    w.Command2[1]->click();
    EXPECT_EQ(w.BackPathText->text(), QStringLiteral("/mnt/usb"));
    w.Command2[1]->click();
    EXPECT_EQ(w.BackPathText->text(), QStringLiteral("/mnt/usb"));
}

TEST_F(OptionsTest, QuickSearchAutostartEntry)
{
    TempDir config;
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    // A folder name with blanks and the characters a desktop entry quotes or escapes.
    const QString folderName = QStringLiteral("my \"programs\" $HOME `x` 100% a\\b");
    gProgramPath = program.path() + folderName + u'/';

    {
        // The entry starts this very program, which exists, on the data of this program
        // folder, in the customer window's quick find.
        QPointer<frmOptions> w = new frmOptions;
        EXPECT_EQ(w->QuickSearchProgram, QCoreApplication::applicationFilePath());
        w->QuickSearchProgram = program.write(folderName + QStringLiteral("/tessarine"),
                                              "#!/bin/sh\nprintf '%s|%s|%s|%s' \"$TESSARINE_HOME\" \"$(pwd)\" \"$#\" \"$1\" > \"$STARTED\"\n");
        QFile::setPermissions(w->QuickSearchProgram, QFile::permissions(w->QuickSearchProgram) | QFile::ExeOwner);
        w->Command1[0]->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull());  // closed
        const QString entry = QString::fromUtf8(config.read(QStringLiteral("autostart/tessarine-Tsrne.desktop")));
        EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
        EXPECT_TRUE(entry.contains(QStringLiteral("\nName=快速查詢\n")));
        EXPECT_FALSE(program.exists(QStringLiteral("Tessarine.dat")));  // no setting written

        // Started as a session starts it: the values unescaped, the quoted command line run
        // in the entry's folder, with TESSARINE_HOME of the session pointing elsewhere.
        const auto value = [&entry](const QString& key) {
            const qsizetype at = entry.indexOf(u'\n' + key + u'=');
            if (at < 0)
                return QString();
            QString raw = entry.mid(at + key.size() + 2);
            raw = raw.left(raw.indexOf(u'\n'));
            QString text;
            for (qsizetype i = 0; i < raw.size(); ++i) {
                if (raw[i] == u'\\' && i + 1 < raw.size()) {
                    const QChar next = raw[++i];
                    text += next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next == u'r' ? QChar(u'\r')
                          : next == u's' ? QChar(u' ') : next;
                } else {
                    text += raw[i];
                }
            }
            return text;
        };
        const QString exec = value(QStringLiteral("Exec")).replace(QLatin1String("%%"), QLatin1String("%"));
        ASSERT_TRUE(exec.startsWith(QStringLiteral("env "))) << entry.toStdString();
        QProcess session;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TESSARINE_HOME"), QStringLiteral("/some/other/folder"));
        env.insert(QStringLiteral("STARTED"), config.file(QStringLiteral("started")));
        session.setProcessEnvironment(env);
        session.setWorkingDirectory(value(QStringLiteral("Path")));
        session.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), exec});
        ASSERT_TRUE(session.waitForFinished(10000));
        const QString folder = program.path() + folderName;
        EXPECT_EQ(QString::fromUtf8(config.read(QStringLiteral("started"))),
                  folder + u'|' + folder + QStringLiteral("|1|1/"))
            << entry.toStdString();
    }
    {
        // A program file that is not there: the failure box names it; Abort writes nothing.
        TempDir empty;
        qputenv("XDG_CONFIG_HOME", empty.path().toUtf8());
        frmOptions w;
        w.show();
        w.QuickSearchProgram = gProgramPath + QStringLiteral("Tsrne.exe");
        ScriptedResponder user;
        user.answer(ui::Answer::Abort);
        w.Command1[0]->click();
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_TRUE(user.last().text.contains(w.QuickSearchProgram)) << user.last().text.toStdString();
        EXPECT_EQ(user.last().title, QStringLiteral("設定啟動捷徑檔失敗"));
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(empty.exists(QStringLiteral("autostart/tessarine-Tsrne.desktop")));
    }
    {
        // A file where the folder should be: the failure box; Abort keeps the window open.
        TempDir blocked;
        blocked.write(QStringLiteral("autostart"), "not a folder");
        qputenv("XDG_CONFIG_HOME", blocked.path().toUtf8());
        frmOptions w;
        w.show();
        ScriptedResponder user;
        user.answer(ui::Answer::Abort);
        w.Command1[0]->click();
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.last().title, QStringLiteral("設定啟動捷徑檔失敗"));
        EXPECT_EQ(user.last().buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_TRUE(w.isVisible());
    }
    if (savedConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

TEST_F(OptionsTest, OneInnerWindowWhoseKeysWinOverTheInnerArea)
{
    MDIForm1 main;
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    // Another inner window, so that the inner area has somewhere to switch to.
    auto* other = new QWidget;
    other->setWindowTitle(QStringLiteral("other"));
    main.ShowInner(other, true);

    QAction* item = main.Item(QStringLiteral("setitem"));
    item->trigger();
    item->trigger();
    int count = 0;
    frmOptions* w = nullptr;
    for (QMdiSubWindow* sub : main.MdiArea->subWindowList())
        if (auto* o = qobject_cast<frmOptions*>(sub->widget())) {
            ++count;
            w = o;
        }
    ASSERT_EQ(count, 1);
    QMdiSubWindow* sub = main.MdiArea->activeSubWindow();
    ASSERT_EQ(sub->widget(), w);
    w->BackDateTXT->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w->BackDateTXT);

    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        visited << w->tbsOptions->tabText(w->tbsOptions->currentIndex());
        EXPECT_EQ(main.MdiArea->activeSubWindow(), sub);
    }
    EXPECT_EQ(visited, (QStringList{"進階設定", "客戶級別", "員工級別", "基本設定", "進階設定"}));
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(w->picOptions[i]->isEnabled(), i == 2) << i;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w->tbsOptions->currentIndex(), 1);
    EXPECT_EQ(main.MdiArea->activeSubWindow(), sub);
    EXPECT_TRUE(w->isAncestorOf(QApplication::focusWidget()));

    // Esc is 取消: the window goes, nothing is written.
    QPointer<frmOptions> guard = w;
    w->BackDateTXT->setText(QStringLiteral("9"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_FALSE(program.exists(QStringLiteral("Tessarine.dat")));
}

}  // namespace
