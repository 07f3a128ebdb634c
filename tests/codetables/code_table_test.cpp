// The code/name table windows: vendor categories (RV1) and departments (RV17).
#include "codetables/CodeTableFrm.h"

#include "core/Globals.h"
#include "support/CustomerDb.h"
#include "support/LayerFaults.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"
#include "support/ShowActive.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

using testsupport::ScriptedResponder;
using Button = CodeTableButton;

namespace {

// Chinese text as an input method commits it.
void type(QWidget* box, const QString& text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

class CodeTables : public testsupport::CustomerDb {
protected:
    std::unique_ptr<CodeTableFrm> open(const CodeTableDef& def) { return testsupport::ShowActive<CodeTableFrm>(def); }
    static void addCategory(const QString& code, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into RV1 (RV10, RV11) Values (?, ?)"), {code, name});
    }
    static void addDepartment(const QString& code, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into RV17 (RV170, RV171) Values (?, ?)"), {code, name});
    }
    static void add(const CodeTableDef& def, const QString& code, const QString& name)
    {
        if (def.table == QStringLiteral("RV1"))
            addCategory(code, name);
        else
            addDepartment(code, name);
    }
    // A record of the using table (a vendor of the category, an employee of the department).
    static void use(const CodeTableDef& def, const QString& code)
    {
        gConn.Execute(QStringLiteral("Insert Into ") + def.usedByTable + QStringLiteral(" (") + def.usedByColumn +
                          QStringLiteral(") Values (?)"),
                      {code});
    }
    static QStringList stored(const CodeTableDef& def)
    {
        return rows(QStringLiteral("Select ") + def.box(0).column + QStringLiteral(", ") + def.box(1).column +
                    QStringLiteral(" From ") + def.table + QStringLiteral(" Order By 1"));
    }
    static bool shown(CodeTableFrm& w, Button b) { return w.Button(b) && w.Button(b)->isVisibleTo(&w); }

    testsupport::RecordingSink sink;
};

class BothTables : public CodeTables, public ::testing::WithParamInterface<bool> {
protected:
    const CodeTableDef& def() const { return GetParam() ? VendorCategoryDef() : DepartmentDef(); }
};

INSTANTIATE_TEST_SUITE_P(Tables, BothTables, ::testing::Values(true, false),
                         [](const auto& info) { return std::string(info.param ? "Categories" : "Departments"); });

}  // namespace

// The save check: widths first (each window's own message), then a blank code or name.
TEST(CodeTableSaveCheck, WidthsThenCodeAndName)
{
    gLangOffset = 0;
    struct Case {
        const CodeTableDef* def;
        std::vector<QString> texts;
        QString message;
        int box;
    };
    const QString sixChinese = QStringLiteral("印刷加工廠商");
    const Case cases[] = {
        {&VendorCategoryDef(), {"001", sixChinese, ""}, "'' 欄位資料過長,請不要超過10個字元(一個中文字算2個字元)", 1},
        {&DepartmentDef(), {"001", sixChinese}, "'欄位資料過長,請不要超過10個字元(一個中文字算2個字元)", 1},
        {&VendorCategoryDef(), {"00001", "", ""}, "'' 欄位資料過長,請不要超過4個字元(一個中文字算2個字元)", 0},
        {&VendorCategoryDef(), {"001", "印刷", QString(11, QChar(0x5370))},
         "'' 欄位資料過長,請不要超過20個字元(一個中文字算2個字元)", 2},
        {&VendorCategoryDef(), {"001", "   ", ""}, "加工類別,類別名稱須輸入", -1},
        {&DepartmentDef(), {" ", "業務部"}, "部門代號,部門名稱必須輸入", -1},
        {&DepartmentDef(), {"001", "業務部"}, "", -1},
    };
    for (const Case& c : cases) {
        const CodeTableRefusal r = CodeTableSaveCheck(*c.def, c.texts);
        EXPECT_EQ(r.message, c.message) << c.texts[1].toStdString();
        EXPECT_EQ(r.box, c.box) << c.message.toStdString();
        if (c.box >= 0) {
            EXPECT_EQ(r.title, QStringLiteral("取消存檔"));
            EXPECT_TRUE(r.question);
        }
    }
    // 存檔 follows the typed texts; only the departments ask for more than blanks.
    EXPECT_TRUE(CodeTableSaveEnabled(VendorCategoryDef(), "001", "  "));
    EXPECT_FALSE(CodeTableSaveEnabled(DepartmentDef(), "001", "  "));
}

// From an empty table: the first add proposes 001, a save goes straight on to the next code,
// and only 放棄 leaves add mode.
TEST_P(BothTables, AddSavesAndGoesOnWithTheNextCode)
{
    auto w = open(def());
    EXPECT_FALSE(w->Button(Button::Change)->isEnabled());
    EXPECT_FALSE(w->Button(Button::Delete)->isEnabled());

    w->Click(Button::Add);
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("001"));
    EXPECT_FALSE(w->Button(Button::Save)->isEnabled());
    EXPECT_TRUE(shown(*w, Button::Save));
    EXPECT_FALSE(shown(*w, Button::Add));
    EXPECT_FALSE(w->DataGrid1->isEnabled());

    type(w->Text1[1], QStringLiteral("業務"));
    EXPECT_TRUE(w->Button(Button::Save)->isEnabled());
    w->Click(Button::Save);
    EXPECT_EQ(stored(def()), QStringList{"001|業務"});
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("002"));
    EXPECT_EQ(w->Text1[1]->text(), QString());
    EXPECT_EQ(w->GridRs.RecordCount(), 1);

    {
        // The department window counts the proposed code as a change; the category window does not.
        ScriptedResponder r;
        if (def().proposedCodeIsChange)
            r.answer(ui::Answer::Yes);
        w->Click(Button::Cancel);
        EXPECT_EQ(r.messages.size(), def().proposedCodeIsChange ? 1u : 0u);
        EXPECT_EQ(r.beeps, def().beepOnCancel ? 1 : 0);
    }
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_TRUE(shown(*w, Button::Add));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("001"));
    EXPECT_EQ(stored(def()), QStringList{"001|業務"});
    // Change and delete come back with the next opening.
    EXPECT_FALSE(w->Button(Button::Change)->isEnabled());
    EXPECT_TRUE(open(def())->Button(Button::Change)->isEnabled());
}

// Typing after an add makes 放棄 ask; No keeps the edit.
TEST_P(BothTables, CancelAfterTypingAsks)
{
    auto w = open(def());
    w->Click(Button::Add);
    type(w->Text1[1], QStringLiteral("採購"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::No);
        w->Click(Button::Cancel);
        EXPECT_EQ(r.last().text, def().cancelQuestion.text());
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_FALSE(w->DataGrid1->isEnabled());
    EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("採購"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Click(Button::Cancel);
    }
    EXPECT_TRUE(stored(def()).isEmpty());
}

// A code that vendors or employees carry cannot be deleted; nothing is asked.  An unused one
// is deleted after 確定要刪除.
TEST_P(BothTables, DeleteRefusedWhileTheCodeIsUsed)
{
    add(def(), "001", "印刷");
    add(def(), "002", "包裝");
    use(def(), "001");
    auto w = open(def());
    ASSERT_EQ(w->Text1[0]->text(), QStringLiteral("001"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Click(Button::Delete);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().text, GetParam() ? QStringLiteral("加工類別 [印刷] 已經有建立資料.不可以刪除")
                                             : QStringLiteral("部門: [印刷] 已經有建立資料.不可以刪除"));
    }
    EXPECT_EQ(stored(def()).size(), 2);

    QTest::mouseClick(w->DataGrid1->viewport(), Qt::LeftButton, {},
                      w->DataGrid1->visualRect(w->DataGrid1->model()->index(1, 0)).center());
    QApplication::processEvents();
    ASSERT_EQ(w->Text1[0]->text(), QStringLiteral("002"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Click(Button::Delete);
        EXPECT_EQ(r.last().text, QStringLiteral("確定要刪除"));
        EXPECT_EQ(r.last().buttons, ui::Buttons::YesNo);
    }
    EXPECT_EQ(stored(def()), QStringList{"001|印刷"});
    EXPECT_EQ(w->GridRs.RecordCount(), 1);
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("001"));
}

// A code another row holds: reported when the box is left and again at save; nothing written.
TEST_P(BothTables, DuplicateCodeRefusedWhenLeftAndAtSave)
{
    add(def(), "001", "印刷");
    auto w = open(def());
    w->Click(Button::Add);
    ASSERT_EQ(w->Text1[0]->text(), QStringLiteral("002"));
    ASSERT_TRUE(w->Text1[0]->hasFocus());
    w->Text1[0]->setText(QStringLiteral("001"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Text1[1]->setFocus();
        EXPECT_EQ(r.texts(), QStringList{"編號重複001"});
    }
    EXPECT_TRUE(w->Text1[0]->hasFocus());
    w->Text1[1]->setText(QStringLiteral("包裝"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Click(Button::Save);
        EXPECT_EQ(r.texts(), QStringList{"編號重複001"});
    }
    EXPECT_EQ(stored(def()), QStringList{"001|印刷"});
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    // Leaving for 放棄 asks nothing about the code.
    w->Text1[0]->setFocus();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Button(Button::Cancel)->setFocus();
        QTest::mouseClick(w->Button(Button::Cancel), Qt::LeftButton);
        EXPECT_EQ(r.texts(), QStringList{def().cancelQuestion.text()});
    }
    EXPECT_TRUE(w->EditMode.isEmpty());
}

// The widest code and name a table takes, typed into the window and saved: 4 bytes of code and
// 10 of name (five Chinese characters) are stored; one byte more is refused.
TEST_P(BothTables, TheWidestCodeAndNameAreSaved)
{
    enum class Input { Typed, Set, Pasted };
    struct Case {
        const char* code;
        const char* name;
        Input input;   // typed key by key, put in whole, or pasted into the name box
        bool saved;
    };
    const Case cases[] = {
        {"1234", "印刷加工廠", Input::Typed, true},
        {"123中", "印刷加工", Input::Set, false},
        {"1235", "印刷加工廠B", Input::Set, false},
        // A paste is never cut to the width: it stays whole and the save refuses it.
        {"1236", "印刷加工廠印刷加工廠印", Input::Pasted, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        auto w = open(def());
        w->Click(Button::Add);
        w->Text1[0]->clear();
        if (c.input == Input::Typed) {
            QTest::keyClicks(w->Text1[0], QString::fromUtf8(c.code));
            w->Text1[1]->setFocus();
            type(w->Text1[1], QString::fromUtf8(c.name));
        } else if (c.input == Input::Pasted) {
            w->Text1[0]->setText(QString::fromUtf8(c.code));
            w->Text1[1]->clear();
            w->Text1[1]->setFocus();
            QApplication::clipboard()->setText(QString::fromUtf8(c.name));
            QTest::keySequence(w->Text1[1], QKeySequence::Paste);
        } else {
            w->Text1[0]->setText(QString::fromUtf8(c.code));
            w->Text1[1]->setText(QString::fromUtf8(c.name));
        }
        EXPECT_EQ(w->Text1[0]->text(), QString::fromUtf8(c.code));
        EXPECT_EQ(w->Text1[1]->text(), QString::fromUtf8(c.name));
        ScriptedResponder r;
        r.answer(ui::Answer::No).allowUnused();
        w->Click(Button::Save);
        EXPECT_EQ(stored(def()).contains(QString::fromUtf8(c.code) + '|' + QString::fromUtf8(c.name)), c.saved);
        EXPECT_EQ(r.messages.empty(), c.saved) << r.texts().join('/').toStdString();
        if (!c.saved)
            EXPECT_TRUE(r.messages[0].text.contains(QStringLiteral("欄位資料過長")));
    }
}

// Changing a department: the code of one with employees stays (a key beeps and says why); the
// code of one without may change, and a code another department holds is refused.
TEST_F(CodeTables, DepartmentCodeChangesOnlyWithoutEmployees)
{
    addDepartment("001", "業務部");
    addDepartment("002", "會計部");
    use(DepartmentDef(), "001");
    auto w = open(DepartmentDef());
    w->Click(Button::Change);
    EXPECT_TRUE(w->Text1[0]->isReadOnly());
    EXPECT_TRUE(w->Text1[1]->hasFocus());
    {
        ScriptedResponder r;
        w->Text1[0]->setFocus();
        QTest::keyClick(w->Text1[0], '9');
        EXPECT_EQ(r.beeps, 1);
    }
    EXPECT_EQ(sink.status, QStringLiteral("只有這個部門底下沒有任何有員工資料,才可以修改部門代號"));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("001"));
    type(w->Text1[1], QStringLiteral("一"));
    w->Click(Button::Save);
    EXPECT_EQ(stored(DepartmentDef()), (QStringList{"001|業務部一", "002|會計部"}));
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("001"));

    w->TableRs.MoveNext();
    w->Click(Button::Change);
    EXPECT_FALSE(w->Text1[0]->isReadOnly());
    w->Text1[0]->setText(QStringLiteral("001"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Click(Button::Save);
        EXPECT_EQ(r.texts(), QStringList{"編號重複001"});
    }
    w->Text1[0]->setText(QStringLiteral("003"));
    w->Click(Button::Save);
    EXPECT_EQ(stored(DepartmentDef()), (QStringList{"001|業務部一", "003|會計部"}));
}

// A refused write keeps the window in its mode with what was typed (the buttons switch only
// after the row was written).
TEST_F(CodeTables, FailedWriteKeepsTheEdit)
{
    addDepartment("001", "業務部");
    addDepartment("002", "會計部");
    gConn.Execute(QStringLiteral("Create Unique Index 部門名稱 On RV17 (RV171)"));
    auto w = open(DepartmentDef());
    w->Click(Button::Change);
    w->Text1[1]->setText(QStringLiteral("會計部"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Ignore);
        w->Click(Button::Save);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.last().text.contains(QStringLiteral("錯誤代號: 3022")));
        EXPECT_EQ(r.last().buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_TRUE(r.endCodes.empty());
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("change"));
    EXPECT_TRUE(shown(*w, Button::Save));
    EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("會計部"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Click(Button::Cancel);
    }
    EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("業務部"));
    EXPECT_EQ(stored(DepartmentDef()), (QStringList{"001|業務部", "002|會計部"}));
}

// The category window's 重新整理 stays usable while a category is added or changed; pressed then,
// it leaves the edit as it is.
TEST_F(CodeTables, CategoryRefreshStaysUsableWhileEditing)
{
    addCategory("001", "印刷");
    auto w = open(VendorCategoryDef());
    QPushButton* refresh = w->Button(Button::Refresh);
    ASSERT_TRUE(refresh);
    for (Button mode : {Button::Add, Button::Change}) {
        w->Click(mode);
        ASSERT_FALSE(w->EditMode.isEmpty());
        EXPECT_TRUE(shown(*w, Button::Refresh));
        EXPECT_TRUE(refresh->isEnabled());
        w->Text1[1]->setText(QStringLiteral("包裝"));
        w->Click(Button::Refresh);
        EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("包裝"));
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Click(Button::Cancel);
        EXPECT_TRUE(refresh->isEnabled());
    }
    EXPECT_EQ(stored(VendorCategoryDef()), QStringList{"001|印刷"});
}

// The category type-ahead: from the current row on, the first code that begins with the text;
// a text nothing matches leaves the window where it was.
TEST_F(CodeTables, CategoryTypeAhead)
{
    addCategory("001", "印刷");
    addCategory("002", "包裝");
    addCategory("010", "運輸");
    auto w = open(VendorCategoryDef());
    w->Text2->setText(QStringLiteral("01"));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("010"));
    w->Text2->setText(QStringLiteral("包"));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("010"));
    w->Text2->setText(QStringLiteral("0'"));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("010"));
    // Sorting by name reopens the list.
    w->Combo1->setCurrentIndex(1);
    emit w->Combo1->activated(1);
    EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("包裝"));
}

// The vendor window's way in: the category window opens straight in add mode, once.
TEST_F(CodeTables, OpensInAddModeForTheVendorWindow)
{
    CodeTableFrm* w = OpenDevrItemFrm(true);
    ASSERT_TRUE(w);
    EXPECT_EQ(DevrItemFrm().data(), w);
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->Text1[0]->text(), QStringLiteral("001"));
    w->Text1[1]->setText(QStringLiteral("印刷"));
    EXPECT_EQ(OpenDevrItemFrm(true), w);
    EXPECT_EQ(w->Text1[1]->text(), QStringLiteral("印刷"));
    w->Click(Button::Save);
    EXPECT_EQ(stored(VendorCategoryDef()), QStringList{"001|印刷"});
    delete w;
    EXPECT_TRUE(DevrItemFrm().isNull());
}

// The department window empties the help panel and names it when activated.
TEST_F(CodeTables, DepartmentWindowTakesTheHelpPanel)
{
    sink.help = QStringLiteral("客戶");
    auto w = open(DepartmentDef());
    EXPECT_EQ(sink.help, QString());
    EXPECT_EQ(sink.caption, QStringLiteral("部門設定"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("公司部門設定"));
}

// Every fault of the database layer a save can meet on a shared data folder is told in Chinese,
// with its number and what to do, and ends with "資料並未存檔。".
TEST_P(BothTables, ASaveFailureOfTheDatabaseIsToldInChinese)
{
    add(def(), QStringLiteral("001"), QStringLiteral("業務"));
    const QByteArray change = (QStringLiteral("UPDATE ") + def().table + QStringLiteral(" SET ") + def().box(1).column
                               + QStringLiteral(" = '他的';")).toUtf8();
    for (const testsupport::SaveFault& fault : testsupport::SaveFaults()) {
        auto w = open(def());
        w->Click(Button::Change);
        w->Text1[1]->setText(QStringLiteral("我的"));
        testsupport::FaultInPlace held(fault, path, change);
        ScriptedResponder r;
        r.answer(ui::Answer::Ignore);
        w->Click(Button::Save);
        held.letGo();
        ASSERT_FALSE(r.messages.empty()) << fault.name;
        testsupport::ExpectChineseFailure(r.last(), fault, QStringLiteral("資料並未存檔。"));
        EXPECT_TRUE(r.endCodes.empty()) << fault.name;
        EXPECT_EQ(w->EditMode, QStringLiteral("change")) << fault.name;
    }
}
