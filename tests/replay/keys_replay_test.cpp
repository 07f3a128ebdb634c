// The keyboard as the user meets it: the real program under a virtual display with a window
// manager, driven by xdotool.  Each test starts the program on a database of its own.
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "replay/Replay.h"
#include "support/CustomerDb.h"

#include <QDate>
#include <QFile>
#include <csignal>
#include <set>
#include <vector>
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
        const char* vendors[][3] = {{"A", "A-0001", "大華"}, {"A", "A-0002", "中興"}, {"B", "B-0001", "小明"}};
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
        // A category used once each, so that the category lists hold an entry to drop down.
        gConn.Execute(K("Update RV12 Set 類別 = '經銷' Where RV120 = '00003'"));
        gConn.Execute(K("Update RV18A Set 類別 = '朋友' Where RV18A1 = '0003'"));
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
    // The same from 工具(&T), two menus to the left: it works while a record window is active.
    void openFromMenuBar(int place, const QString& window)
    {
        Key("alt+t");
        waitPopup("QMenu");
        Keys({"Left", "Left"});
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

// The buttons of every other record window take their keys the same way: 查詢(&F) opens its
// find window, 刪除(&D) asks first, 修改 and 存檔(&S) save what was typed, 離開(&X) closes it.
TEST_F(KeysReplay, EveryRecordWindowTakesItsButtonKeys)
{
    struct Case {
        int place;               // in 資料管理(&D)
        const char* window;
        const char* table;
        const char* findDialog;  // what Alt+F opens ("" when the window has no 查詢)
        const char* change;      // the key of 修改
        const char* box;         // a box to type into
        const char* typed;
        const char* check;       // one row holds what was typed after the save
    };
    const Case cases[] = {
        {1, "FactorFrm", "RV11", "FactorFond", "alt+m", "Text1_4", "Zed", "Select RV111 From RV11 Where RV114 = 'Zed'"},
        {2, "PersonnelFrm", "RV17A", "", "alt+g", "Text1_15", "zed@abc.com.tw",
         "Select RV17A1 From RV17A Where RV17A5 = 'zed@abc.com.tw'"},
        {3, "OtherFrm", "RV18A", "OtherFindFrm", "alt+m", "Text1_3", "Zed", "Select RV18A1 From RV18A Where RV18A3 = 'Zed'"},
        {6, "Dipartmant1FRM", "RV17", "", "alt+c", "Text1_1", "Zed", "Select RV170 From RV17 Where RV171 Like '%Zed'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        const long rowsBefore = count(c.table);
        openFromDataMenu(c.place, c.window);
        State s;
        if (*c.findDialog) {
            Key("alt+f");
            s = waitModal(c.findDialog);
            EXPECT_TRUE(s.modal.contains(c.findDialog)) << STATE_MSG(s);
            Key("Escape");
            s = waitNoModal();
            ASSERT_EQ(s.modal, "-") << STATE_MSG(s);
        }
        Key("alt+d");
        s = waitModal("QMessageBox");
        EXPECT_TRUE(s.modal.startsWith("QMessageBox")) << STATE_MSG(s);
        Key("alt+n");
        s = waitNoModal();
        if (s.modal != "-") {  // a record in use is refused with an OK box instead
            Key("Return");
            s = waitNoModal();
        }
        EXPECT_EQ(count(c.table), rowsBefore);

        Key(c.change);
        s = waitFor([](const State& s) { return s.focus.startsWith("QLineEdit") || s.focus.startsWith("QComboBox"); });
        ASSERT_TRUE(s.FocusIn(c.window)) << STATE_MSG(s);
        click(c.box);
        s = waitFocus(c.box);
        ASSERT_TRUE(s.FocusIn(c.box)) << STATE_MSG(s);
        Key("End");
        Type(c.typed);
        Key("alt+s");
        s = waitFor([&](const State& s) { return s.modal != "-" || rows(c.check).size() == 1; });
        EXPECT_EQ(rows(c.check).size(), 1) << STATE_MSG(s);
        EXPECT_EQ(count(c.table), rowsBefore);

        Key("alt+x");
        s = waitFor([](const State& s) { return s.active == "-" && s.modal == "-"; });
        ASSERT_EQ(s.active, "-") << STATE_MSG(s);
    }
}

// The vendor-category window: 新增(&N) starts an add and 放棄(&X) abandons it.
TEST_F(KeysReplay, CategoryWindowAddAndCancelByKeys)
{
    openFromDataMenu(5, "DevrItemFrm");
    Key("alt+n");
    State s = waitFor([](const State& s) { return s.widgets.count("Command1_5"); });
    ASSERT_TRUE(s.widgets.count("Command1_5")) << STATE_MSG(s);
    Key("alt+x");
    s = waitFor([](const State& s) { return s.modal != "-" || s.widgets.count("Command1_1"); });
    if (s.modal != "-")
        Key("alt+y");
    s = waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command1_1"); });
    EXPECT_TRUE(s.widgets.count("Command1_1")) << STATE_MSG(s);
    EXPECT_EQ(count("RV1"), 2);
    Key("alt+x");
    s = waitFor([](const State& s) { return s.active == "-"; });
    EXPECT_EQ(s.active, "-") << STATE_MSG(s);
}

// ---- Lists -------------------------------------------------------------------------------------

// Tab leaves a record window's list for the next control and Shift+Tab for the one before; the
// current record stays where it was.
TEST_F(KeysReplay, TabLeavesTheListOfEveryRecordWindow)
{
    struct Case {
        int place;
        const char* window;
        const char* list;
    };
    const Case cases[] = {{0, "CustomFrom", "DataGrid1_0"}, {1, "FactorFrm", "DataGrid1_1"},
                          {2, "PersonnelFrm", "DataGrid1_1"}, {3, "OtherFrm", "DataGrid1_1"},
                          {5, "DevrItemFrm", "DataGrid1"}, {6, "Dipartmant1FRM", "DataGrid1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        openFromDataMenu(c.place, c.window);
        State s = state();
        ASSERT_TRUE(s.widgets.count(c.list)) << STATE_MSG(s);
        // The second row of the list (below its caption row).
        const QRect list = s.widgets.at(c.list);
        const int row = 2 * 18 + 8;
        replay::Click(QPoint(list.left() + 30, list.top() + row));
        s = waitFocus(c.list);
        ASSERT_TRUE(s.FocusIn(c.list)) << STATE_MSG(s);
        const int current = s.views.at(c.list).current;
        ASSERT_GE(current, 0) << STATE_MSG(s);
        EXPECT_EQ(s.views.at(c.list).selected, 1) << STATE_MSG(s);

        Key("Tab");
        s = waitFor([&](const State& s) { return !s.FocusIn(c.list); });
        EXPECT_FALSE(s.FocusIn(c.list)) << STATE_MSG(s);
        EXPECT_TRUE(s.FocusIn(c.window)) << STATE_MSG(s);
        EXPECT_EQ(s.views.at(c.list).current, current) << STATE_MSG(s);
        Key("shift+Tab");
        s = waitFocus(c.list);
        EXPECT_TRUE(s.FocusIn(c.list)) << STATE_MSG(s);
        Key("shift+Tab");
        s = waitFor([&](const State& s) { return !s.FocusIn(c.list); });
        EXPECT_FALSE(s.FocusIn(c.list)) << STATE_MSG(s);
        EXPECT_TRUE(s.FocusIn(c.window)) << STATE_MSG(s);
        EXPECT_EQ(s.views.at(c.list).current, current) << STATE_MSG(s);
        EXPECT_EQ(s.views.at(c.list).selected, 1) << STATE_MSG(s);

        Key("alt+x");  // 離開
        s = waitFor([](const State& s) { return s.active == "-"; });
        ASSERT_EQ(s.active, "-") << STATE_MSG(s);
    }
}

// Quick find leaves exactly one row selected: the customer found.
TEST_F(KeysReplay, QuickFindLeavesOneSelectedRow)
{
    openFromDataMenu(0, "CustomFrom");
    click("DataCombo1_0");
    State s = waitFocus("DataCombo1_0");
    ASSERT_TRUE(s.FocusIn("DataCombo1_0")) << STATE_MSG(s);
    for (const char* code : {"00002", "00001", "00003"}) {
        Keys({"ctrl+a", "BackSpace"});
        Type(code);
        // The list is ordered by short name: 丙 (00003), 乙 (00002), 甲 (00001).
        const int row = QString(code) == "00003" ? 0 : QString(code) == "00002" ? 1 : 2;
        s = waitFor([&](const State& s) { return s.views.at("DataGrid1_0").current == row; });
        EXPECT_EQ(s.views.at("DataGrid1_0").current, row) << code << STATE_MSG(s);
        EXPECT_EQ(s.views.at("DataGrid1_0").selected, 1) << code << STATE_MSG(s);
    }
}

// ---- Pick lists ----------------------------------------------------------------------------------

struct PickCase {
    const char* box;   // a box that opens a pick list while editing
    const char* list;  // the list laid over it
};
struct WindowPicks {
    int place;           // in 資料管理(&D)
    const char* window;
    const char* change;  // the key of 修改 (of 新增 where there is nothing to change)
    std::vector<PickCase> picks;
};

// Alt+Down and F4 open every pick list of every record window every time, closing and opening
// it again and again, over each box that lays it.
TEST_F(KeysReplay, AltDownAndF4OpenPickListsEveryTime)
{
    const WindowPicks windows[] = {
        {0, "CustomFrom", "alt+m",
         {{"Text1_21", "Combo2"}, {"Text1_20", "Combo2"}, {"Text1_18", "Combo2"}, {"Text1_19", "Combo2"},
          {"Text1_13", "Combo2"}, {"Text1_10", "DataCombo1_1"}}},
        {1, "FactorFrm", "alt+m",
         {{"Text1_0", "DataCombo1"}, {"Text1_16", "Combo2"}, {"Text1_20", "Combo3"}, {"Text1_21", "Combo3"},
          {"Text1_22", "Combo3"}, {"Text1_23", "Combo3"}}},
        {2, "PersonnelFrm", "alt+g", {{"Text1_0", "DataCombo1_2"}, {"Text1_3", "Combo1_0"}, {"Text1_6", "Combo1_0"}}},
        {3, "OtherFrm", "alt+m", {{"Text1_0", "Combo1_0"}, {"Text1_5", "Combo1_0"}}},
        // The member table is made at start-up, empty: a new member's sex list (its category
        // list holds no entry yet).
        {4, "DBtable_fm", "alt+n", {{"Fields_Text_6", "Combo2"}}},
    };
    for (const WindowPicks& w : windows) {
        SCOPED_TRACE(w.window);
        openFromDataMenu(w.place, w.window);
        Key(w.change);
        State s = waitFor([&](const State& s) { return s.focus.startsWith("QLineEdit") || s.focus.startsWith("QComboBox"); });
        ASSERT_TRUE(s.FocusIn(w.window)) << STATE_MSG(s);
        for (const PickCase& c : w.picks) {
            SCOPED_TRACE(c.box);
            click(c.box);
            s = waitFocus(c.list);
            ASSERT_TRUE(s.FocusIn(c.list)) << STATE_MSG(s);
            // The very first drop-down of the list included.
            for (int round = 0; round < 2; ++round) {
                for (const char* key : {"alt+Down", "F4"}) {
                    Key(key);
                    s = waitPopup("QComboBoxPrivateContainer");
                    EXPECT_TRUE(s.popup.startsWith("QComboBoxPrivateContainer")) << key << " " << round << STATE_MSG(s);
                    Key("Escape");
                    s = waitNoPopup();
                    EXPECT_TRUE(s.FocusIn(c.list)) << key << " " << round << STATE_MSG(s);
                }
            }
        }
        // Abandon the change (放棄 is Alt+X in the customer window, Alt+C in the others) and close.
        Key(QString(w.window) == "CustomFrom" ? "alt+x" : "alt+c");
        s = waitFor([](const State& s) { return s.modal != "-" || s.widgets.count("Command2_2"); });
        if (s.modal != "-")
            Key("alt+y");
        waitNoModal();
        Key("alt+x");
        s = waitFor([](const State& s) { return s.active == "-" && s.modal == "-"; });
        ASSERT_EQ(s.active, "-") << STATE_MSG(s);
    }
}

// The vendor's category picker and the employee's department picker take a typed code: with
// Enter, with Tab, typed into the open drop-down, or saved by Alt+S while the picker is open,
// the record is stored under the typed category or department, numbered in it.
TEST_F(KeysReplay, PickersTakeATypedCode)
{
    struct Case {
        int place;
        const char* window;
        const char* picker;
        std::vector<const char*> choose;  // keys after the code is typed ("" = type the code)
        const char* code;
        const char* name;
        const char* check;  // the stored category or department and number of the record named
        const char* stored;
    };
    const Case cases[] = {
        {1, "FactorFrm", "DataCombo1", {"", "Return"}, "B", "Zed1", "Select RV110, RV111 From RV11 Where RV112 = 'Zed1'",
         "B|B-002"},
        {1, "FactorFrm", "DataCombo1", {"", "Tab"}, "B", "Zed2", "Select RV110, RV111 From RV11 Where RV112 = 'Zed2'",
         "B|B-003"},
        {1, "FactorFrm", "DataCombo1", {"F4", "", "Return"}, "B", "Zed3",
         "Select RV110, RV111 From RV11 Where RV112 = 'Zed3'", "B|B-004"},
        {1, "FactorFrm", "DataCombo1", {""}, "B", "Zed4", "Select RV110, RV111 From RV11 Where RV112 = 'Zed4'", "B|B-005"},
        {2, "PersonnelFrm", "DataCombo1_2", {"", "Return"}, "002", "Zed1",
         "Select RV17A0, RV17A1 From RV17A Where RV17A2 = 'Zed1'", "002|002-002"},
        {2, "PersonnelFrm", "DataCombo1_2", {"", "Tab"}, "002", "Zed2",
         "Select RV17A0, RV17A1 From RV17A Where RV17A2 = 'Zed2'", "002|002-003"},
        {2, "PersonnelFrm", "DataCombo1_2", {"alt+Down", "", "Return"}, "002", "Zed3",
         "Select RV17A0, RV17A1 From RV17A Where RV17A2 = 'Zed3'", "002|002-004"},
        {2, "PersonnelFrm", "DataCombo1_2", {""}, "002", "Zed4", "Select RV17A0, RV17A1 From RV17A Where RV17A2 = 'Zed4'",
         "002|002-005"},
    };
    QString open;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.window) + " " + c.name);
        if (open != c.window) {
            if (!open.isEmpty()) {
                Key("alt+x");
                waitFor([](const State& s) { return s.active == "-" && s.modal == "-"; });
            }
            openFromDataMenu(c.place, c.window);
            open = c.window;
        }
        State s = state();
        if (s.widgets.count("Command2_5")) {  // the employee window's next add after a save
            Key("alt+c");
            waitFor([](const State& s) { return s.widgets.count("Command2_1") && s.modal == "-"; });
        }
        // 新增: the picker over the category or department box has the focus; the name first.
        Key("alt+n");
        s = waitFocus(c.picker);
        ASSERT_TRUE(s.FocusIn(c.picker)) << STATE_MSG(s);
        click("Text1_2");
        waitFocus("Text1_2");
        Type(c.name);
        click("Text1_0");
        s = waitFocus(c.picker);
        ASSERT_TRUE(s.FocusIn(c.picker)) << STATE_MSG(s);
        for (const char* key : c.choose) {
            if (!*key) {
                Type(c.code);
            } else {
                Key(key);
                if (QString(key) == "F4" || QString(key) == "alt+Down")
                    waitPopup("QComboBoxPrivateContainer");
            }
        }
        if (c.choose.size() > 1) {
            s = waitFor([&](const State& s) { return !s.FocusIn(c.picker) && s.popup == "-"; });
            EXPECT_FALSE(s.FocusIn(c.picker)) << STATE_MSG(s);
        }
        Key("alt+s");
        s = waitFor([&](const State& s) { return s.modal != "-" || !rows(K(c.check)).isEmpty(); });
        EXPECT_EQ(rows(K(c.check)), QStringList{K(c.stored)}) << STATE_MSG(s);
    }
}

// A pick list still open when Alt+S is pressed: what was typed into it is saved, in its box.
TEST_F(KeysReplay, TextTypedIntoAnOpenPickListIsSavedByAltS)
{
    openFromDataMenu(0, "CustomFrom");
    Key("alt+m");
    waitFocus("Text1_1");
    click("Text1_19");  // the category box lays its list over itself
    State s = waitFocus("Combo2");
    ASSERT_TRUE(s.FocusIn("Combo2")) << STATE_MSG(s);
    Type("VIP");
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select 類別 From RV12 Where RV120 = '00001'")), QStringList{"VIP"}) << STATE_MSG(s);

    // The same with a list picked from the drop-down and saved while it is still open.
    Key("alt+m");
    waitFocus("Text1_1");
    click("Text1_21");
    s = waitFocus("Combo2");
    Key("alt+Down");
    waitPopup("QComboBoxPrivateContainer");
    Keys({"Down", "Down", "Return"});
    waitNoPopup();
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command2_2"); });
    const QStringList terms = rows(K("Select 付款條件方式 From RV12 Where RV120 = '00001'"));
    ASSERT_EQ(terms.size(), 1);
    EXPECT_FALSE(terms[0].isEmpty()) << STATE_MSG(s);
}

// The same in the vendor window (the status list), the employee window (its own list over the
// grade box) and the personal-contact window (the category list): what was typed is saved with the record it was typed for.
TEST_F(KeysReplay, TextTypedIntoAnOpenListIsSavedInTheOtherWindows)
{
    struct Case {
        int place;
        const char* window;
        const char* change;
        const char* box;
        const char* list;
        const char* check;
    };
    const Case cases[] = {
        {1, "FactorFrm", "alt+m", "Text1_16", "Combo2", "Select Count(*) From RV11 Where 廠商狀況 = 'Boss'"},
        {2, "PersonnelFrm", "alt+g", "Text1_3", "Combo1_0", "Select Count(*) From RV17A Where EmployeePart = 'Boss'"},
        {3, "OtherFrm", "alt+m", "Text1_0", "Combo1_0", "Select Count(*) From RV18A Where 類別 = 'Boss'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        openFromDataMenu(c.place, c.window);
        Key(c.change);
        State s = waitFor([](const State& s) { return s.focus.startsWith("QLineEdit"); });
        ASSERT_TRUE(s.FocusIn(c.window)) << STATE_MSG(s);
        click(c.box);
        s = waitFocus(c.list);
        ASSERT_TRUE(s.FocusIn(c.list)) << STATE_MSG(s);
        Keys({"ctrl+a", "BackSpace"});
        Type("Boss");
        Key("alt+s");
        s = waitFor([&](const State& s) { return s.modal != "-" || rows(c.check) == QStringList{"1"}; });
        EXPECT_EQ(rows(c.check), QStringList{"1"}) << STATE_MSG(s);
        Key("alt+x");
        s = waitFor([](const State& s) { return s.active == "-" && s.modal == "-"; });
        ASSERT_EQ(s.active, "-") << STATE_MSG(s);
    }
}

// A pick list writes only into the box and the record it was opened for.  A category typed
// into the customer's list, the page changed and changed back, the customer saved: the next
// customer changed and saved keeps its own category, and a new customer given none gets none.
TEST_F(KeysReplay, APickListWritesIntoNoOtherRecord)
{
    openFromDataMenu(0, "CustomFrom");
    const auto addCustomer = [&](const char* name, const char* phone) {
        Key("alt+n");
        waitFocus("Text1_0");
        click("Text1_3");
        waitFocus("Text1_3");
        Type(phone);
        click("Text1_10");  // the salesperson list
        waitFocus("DataCombo1_1");
        Type("Wang");
        click("Text1_1");
        waitFocus("Text1_1");
        Type(name);
    };
    addCustomer("Dgo", "02-4444");
    Keys({"Return", "Return"});  // short name -> full name -> the category list
    State s = waitFocus("Combo2");
    ASSERT_TRUE(s.FocusIn("Combo2")) << STATE_MSG(s);
    Type("CatE");
    Key("Return");
    s = waitFor([](const State& s) { return !s.FocusIn("Combo2"); });
    click("TabStrip2#1");
    s = waitFor([](const State& s) { return s.widgets.count("ManGrid"); });
    // The list never stays on a page that is not shown, nor anywhere without the focus.
    EXPECT_TRUE(!s.widgets.count("Combo2") || s.FocusIn("Combo2")) << STATE_MSG(s);
    click("TabStrip2#0");
    s = waitFor([](const State& s) { return s.widgets.count("Text1_1"); });
    EXPECT_TRUE(!s.widgets.count("Combo2") || s.FocusIn("Combo2")) << STATE_MSG(s);
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select 類別 From RV12 Where RV121 = 'Dgo'")), QStringList{"CatE"}) << STATE_MSG(s);
    EXPECT_TRUE(!s.widgets.count("Combo2") || s.FocusIn("Combo2")) << STATE_MSG(s);

    // Another customer changed in its phone only keeps its category.
    click("DataCombo1_0");
    waitFocus("DataCombo1_0");
    Keys({"ctrl+a", "BackSpace"});
    Type("00003");
    waitFor([](const State& s) { return s.views.at("DataGrid1_0").current >= 0; });
    Key("alt+m");
    waitFocus("Text1_1");
    click("Text1_3");
    waitFocus("Text1_3");
    Key("End");
    Type("9");
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select RV123, 類別 From RV12 Where RV120 = '00003'")), QStringList{K("02-33339|經銷")})
        << STATE_MSG(s);

    // A new customer given no category is stored without one.
    addCustomer("Ego", "02-5555");
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal != "-" || s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select Count(*) From RV12 Where RV121 = 'Ego' And (類別 Is Null Or 類別 = '')")), QStringList{"1"})
        << STATE_MSG(s);
}

// Alt with a letter no button answers types nothing: not into the employee's department picker
// after a save (新增 is hidden then), not into 中文姓名, not into the vendor's 廠商簡稱.
TEST_F(KeysReplay, AltWithALetterTypesNothing)
{
    openFromDataMenu(2, "PersonnelFrm");
    Key("alt+n");
    State s = waitFocus("DataCombo1_2");
    ASSERT_TRUE(s.FocusIn("DataCombo1_2")) << STATE_MSG(s);
    Type("002");
    Key("Return");
    click("Text1_2");
    waitFocus("Text1_2");
    Type("Zed1");
    Key("alt+s");
    // The next add starts with the picker in the focus and 新增 hidden.
    s = waitFor([](const State& s) { return s.modal == "-" && s.FocusIn("DataCombo1_2"); });
    ASSERT_EQ(rows(K("Select RV17A0 From RV17A Where RV17A2 = 'Zed1'")), QStringList{"002"}) << STATE_MSG(s);
    Key("alt+n");
    Type("002");
    Key("Return");
    click("Text1_2");
    waitFocus("Text1_2");
    Type("Zed");
    Keys({"alt+q", "alt+n"});
    Type("2");
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal != "-" || s.FocusIn("DataCombo1_2"); });
    EXPECT_EQ(rows(K("Select RV17A0, RV17A1 From RV17A Where RV17A2 = 'Zed2'")), QStringList{"002|002-003"})
        << STATE_MSG(s);
    Key("alt+c");
    waitFor([](const State& s) { return s.widgets.count("Command2_1") && s.modal == "-"; });
    Key("alt+x");
    waitFor([](const State& s) { return s.active == "-" && s.modal == "-"; });

    openFromDataMenu(1, "FactorFrm");
    Key("alt+m");
    waitFor([](const State& s) { return s.focus.startsWith("QLineEdit") || s.focus.startsWith("QComboBox"); });
    click("Text1_2");
    waitFocus("Text1_2");
    Key("End");
    Keys({"alt+q", "alt+n"});
    Type("Z");
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal != "-" || s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select Count(*) From RV11 Where RV112 Like '%Z'")), QStringList{"1"}) << STATE_MSG(s);
    EXPECT_EQ(rows(K("Select Count(*) From RV11 Where RV112 Like '%q%' Or RV112 Like '%n%'")), QStringList{"0"})
        << STATE_MSG(s);
}

// A pick list opens at its box's own entry, so Down gives the next one; Tab with the drop-down
// open takes the highlighted entry, closes the list and moves on.
TEST_F(KeysReplay, PickListsStepFromTheBoxsEntryAndTabTakesTheHighlighted)
{
    gConn.Execute(K("Update RV11 Set 廠商狀況 = '次常用'"));
    openFromDataMenu(1, "FactorFrm");
    const auto status = [&](const char* keys) {
        Key("alt+m");
        waitFor([](const State& s) { return s.focus.startsWith("QLineEdit") || s.focus.startsWith("QComboBox"); });
        click("Text1_16");
        State s = waitFocus("Combo2");
        EXPECT_TRUE(s.FocusIn("Combo2")) << STATE_MSG(s);
        for (const QString& key : QString(keys).split(' ')) {
            Key(key);
            if (key == "alt+Down")
                waitPopup("QComboBoxPrivateContainer");
        }
        s = waitFor([](const State& s) { return s.popup == "-"; });
        return s;
    };
    State s = status("Down");
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal != "-" || s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select Count(*) From RV11 Where 廠商狀況 = '已無往來'")), QStringList{"1"}) << STATE_MSG(s);

    s = status("alt+Down Up Tab");
    EXPECT_FALSE(s.FocusIn("Combo2")) << STATE_MSG(s);
    EXPECT_FALSE(s.widgets.count("Combo2")) << STATE_MSG(s);
    Key("alt+s");
    s = waitFor([](const State& s) { return s.modal != "-" || s.widgets.count("Command2_2"); });
    EXPECT_EQ(rows(K("Select Count(*) From RV11 Where 廠商狀況 = '已無往來'")), QStringList{"0"}) << STATE_MSG(s);
}

// ---- Text cursors --------------------------------------------------------------------------------

// Only the box that has the focus shows a text cursor: none is left blinking in a box that
// handed its focus to a pick list, nor in the box a refused entry was leaving for.
TEST_F(KeysReplay, OnlyTheFocusedBoxShowsATextCursor)
{
    const auto oneCursor = [&](const char* step) {
        const State s = state();
        const QRect blink = replay::BlinkingArea();
        EXPECT_FALSE(blink.isEmpty()) << step << STATE_MSG(s);
        EXPECT_TRUE(s.focusRect.contains(blink)) << step << " blinking at " << blink.x() << "," << blink.y() << " "
                                                 << blink.width() << "x" << blink.height() << "\n" << STATE_MSG(s);
    };
    openFromDataMenu(0, "CustomFrom");
    Key("alt+m");
    waitFocus("Text1_1");
    replay::MoveMouseAway();
    oneCursor("modify");
    // Boxes that hand the focus to their lists, one after another.
    for (const char* box : {"Text1_21", "Text1_13", "Text1_3"}) {
        click(box);
        replay::MoveMouseAway();
        waitFor([&](const State& s) { return s.FocusIn(box) || s.focus.startsWith("QComboBox"); });
        oneCursor(box);
    }
    // A closing day the leave check refuses: the message, then the focus back in the box.
    click("Text1_12");
    Type("32");
    click("Text1_4");
    State s = waitModal("QMessageBox");
    ASSERT_TRUE(s.modal.startsWith("QMessageBox")) << STATE_MSG(s);
    Key("Return");
    s = waitFocus("Text1_12");
    EXPECT_TRUE(s.FocusIn("Text1_12")) << STATE_MSG(s);
    replay::MoveMouseAway();
    oneCursor("refused");
    Key("Tab");
    oneCursor("tab");
}

// ---- Entry walks by keys ---------------------------------------------------------------------------

// A new vendor typed with Enter alone: Enter breaks lines in the remarks until it is pressed on
// an empty last line, then goes on to 應付帳款; the first line break stays in the remarks.
TEST_F(KeysReplay, VendorEntryEnterLeavesTheRemarksFromAnEmptyLastLine)
{
    openFromDataMenu(1, "FactorFrm");
    Key("alt+n");
    State s = waitFocus("DataCombo1");
    ASSERT_TRUE(s.FocusIn("DataCombo1")) << STATE_MSG(s);
    Keys({"Return", "Return"});  // the category as proposed, the number as proposed
    s = waitFocus("Text1_2");
    ASSERT_TRUE(s.FocusIn("Text1_2")) << STATE_MSG(s);
    Type("Zed");
    // On through 全銜 … e-mail (3 to 8, 11 to 14, 17, 18) to the remarks.
    for (int i = 0; i < 13; ++i)
        Key("Return");
    s = waitFocus("Text1_19");
    ASSERT_TRUE(s.FocusIn("Text1_19")) << STATE_MSG(s);
    Type(K("老客戶"));
    Keys({"Return", "Return"});
    s = waitFocus("Text1_15");
    ASSERT_TRUE(s.FocusIn("Text1_15")) << STATE_MSG(s);
    Type("15000");
    Key("Return");
    s = waitFocus("Combo2");  // the status list over 狀態
    EXPECT_TRUE(s.FocusIn("Combo2")) << STATE_MSG(s);
    Key("alt+s");
    const QString check = K("Select RV1118, RV1115 From RV11 Where RV112 = 'Zed'");
    s = waitFor([&](const State& s) { return s.modal != "-" || !rows(check).isEmpty(); });
    EXPECT_EQ(rows(check), QStringList{K("老客戶\n|15000")}) << STATE_MSG(s);
}

// 放棄 gives a vendor change up, by its key or by a click, whatever the box being left holds:
// an e-mail address its check refuses asks nothing of its own first.
TEST_F(KeysReplay, VendorEntryCancelAbandonsWhateverTheBoxHolds)
{
    openFromDataMenu(1, "FactorFrm");
    for (const char* way : {"alt+c", "click"}) {
        SCOPED_TRACE(way);
        Key("alt+m");
        State s = waitFocus("Text1_2");
        ASSERT_TRUE(s.FocusIn("Text1_2")) << STATE_MSG(s);
        click("Text1_18");
        waitFocus("Text1_18");
        Type("a@@b.com");
        if (QString(way) == "click")
            click("Command2_6");
        else
            Key(way);
        s = waitModal("QMessageBox");
        EXPECT_TRUE(s.modal.contains(K("放棄編輯"))) << STATE_MSG(s);
        Key("alt+y");
        s = waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command2_2"); });
        ASSERT_TRUE(s.widgets.count("Command2_2")) << STATE_MSG(s);
    }
    EXPECT_EQ(rows(K("Select Count(*) From RV11 Where RV1117 Like '%@%'")), QStringList{"0"});
}

// A closing day the save refuses (a letter): after the message the focus is back in the day
// list over 結帳日, and Enter goes on to the list over 付款票期; the mended day is saved.
TEST_F(KeysReplay, VendorEntryRefusedClosingDayKeepsItsList)
{
    openFromDataMenu(1, "FactorFrm");
    Key("alt+m");
    State s = waitFocus("Text1_2");
    ASSERT_TRUE(s.FocusIn("Text1_2")) << STATE_MSG(s);
    click("Text1_20");
    s = waitFocus("Combo3");
    ASSERT_TRUE(s.FocusIn("Combo3")) << STATE_MSG(s);
    Type("abc");
    Key("alt+s");
    s = waitModal("QMessageBox");
    ASSERT_TRUE(s.modal.startsWith("QMessageBox")) << STATE_MSG(s);
    Key("Return");
    const auto listOver = [](const char* box) {
        return [box](const State& s) {
            return s.modal == "-" && s.FocusIn("Combo3") && s.widgets.count(box) &&
                   s.focusRect.topLeft() == s.widgets.at(box).topLeft();
        };
    };
    s = waitFor(listOver("Text1_20"));
    ASSERT_TRUE(listOver("Text1_20")(s)) << STATE_MSG(s);
    Keys({"ctrl+a", "BackSpace"});
    Type("25");
    Key("Return");
    s = waitFor(listOver("Text1_21"));
    EXPECT_TRUE(listOver("Text1_21")(s)) << STATE_MSG(s);
    Key("alt+s");
    const QString check = K("Select Count(*) From RV11 Where 結帳日 = 25");
    s = waitFor([&](const State& s) { return s.modal != "-" || rows(check) == QStringList{"1"}; });
    EXPECT_EQ(rows(check), QStringList{"1"}) << STATE_MSG(s);
}

// With no vendor category (no department) yet, 新增 offers to make one: the code table opens in
// add mode with the focus in its first box, and what is typed there is saved.
TEST_F(KeysReplay, CodeTableOpensWithTheFocusForAFirstCategory)
{
    struct Case {
        int place;
        const char* window;
        const char* codeTable;
        const char* check;
    };
    const Case cases[] = {{1, "FactorFrm", "DevrItemFrm", "Select RV10, RV11 From RV1"},
                          {2, "PersonnelFrm", "Dipartmant1FRM", "Select RV170, RV171 From RV17"}};
    gConn.Execute(K("Delete From RV1"));
    gConn.Execute(K("Delete From RV17"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        openFromMenuBar(c.place, c.window);
        Key("alt+n");
        State s = waitModal("QMessageBox");
        ASSERT_TRUE(s.modal.startsWith("QMessageBox")) << STATE_MSG(s);
        Key("alt+y");
        s = waitFor([&](const State& s) { return s.modal.startsWith("QMessageBox") && !s.modal.contains("?"); });
        ASSERT_TRUE(s.modal.startsWith("QMessageBox")) << STATE_MSG(s);
        Key("Return");
        s = waitFor([&](const State& s) { return s.modal == "-" && s.FocusIn(c.codeTable) && s.FocusIn("Text1_0"); });
        ASSERT_TRUE(s.FocusIn(c.codeTable)) << STATE_MSG(s);
        ASSERT_TRUE(s.FocusIn("Text1_0")) << STATE_MSG(s);
        Key("Return");  // the code as proposed
        s = waitFocus("Text1_1");
        Type("Zed");
        Key("alt+s");
        s = waitFor([&](const State& s) { return s.modal != "-" || !rows(c.check).isEmpty(); });
        EXPECT_EQ(rows(c.check), QStringList{"001|Zed"}) << STATE_MSG(s);
    }
}

// The sex list over 性別, reached by Enter from the birthday: Down takes the next entry and
// Alt+Down opens the drop-down; the entry taken is saved.
TEST_F(KeysReplay, ContactSexListTakesDownAndAltDown)
{
    openFromDataMenu(3, "OtherFrm");
    const QString stored = K("Select 性別 From RV18A Where RV18A1 = '0001'");
    ASSERT_EQ(rows(stored), QStringList{""});
    const auto toSexList = [&] {
        Key("alt+m");
        State s = waitFocus("Text1_1");
        ASSERT_TRUE(s.FocusIn("Text1_1")) << STATE_MSG(s);
        // 編號, 類別 (its list), 姓名, 英文名, 生日 (its date box), 性別.
        Keys({"Return", "Return", "Return", "Return"});
        s = waitFocus("DateMaskTXT");
        ASSERT_TRUE(s.FocusIn("DateMaskTXT")) << STATE_MSG(s);
        Key("Return");
        s = waitFocus("Combo1_0");
        ASSERT_TRUE(s.FocusIn("Combo1_0")) << STATE_MSG(s);
        ASSERT_EQ(s.focusRect.topLeft(), s.widgets.at("Text1_5").topLeft()) << STATE_MSG(s);
    };
    const auto save = [&] {
        Key("alt+s");
        return waitFor([](const State& s) { return s.modal == "-" && s.widgets.count("Command2_2"); });
    };
    // The empty box shows the first entry, 男: Down gives 女.
    toSexList();
    Key("Down");
    State s = save();
    EXPECT_EQ(rows(stored), QStringList{K("女")}) << STATE_MSG(s);
    // Alt+Down opens the drop-down every time.
    toSexList();
    for (int round = 0; round < 2; ++round) {
        Key("alt+Down");
        s = waitPopup("QComboBoxPrivateContainer");
        EXPECT_TRUE(s.popup.startsWith("QComboBoxPrivateContainer")) << round << STATE_MSG(s);
        Key("Escape");
        s = waitNoPopup();
        EXPECT_TRUE(s.FocusIn("Combo1_0")) << round << STATE_MSG(s);
    }
    s = save();
    EXPECT_EQ(rows(stored), QStringList{K("女")}) << STATE_MSG(s);
}

// 報表列印, 會員, 生日: a click on a birthday picker's month and typed digits give the month and
// the day, as in a date picker.
TEST_F(KeysReplay, ListPrintingBirthdayPickersTakeTypedDigits)
{
    Key("alt+t");
    waitPopup("QMenu");
    Keys({"Left", "Return"});  // 報表 → 報表列印
    State s = waitActive("CustomPrintMsgFrm");
    ASSERT_TRUE(s.widgets.count("TabStrip1")) << STATE_MSG(s);
    const QRect tabs = s.widgets.at("TabStrip1");
    replay::Click(QPoint(tabs.left() + 15, tabs.center().y()));
    Keys({"Right", "Right", "Right", "Right"});  // 會員
    s = waitFor([](const State& s) { return s.widgets.count("DTPicker1_1"); });
    for (const auto& [picker, typed, shown] : {std::tuple{"DTPicker1_0", "1225", "12/25"}, std::tuple{"DTPicker1_1", "315", "03/15"}}) {
        SCOPED_TRACE(picker);
        ASSERT_TRUE(s.widgets.count(picker)) << STATE_MSG(s);
        const QRect r = s.widgets.at(picker);
        replay::Click(QPoint(r.left() + 6, r.center().y()));  // on the month
        s = waitFocus(picker);
        ASSERT_TRUE(s.FocusIn(picker)) << STATE_MSG(s);
        Type(typed);
        s = waitFor([&](const State& s) { return s.focusText == shown; });
        EXPECT_EQ(s.focusText, shown) << STATE_MSG(s);
    }
}

// ---- Window arrangement --------------------------------------------------------------------------

// 視窗 → 重疊顯示 staggers the windows and keeps each one's size, also for a window that was
// maximized; maximizing and restoring a window afterwards gives it that size back.
TEST_F(KeysReplay, CascadeKeepsEveryWindowsSize)
{
    openFromDataMenu(0, "CustomFrom");
    // While a record window is active its buttons take Alt+D: the menu is reached from 工具(&T).
    openFromMenuBar(1, "FactorFrm");
    openFromMenuBar(3, "OtherFrm");
    State s = state();
    std::map<QString, QSize> sizes;
    for (const auto& [name, w] : s.windows)
        sizes[name] = w.geometry.size();
    ASSERT_EQ(sizes.size(), 3u) << STATE_MSG(s);

    const auto titleBar = [&](const State& s) {
        const QRect r = s.windows.at(s.active).geometry;
        const QRect area = s.windows.at(s.active).screen;
        Q_UNUSED(r);
        return QPoint(area.left() + 60, area.top() + 10);
    };
    replay::DoubleClick(titleBar(s));
    s = waitFor([](const State& s) { return s.windows.at(s.active).state == "max"; });
    ASSERT_EQ(s.windows.at(s.active).state, "max") << STATE_MSG(s);

    Key("alt+w");
    s = waitPopup("QMenu");
    ASSERT_TRUE(s.popup.startsWith("QMenu")) << STATE_MSG(s);
    Key("Return");  // 重疊顯示, the first item
    s = waitFor([](const State& s) {
        for (const auto& [name, w] : s.windows)
            if (w.state != "normal")
                return false;
        return s.popup == "-";
    });
    std::set<int> lefts, tops;
    for (const auto& [name, w] : s.windows) {
        EXPECT_EQ(w.state, "normal") << name.toStdString() << STATE_MSG(s);
        EXPECT_EQ(w.geometry.size(), sizes[name]) << name.toStdString() << STATE_MSG(s);
        lefts.insert(w.geometry.left());
        tops.insert(w.geometry.top());
    }
    EXPECT_EQ(lefts.size(), 3u) << STATE_MSG(s);
    EXPECT_EQ(tops.size(), 3u) << STATE_MSG(s);

    // Maximize and restore the active window by its title bar.
    replay::DoubleClick(titleBar(s));
    s = waitFor([](const State& s) { return s.windows.at(s.active).state == "max"; });
    ASSERT_EQ(s.windows.at(s.active).state, "max") << STATE_MSG(s);
    Key("alt+w");
    waitPopup("QMenu");
    Key("Return");
    s = waitFor([](const State& s) { return s.windows.at(s.active).state == "normal"; });
    EXPECT_EQ(s.windows.at(s.active).geometry.size(), sizes[s.active]) << STATE_MSG(s);
}

// ---- A fatal signal ------------------------------------------------------------------------------

// A program ended by a fatal signal leaves a note with the signal and a backtrace in its folder.
TEST_F(KeysReplay, FatalSignalLeavesANoteInTheProgramFolder)
{
    openFromDataMenu(0, "CustomFrom");
    ASSERT_TRUE(program->EndBy(SIGSEGV, 30000));
    QFile note(folder.file(QStringLiteral("tessarine-crash.log")));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(note.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("程式因信號 %1 (SIGSEGV) 而結束").arg(SIGSEGV))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("bin/tessarine("))) << text.toStdString();
}
