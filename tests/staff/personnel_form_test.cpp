// The employee window driven as a user would: departments, adding and saving employees, the
// list filters, the date mask, the identity check and delete.
#include "staff/PersonnelFrm.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "staff/CodeTableFrm.h"
#include "support/CustomerDb.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using testsupport::ScriptedResponder;

namespace {

class PersonnelWindow : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        testsupport::CustomerDb::SetUp();
        ui::SetToday(QDate(2026, 12, 10));
    }
    void TearDown() override
    {
        ui::SetToday(QDate());
        testsupport::CustomerDb::TearDown();
    }
    static void department(const QString& code, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into RV17 (RV170, RV171) Values (?, ?)"), {code, name});
    }
    static void employee(const QString& dept, const QString& number, const QString& name, const QString& left = {})
    {
        gConn.Execute(QStringLiteral("Insert Into RV17A (RV17A0, RV17A1, RV17A2, RV17A13) Values (?, ?, ?, ?)"),
                      {dept, number, name, left.isEmpty() ? QVariant() : QVariant(left)});
    }
    std::unique_ptr<PersonnelFrm> open()
    {
        auto w = std::make_unique<PersonnelFrm>();
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }
    static QLineEdit* line(PersonnelFrm& w, int i) { return static_cast<QLineEdit*>(w.Text1[size_t(i)]); }
    static QStringList listed(PersonnelFrm& w)
    {
        QStringList out;
        const int f = w.EmployeeGridClone.FieldIndex(QStringLiteral("RV17A1"));
        for (long i = 0; i < w.EmployeeGridClone.RecordCount(); ++i)
            out << w.EmployeeGridClone.valueAt(i, f).toString();
        return out;
    }

    testsupport::RecordingSink sink;
};

}  // namespace

// Two departments: employees are numbered within the chosen department, dates are stored as
// yyyy/mm/dd, the hire date sets chk0 and the creation date shown is written.
TEST_F(PersonnelWindow, AddsEmployeesNumberedByDepartment)
{
    department("001", "業務部");
    department("002", "會計部");
    employee("002", "002-007", "陳大文");
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("員工資料管理"));
    EXPECT_EQ(listed(*w), QStringList{"002-007"});

    w->Command2_Click(1);
    ASSERT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->Text(0), QStringLiteral("001"));
    EXPECT_EQ(w->Text(1), QStringLiteral("001-001"));
    EXPECT_EQ(w->CreatDatetext->text(), QStringLiteral("2026/12/10"));
    EXPECT_FALSE(w->Command2[5]->isEnabled());
    w->SetBoxText({BoxArray::Text1, 2}, QStringLiteral("王小明"));
    w->SetBoxText({BoxArray::Text1, 8}, QStringLiteral("A123456789"));
    w->SetBoxText({BoxArray::Text1, 7}, QStringLiteral("1980/2/5"));
    w->SetBoxText({BoxArray::Text1, 12}, QStringLiteral("2020/3/1"));
    EXPECT_TRUE(w->Command2[5]->isEnabled());
    w->Command2_Click(5);
    EXPECT_EQ(rows(QStringLiteral("Select RV17A0, RV17A1, rv17a2, RV17A4, RV17A12, chk0, RV17A7 From RV17A "
                                  "Where RV17A0 = '001'")),
              QStringList{"001|001-001|王小明|1980/02/05|2020/03/01|1|A123456789"});
    EXPECT_EQ(gConn.ExecuteQuery(QStringLiteral("Select 建檔日期 From RV17A Where RV17A1 = '001-001'"))
                  .value(0)
                  .toDate(),
              QDate(2026, 12, 10));
    // Straight on with the next number.
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->Text(1), QStringLiteral("001-002"));
    EXPECT_EQ(w->Text(2), QString());
    w->Command2_Click(6);
    EXPECT_TRUE(w->EditMode.isEmpty());

    // The second department: picked in the list, then numbered after its greatest serial.
    w->Command3_Click(7);
    w->DataCombo1[0]->setEditText(QStringLiteral("會計"));
    EXPECT_EQ(w->PartnameLab->text(), QStringLiteral("會計部"));
    EXPECT_EQ(listed(*w), QStringList{"002-007"});
    w->Command2_Click(1);
    EXPECT_EQ(w->Text(1), QStringLiteral("002-008"));
    w->SetBoxText({BoxArray::Text1, 2}, QStringLiteral("林美"));
    w->Command2_Click(5);
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);  // the next add's department and number count as typed
        w->SetBoxText({BoxArray::Text1, 2}, QStringLiteral("x"));
        w->Command2_Click(6);
    }
    EXPECT_EQ(listed(*w), (QStringList{"002-008", "002-007"}));  // 林 before 陳
    EXPECT_EQ(count(QStringLiteral("RV17A")), 3);
}

// No department yet: 新增 offers the department window in add mode; once one is saved there,
// the next 新增 finds it without reopening the employee window.
TEST_F(PersonnelWindow, FirstDepartmentFromTheEmployeeWindow)
{
    auto w = open();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes).answer(ui::Answer::OK);
        w->Command2_Click(1);
        EXPECT_EQ(r.texts(), (QStringList{"部門尚未建立,您現在要建立部門資料嗎? ",
                                          "\"部門建立完畢後,回到員工資料檔請先按一次重新整理按鍵,顯示新建的部門資料\""}));
    }
    EXPECT_TRUE(w->EditMode.isEmpty());
    CodeTableFrm* departments = Dipartmant1FRM();
    ASSERT_TRUE(departments);
    EXPECT_EQ(departments->EditMode, QStringLiteral("addnew"));
    departments->Text1[1]->setText(QStringLiteral("總務部"));
    departments->Click(CodeTableButton::Save);
    delete departments;

    w->Command2_Click(1);
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->Text(1), QStringLiteral("001-001"));
    EXPECT_EQ(w->PartnameLab->text(), QStringLiteral("總務部"));
    // No answers scripted for the second run: a question would fail the test.
}

// 包含離職 and the grouping button choose the list; neither rebuilds it while editing.
TEST_F(PersonnelWindow, ListByDepartmentWithAndWithoutResigned)
{
    department("001", "業務部");
    department("002", "會計部");
    employee("001", "001-001", "B");
    employee("001", "001-002", "A", "2024/01/31");
    employee("002", "002-001", "C");
    auto w = open();
    EXPECT_EQ(listed(*w), (QStringList{"001-001", "002-001"}));
    w->Check2->click();
    EXPECT_EQ(listed(*w), (QStringList{"001-002", "001-001", "002-001"}));
    w->Command3_Click(7);
    EXPECT_EQ(w->Command3[7]->text(), QStringLiteral("部門分類"));
    EXPECT_EQ(listed(*w), (QStringList{"001-002", "001-001"}));
    w->Command2_Click(2);
    w->Check2->click();
    EXPECT_EQ(listed(*w), (QStringList{"001-002", "001-001"}));
    w->Command2_Click(6);
    w->Check2->click();  // ticked again: the list follows the box as it now stands
    EXPECT_EQ(listed(*w), (QStringList{"001-002", "001-001"}));
    w->Check2->click();
    EXPECT_EQ(listed(*w), (QStringList{"001-001"}));
}

// The masked date box: a half-typed or impossible date is reported and keeps the mask over its
// box; a real date is written as yyyy/mm/dd; the empty mask empties the box.
TEST_F(PersonnelWindow, DateMaskCycle)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    auto w = open();
    w->Command2_Click(2);
    line(*w, 12)->setFocus();
    ASSERT_TRUE(w->DateMaskTXT->isVisible());
    ASSERT_TRUE(w->DateMaskTXT->hasFocus());
    EXPECT_EQ(w->DateMaskTXT->displayText(), QStringLiteral("____/__/__"));
    QTest::keyClicks(w->DateMaskTXT, QStringLiteral("20040230"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        line(*w, 9)->setFocus();
        EXPECT_EQ(r.texts(), QStringList{"2004/02/30並非(yyyy/mm/dd)日期格式\""});
    }
    EXPECT_TRUE(w->DateMaskTXT->hasFocus());
    EXPECT_TRUE(w->DateMaskTXT->isVisible());
    w->DateMaskTXT->selectAll();
    QTest::keyClicks(w->DateMaskTXT, QStringLiteral("200402"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        QTest::keyClick(w->DateMaskTXT, Qt::Key_Return);
        EXPECT_EQ(r.texts(), QStringList{"2004/02/__並非(yyyy/mm/dd)日期格式\""});
    }
    w->DateMaskTXT->selectAll();
    QTest::keyClicks(w->DateMaskTXT, QStringLiteral("20040229"));
    QTest::keyClick(w->DateMaskTXT, Qt::Key_Return);
    EXPECT_EQ(w->Text(12), QStringLiteral("2004/02/29"));
    EXPECT_TRUE(w->Check1->isChecked());
    // The next box is a date box too: the mask moves on to it.
    EXPECT_TRUE(w->DateMaskTXT->hasFocus());
    QTest::keyClick(w->DateMaskTXT, Qt::Key_Return);
    EXPECT_EQ(w->Text(13), QString());
    w->Command2_Click(5);
    EXPECT_EQ(rows(QStringLiteral("Select RV17A12, chk0 From RV17A")), QStringList{"2004/02/29|1"});
}

// A stored text that is no date is said once when its box is entered, not bounced between the
// box and the mask; the box then takes the correction.
TEST_F(PersonnelWindow, StoredNonDateReportedOnce)
{
    department("001", "業務部");
    gConn.Execute(QStringLiteral("Insert Into RV17A (RV17A0, RV17A1, RV17A2, RV17A4) Values ('001', '001-001', '王', '八月')"));
    auto w = open();
    w->Command2_Click(2);
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        line(*w, 7)->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(r.texts(), QStringList{"八月 並非(yyyy/mm/dd)日期格式"});
    }
    EXPECT_TRUE(line(*w, 7)->hasFocus());
    EXPECT_FALSE(w->DateMaskTXT->isVisible());
    line(*w, 7)->setText(QStringLiteral("1990/8/1"));
    line(*w, 8)->setFocus();
    EXPECT_EQ(w->Text(7), QStringLiteral("1990/08/01"));
}

// The identity check the setting chooses, when the box is left.
TEST_F(PersonnelWindow, IdentityNumberCheckedWhenLeft)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    auto w = open();
    w->Command2_Click(2);
    line(*w, 8)->setFocus();
    line(*w, 8)->setText(QStringLiteral("a123456788"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        line(*w, 9)->setFocus();
        EXPECT_EQ(r.texts(), QStringList{"輸入錯誤，請再檢查。"});
    }
    EXPECT_TRUE(line(*w, 8)->hasFocus());
    EXPECT_EQ(w->Text(8), QStringLiteral("A123456788"));
    WriteSetting(QStringLiteral("iDCardNO"), QStringLiteral("3"), QStringLiteral("Tessarine"), 0);
    line(*w, 9)->setFocus();
    EXPECT_TRUE(line(*w, 9)->hasFocus());
}

// A number another employee holds is refused at save too; delete asks and removes one row.
TEST_F(PersonnelWindow, DuplicateNumberAtSaveAndDelete)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    employee("001", "001-002", "李");
    auto w = open();
    ASSERT_EQ(w->Text(1), QStringLiteral("001-002"));  // 李 first
    w->Command2_Click(2);
    w->SetBoxText({BoxArray::Text1, 1}, QStringLiteral("001-001"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Command2_Click(5);
        EXPECT_EQ(r.texts(), QStringList{"編號重複001-001"});
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("change"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2_Click(6);
    }
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2_Click(4);
        EXPECT_EQ(r.last().text, QStringLiteral("確定刪除此筆嗎?"));
        EXPECT_EQ(r.last().title, QStringLiteral("刪除資料"));
    }
    EXPECT_EQ(count(QStringLiteral("RV17A")), 1);
    EXPECT_EQ(listed(*w).size(), 1);
}

// A value its column cannot take (a word in a date column) refuses the save; nothing is written.
TEST_F(PersonnelWindow, UnwritableValueRefusesTheSave)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    auto w = open();
    w->Command2_Click(2);
    w->SetBoxText({BoxArray::Text1, 2}, QStringLiteral("王大"));
    w->SetBoxText({BoxArray::Text2, 6}, QStringLiteral("上個月"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Command2_Click(5);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.last().text.contains(QStringLiteral("上個月")));
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("change"));
    EXPECT_EQ(rows(QStringLiteral("Select rv17a2 From RV17A")), QStringList{"王"});
}
