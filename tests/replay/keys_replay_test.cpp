// The keyboard as the user meets it: the real program under a virtual display with a window
// manager, driven by xdotool.  Each test starts the program on a database of its own.
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "replay/Replay.h"
#include "support/CustomerDb.h"

#include <QDate>
#include <gtest/gtest.h>

using replay::Key;
using replay::Keys;
using replay::State;
using replay::Type;

namespace {

QString K(const char* s) { return QString::fromUtf8(s); }

class KeysReplay : public testsupport::CustomerDb {
protected:
    static void SetUpTestSuite()
    {
        QString why;
        started_ = replay::Display::Start(&why);
        why_ = why;
    }
    static void TearDownTestSuite() { replay::Display::Stop(); }

    void SetUp() override
    {
        ASSERT_TRUE(started_) << why_.toStdString();
        CustomerDb::SetUp();
        seed();
        // The update reminder is not part of these replays.
        WriteSetting(settings::CheckVerDate, QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")), settings::kMain, 0);
        program = std::make_unique<replay::Program>(folder.path());
        QString why;
        ASSERT_TRUE(program->Start(&why)) << why.toStdString();
    }
    void TearDown() override
    {
        program.reset();
        CustomerDb::TearDown();
    }

    static void seed()
    {
        const char* customers[][4] = {{"00001", "甲公司", "02-1111", "王"}, {"00002", "乙公司", "02-2222", "王"},
                                      {"00003", "丙公司", "02-3333", "王"}};
        for (auto& c : customers)
            gConn.Execute(K("Insert Into RV12 (RV120, RV121, 客戶全銜, RV123, RV1210) Values (?, ?, ?, ?, ?)"),
                          {K(c[0]), K(c[1]), K(c[1]) + K("股份有限公司"), K(c[2]), K(c[3])});
        gConn.Execute(K("Insert Into RV1 (RV10, RV11) Values ('A', '五金'), ('B', '電子')"));
        const char* vendors[][3] = {{"A", "A0001", "大華"}, {"A", "A0002", "中興"}, {"B", "B0001", "小明"}};
        for (auto& v : vendors)
            gConn.Execute(K("Insert Into RV11 (RV110, RV111, RV112, RV113, RV1111, 廠商狀況) Values (?, ?, ?, ?, ?, '現用廠商')"),
                          {K(v[0]), K(v[1]), K(v[2]), K(v[2]) + K("有限公司"), K("台北市")});
        gConn.Execute(K("Insert Into RV17 (RV170, RV171) Values ('001', '業務部'), ('002', '管理部')"));
        const char* staff[][3] = {{"001", "001-001", "王大明"}, {"001", "001-002", "李小華"}, {"002", "002-001", "陳美"}};
        for (auto& e : staff)
            gConn.Execute(K("Insert Into RV17A (RV17A0, RV17A1, RV17A2) Values (?, ?, ?)"), {K(e[0]), K(e[1]), K(e[2])});
        const char* contacts[][2] = {{"0001", "林一"}, {"0002", "林二"}, {"0003", "林三"}};
        for (auto& c : contacts)
            gConn.Execute(K("Insert Into RV18A (RV18A1, RV18A2) Values (?, ?)"), {K(c[0]), K(c[1])});
    }

    // ---- Steps ----
    State state() { return program->Read(); }
    State waitFor(const std::function<bool(const State&)>& ok, int ms = 8000) { return program->WaitFor(ok, ms); }
    State waitFocus(const QString& name)
    {
        return waitFor([&](const State& s) { return s.FocusIn(name); });
    }
    State waitActive(const QString& window)
    {
        return waitFor([&](const State& s) { return s.active.endsWith(QLatin1Char(':') + window) && s.modal == "-"; });
    }
    State waitModal(const QString& part)
    {
        return waitFor([&](const State& s) { return s.modal.contains(part); });
    }
    State waitNoModal()
    {
        return waitFor([](const State& s) { return s.modal == "-"; });
    }
    State waitPopup(const QString& cls)
    {
        return waitFor([&](const State& s) { return s.popup.startsWith(cls); });
    }
    State waitNoPopup()
    {
        return waitFor([](const State& s) { return s.popup == "-"; });
    }
    // Clicks the middle of a widget of the active inner window.
    void click(const QString& widget)
    {
        const State s = state();
        const auto it = s.widgets.find(widget);
        ASSERT_NE(it, s.widgets.end()) << widget.toStdString() << "\n" << s.lines.join('\n').toStdString();
        replay::Click(it->second.center());
    }
    // Opens a window from 資料管理(&D): its place in the menu (0 = the first item).
    void openFromDataMenu(int place, const QString& window)
    {
        Key("alt+d");
        waitPopup("QMenu");
        for (int i = 0; i < place; ++i)
            Key("Down");
        Key("Return");
        const State s = waitActive(window);
        ASSERT_TRUE(s.active.endsWith(":" + window)) << s.lines.join('\n').toStdString();
    }
    static QString dump(const State& s) { return s.lines.join('\n'); }

    std::unique_ptr<replay::Program> program;
    inline static bool started_ = false;
    inline static QString why_;
};

}  // namespace

#define STATE_MSG(s) dump(s).toStdString()

// ---- Access keys -----------------------------------------------------------------------------------

// Without a record window Alt+F and Alt+D open the menus; with one, they press its buttons.
TEST_F(KeysReplay, AccessKeysGoToTheActiveRecordWindowBeforeTheMenus)
{
    // 檔案(&F): its first item asks whether to leave.
    Key("alt+f");
    State s = waitPopup("QMenu");
    ASSERT_TRUE(s.popup.startsWith("QMenu")) << STATE_MSG(s);
    Key("Return");
    s = waitModal(K("離開嗎?"));
    ASSERT_TRUE(s.modal.contains(K("離開嗎?"))) << STATE_MSG(s);
    Key("alt+n");
    waitNoModal();

    openFromDataMenu(0, "CustomFrom");
    // 查詢(&F): the find window.
    Key("alt+f");
    s = waitModal("CustomFond");
    ASSERT_TRUE(s.modal.contains("CustomFond")) << STATE_MSG(s);
    Key("alt+c");
    s = waitNoModal();
    EXPECT_TRUE(s.FocusIn("CustomFrom")) << STATE_MSG(s);
    // 刪除(&D): the delete question; No keeps the customer.
    Key("alt+d");
    s = waitModal(K("刪除"));
    ASSERT_TRUE(s.modal.contains(K("刪除"))) << STATE_MSG(s);
    Key("alt+n");
    waitNoModal();
    EXPECT_EQ(count("RV12"), 3);
    // 修改(&M), typing, 存檔(&S).
    Key("alt+m");
    s = waitFocus("Text1_1");
    ASSERT_TRUE(s.FocusIn("Text1_1")) << STATE_MSG(s);
    Key("End");
    Type("XY");
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select RV120 From RV12 Where RV121 Like '%XY'")), QStringList{"00001"}) << STATE_MSG(s);
    // 新增(&N) then 放棄(&X) with a question, 離開(&X) closes the window.
    Key("alt+n");
    s = waitFocus("Text1_0");
    ASSERT_TRUE(s.FocusIn("Text1_0")) << STATE_MSG(s);
    Key("alt+x");
    s = waitModal(K("放棄編輯"));
    ASSERT_TRUE(s.modal.contains(K("放棄編輯"))) << STATE_MSG(s);
    Key("alt+y");
    waitNoModal();
    EXPECT_EQ(count("RV12"), 3);
    Key("alt+x");
    s = waitFor([](const State& s) { return s.active == "-"; });
    EXPECT_EQ(s.active, "-") << STATE_MSG(s);
    // The menus again once no record window is left.
    Key("alt+d");
    s = waitPopup("QMenu");
    EXPECT_TRUE(s.popup.startsWith("QMenu")) << STATE_MSG(s);
    Keys({"Escape", "Escape"});
}

// The buttons of every other record window take their keys the same way.
TEST_F(KeysReplay, EveryRecordWindowTakesItsButtonKeys)
{
    struct Case {
        int place;          // in 資料管理(&D)
        const char* window;
        const char* findDialog;  // what Alt+F opens
    };
    // 廠商, 員工, 個人通訊, then (after the member item and a separator) 廠商類別, 公司部門.
    const Case cases[] = {{1, "FactorFrm", "FactorFond"}, {2, "PersonnelFrm", ""}, {3, "OtherFrm", "OtherFindFrm"},
                          {5, "DevrItemFrm", ""}, {6, "Dipartmant1FRM", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        openFromDataMenu(c.place, c.window);
        State s = state();
        if (*c.findDialog) {
            Key("alt+f");
            s = waitModal(c.findDialog);
            EXPECT_TRUE(s.modal.contains(c.findDialog)) << STATE_MSG(s);
            Key("Escape");
            s = waitNoModal();
        }
        // 修改(&M) goes into the window's change mode: the focus goes to one of its boxes and
        // 放棄 then brings browsing back without a question.
        Key("alt+m");
        s = waitFor([](const State& s) { return s.focus.startsWith("QLineEdit") || s.focus.startsWith("QComboBox"); });
        EXPECT_TRUE(s.FocusIn(c.window)) << STATE_MSG(s);
        EXPECT_TRUE(s.popup == "-") << STATE_MSG(s);
        Key("Escape");
        // Leave the window with its cancel and exit buttons, whatever their letters.
        for (const char* k : {"alt+x", "alt+c", "alt+x"}) {
            Key(k);
            s = waitFor([](const State&) { return true; }, 300);
            if (s.modal != "-")
                Key("alt+y");
            s = state();
            if (s.active == "-")
                break;
        }
        s = waitFor([](const State& s) { return s.active == "-" && s.modal == "-"; });
        ASSERT_EQ(s.active, "-") << STATE_MSG(s);
    }
}
