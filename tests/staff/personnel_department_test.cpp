// The employee window's department and number boxes: the number a new employee gets with and
// without automatic numbers, and the department code as the picker writes and the save stores it.
#include "staff/PersonnelFrm.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "support/CustomerDb.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"
#include "support/ShowActive.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using testsupport::ScriptedResponder;

namespace {

class EmployeeDepartment : public testsupport::CustomerDb {
protected:
    static void department(const QString& code, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into RV17 (RV170, RV171) Values (?, ?)"), {code, name});
    }
    static void employee(const QString& dept, const QString& number, const QString& name)
    {
        gConn.Execute(QStringLiteral("Insert Into RV17A (RV17A0, RV17A1, RV17A2) Values (?, ?, ?)"),
                      {dept, number, name});
    }
    std::unique_ptr<PersonnelFrm> open() { return testsupport::ShowActive<PersonnelFrm>(); }
    // The department picker over the code box: text typed, then Enter.
    static void pick(PersonnelFrm& w, const QString& text)
    {
        static_cast<QLineEdit*>(w.Text1[0])->setFocus();
        QComboBox* picker = w.DataCombo1[2];
        ASSERT_TRUE(picker->hasFocus());
        picker->setEditText(text);
        QTest::keyClick(picker, Qt::Key_Return);
    }
    // 放棄 with whatever question it asks answered Yes.
    static void abandon(PersonnelFrm& w)
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes).allowUnused();
        w.Command2_Click(6);
        ASSERT_TRUE(w.EditMode.isEmpty());
    }

    testsupport::RecordingSink sink;
};

}  // namespace

// WorkmanAutoNO 1 leaves the serial to the user: the number box holds the department code and a
// hyphen, on 新增 and when the picker changes the department; anything else numbers on from the
// department's greatest serial.
TEST_F(EmployeeDepartment, NumberBoxFollowsTheAutomaticNumberSetting)
{
    department("003", "業務部");
    department("004", "會計部");
    employee("003", "003-001", "王");
    employee("003", "003-002", "李");
    employee("003", "003-010", "陳");
    const struct {
        const char* setting;  // nullptr: none written
        const char* onAdd;
        const char* onPick;
    } cases[] = {
        {nullptr, "003-011", "004-001"},
        {"1", "003-", "004-"},
        {"0", "003-011", "004-001"},
        {"2", "003-011", "004-001"},
        {"1.0", "003-", "004-"},
        {"11", "003-011", "004-001"},
    };
    auto w = open();
    for (const auto& c : cases) {
        if (c.setting)
            WriteSetting(QStringLiteral("WorkmanAutoNO"), QString::fromUtf8(c.setting), QStringLiteral("Tessarine"), 0);
        const char* setting = c.setting ? c.setting : "(none)";
        w->Command2_Click(1);
        ASSERT_EQ(w->EditMode, QStringLiteral("addnew")) << setting;
        EXPECT_EQ(w->Text(0), QStringLiteral("003")) << setting;
        EXPECT_EQ(w->Text(1), QString::fromUtf8(c.onAdd)) << setting;
        pick(*w, QStringLiteral("會計部"));
        EXPECT_EQ(w->Text(0), QStringLiteral("004")) << setting;
        EXPECT_EQ(w->Text(1), QString::fromUtf8(c.onPick)) << setting;
        abandon(*w);
    }
    // The user completes the prefilled number; it is stored as typed.
    WriteSetting(QStringLiteral("WorkmanAutoNO"), QStringLiteral("1"), QStringLiteral("Tessarine"), 0);
    w->Command2_Click(1);
    ASSERT_EQ(w->Text(1), QStringLiteral("003-"));
    auto* number = static_cast<QLineEdit*>(w->Text1[1]);
    number->setFocus();
    number->end(false);
    QTest::keyClicks(number, QStringLiteral("020"));
    static_cast<QLineEdit*>(w->Text1[2])->setFocus();
    w->SetBoxText({BoxArray::Text1, 2}, QStringLiteral("林"));
    w->Command2_Click(5);
    abandon(*w);
    EXPECT_EQ(rows(QStringLiteral("Select RV17A0, RV17A1, RV17A2 From RV17A Where RV17A2 = '林'")),
              QStringList{"003|003-020|林"});
}

// The picker writes the department code in upper case even when the table holds it in lower
// case, found by code or by name; the number and the stored row follow the upper-case code.
TEST_F(EmployeeDepartment, PickedDepartmentCodeIsUpperCased)
{
    department("003", "業務部");
    department("ab1", "研發部");
    employee("ab1", "ab1-004", "王");
    auto w = open();
    const struct {
        const char* typed;
    } cases[] = {{"研發部"}, {"ab1"}, {"AB1"}};
    for (const auto& c : cases) {
        w->Command2_Click(1);
        ASSERT_EQ(w->EditMode, QStringLiteral("addnew"));
        pick(*w, QString::fromUtf8(c.typed));
        EXPECT_EQ(w->Text(0), QStringLiteral("AB1")) << c.typed;
        EXPECT_EQ(w->PartnameLab->text(), QStringLiteral("研發部")) << c.typed;
        EXPECT_EQ(w->Text(1), QStringLiteral("AB1-005")) << c.typed;
        abandon(*w);
    }
    w->Command2_Click(1);
    pick(*w, QStringLiteral("研發部"));
    w->SetBoxText({BoxArray::Text1, 2}, QStringLiteral("林"));
    w->Command2_Click(5);
    abandon(*w);
    EXPECT_EQ(rows(QStringLiteral("Select RV17A0, RV17A1 From RV17A Where RV17A2 = '林'")), QStringList{"AB1|AB1-005"});
}
