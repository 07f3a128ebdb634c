// The employee window driven as a user would: departments, adding and saving employees, the
// list filters, the date mask, the identity check and delete.
#include "staff/PersonnelFrm.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "platform/text/VbText.h"
#include "codetables/CodeTableFrm.h"
#include "support/Clipping.h"
#include "support/CustomerDb.h"
#include "support/LayerFaults.h"
#include "support/ListedColumn.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"
#include "support/ShowActive.h"
#include "support/UserKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>

using testsupport::ClickDropDownEntry;
using testsupport::PressKey;
using testsupport::ScriptedResponder;
using testsupport::TypeKeys;

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
    std::unique_ptr<PersonnelFrm> open() { return testsupport::ShowActive<PersonnelFrm>(); }
    static QLineEdit* line(PersonnelFrm& w, int i) { return static_cast<QLineEdit*>(w.Text1[size_t(i)]); }
    static QStringList listed(PersonnelFrm& w)
    {
        return testsupport::ListedColumn(w.EmployeeGridClone, QStringLiteral("RV17A1"));
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

// Moving through the list shows each employee's photo; one that cannot be read (not a picture,
// or gone) shows no picture at all, never the one of the employee shown before.
TEST_F(PersonnelWindow, APhotoThatCannotBeReadLeavesNoPictureShown)
{
    department("001", "業務部");
    QImage red(24, 32, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString good = folder.file(QStringLiteral("good.png"));
    ASSERT_TRUE(red.save(good));
    const QString broken = folder.write(QStringLiteral("broken.png"), "not a picture");
    const QString paths[] = {good, broken, good, folder.file(QStringLiteral("gone.png"))};
    for (int i = 0; i < 4; ++i) {
        const QString number = QStringLiteral("001-00%1").arg(i + 1);
        employee("001", number, QStringLiteral("員工%1").arg(i + 1));
        gConn.Execute(QStringLiteral("Update RV17A Set RV17A17=? Where RV17A1=?"), {paths[i], number});
    }
    auto w = open();
    ASSERT_EQ(listed(*w).size(), 4);
    int column = 0;  // the first column the list shows
    while (w->DataGrid1->isColumnHidden(column))
        ++column;
    for (const int row : {0, 1, 2, 3, 0}) {
        SCOPED_TRACE(row);
        const QRect cell = w->DataGrid1->visualRect(w->DataGrid1->model()->index(row, column));
        QTest::mouseClick(w->DataGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(line(*w, 16)->text(), paths[row]);
        EXPECT_EQ(w->Picture3->pixmap().isNull(), paths[row] != good);
    }
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

// iDCardNO x identity number -> what leaving the box says; a refused number keeps the focus,
// upper-cased, and an accepted one lets it go on.  No setting means the Taiwan check.
TEST_F(PersonnelWindow, IdentityCheckChosenBySetting)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    auto w = open();
    w->Command2_Click(2);
    struct Case {
        const char* setting;  // nullptr: none written yet
        const char* id;
        const char* message;  // "" = accepted
    };
    const Case cases[] = {
        {nullptr, "a123456788", "輸入錯誤，請再檢查。"},
        {"0", "a123456789", ""},
        {"0", "A323456789", "第二碼只能是數字 1(男) 或 2(女)。"},
        {"0", "A12345678", "國民身份證號碼必須是十碼。"},
        {"0", "", ""},  // an empty box is never tested
        {"1", "a1234563", ""},
        {"1", "A123456789", "香港身份證號碼必須是八碼。"},
        {"2", "11010519491231002x", ""},
        {"2", "110105194912310021", "驗證錯誤。"},
        {"3", "a123", ""},
        {"9", "a123", ""},
    };
    for (const Case& c : cases) {
        if (c.setting)
            WriteSetting(QStringLiteral("iDCardNO"), QString::fromUtf8(c.setting), QStringLiteral("Tessarine"), 0);
        const QString id = QString::fromUtf8(c.id);
        const QString message = QString::fromUtf8(c.message);
        line(*w, 8)->setFocus();
        line(*w, 8)->setText(id);
        ScriptedResponder r;
        if (!message.isEmpty())
            r.answer(ui::Answer::OK);
        line(*w, 9)->setFocus();
        EXPECT_EQ(r.texts(), message.isEmpty() ? QStringList{} : QStringList{message}) << c.id;
        EXPECT_EQ(w->Text(8), id.toUpper()) << c.id;
        EXPECT_EQ(line(*w, 8)->hasFocus(), !message.isEmpty()) << c.id;
    }
}

// What a date box holds when it is entered while editing: a real date (however typed) comes up
// in the mask as yyyy/mm/dd; "2004/2/30" is no date and is said once, the box keeping it.
TEST_F(PersonnelWindow, StoredDatesEnteringTheMask)
{
    department("001", "業務部");
    struct Case {
        const char* stored;
        const char* mask;     // nullptr: reported, no mask
        const char* written;  // the box's text once the mask is left
    };
    const Case cases[] = {
        {"2004/02/29", "2004/02/29", "2004/02/29"},
        {"2004/2/5", "2004/02/05", "2004/02/05"},
        {"", "____/__/__", ""},
        {"2004/2/30", nullptr, "2004/2/30"},
    };
    for (const Case& c : cases) {
        gConn.Execute(QStringLiteral("Delete From RV17A"));
        gConn.Execute(QStringLiteral("Insert Into RV17A (RV17A0, RV17A1, RV17A2, RV17A4) Values ('001', '001-001', '王', ?)"),
                      {QString::fromUtf8(c.stored)});
        auto w = open();
        w->Command2_Click(2);
        {
            ScriptedResponder r;
            if (!c.mask)
                r.answer(ui::Answer::OK);
            line(*w, 7)->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(r.texts(), c.mask ? QStringList{}
                                        : QStringList{QString::fromUtf8(c.stored) + QStringLiteral(" 並非(yyyy/mm/dd)日期格式")})
                << c.stored;
        }
        EXPECT_EQ(w->DateMaskTXT->isVisible(), c.mask != nullptr) << c.stored;
        if (c.mask) {
            EXPECT_TRUE(w->DateMaskTXT->hasFocus());
            EXPECT_EQ(w->DateMaskTXT->displayText(), QString::fromUtf8(c.mask)) << c.stored;
            QTest::keyClick(w->DateMaskTXT, Qt::Key_Return);
            EXPECT_TRUE(line(*w, 8)->hasFocus()) << c.stored;
        } else {
            EXPECT_TRUE(line(*w, 7)->hasFocus());
        }
        EXPECT_EQ(w->Text(7), QString::fromUtf8(c.written)) << c.stored;
        w->close();
    }
}

// A user tabbing through the date boxes: the mask follows from box to box, a half-typed date is
// said once and keeps the mask over its own box, Shift+Tab comes back; no message loops.
TEST_F(PersonnelWindow, TabbingThroughTheDateBoxes)
{
    department("001", "業務部");
    gConn.Execute(QStringLiteral("Insert Into RV17A (RV17A0, RV17A1, RV17A2, RV17A12) Values ('001', '001-001', '王', '2020/3/1')"));
    auto w = open();
    w->Command2_Click(2);
    QLineEdit* mask = w->DateMaskTXT;
    auto tab = [](Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), m ? Qt::Key_Backtab : Qt::Key_Tab, m);
        QApplication::processEvents();
    };
    auto over = [&](int box) {
        return mask->isVisible() && mask->hasFocus() &&
               mask->geometry().topLeft() == line(*w, box)->mapTo(w.get(), QPoint(0, 0));
    };
    line(*w, 11)->setFocus();
    tab();
    ASSERT_TRUE(over(12));
    EXPECT_EQ(mask->displayText(), QStringLiteral("2020/03/01"));
    tab();
    ASSERT_TRUE(over(13));
    EXPECT_EQ(w->Text(12), QStringLiteral("2020/03/01"));
    EXPECT_EQ(mask->displayText(), QStringLiteral("____/__/__"));
    QTest::keyClicks(mask, QStringLiteral("202"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        tab();
        EXPECT_EQ(r.texts(), QStringList{"202_/__/__並非(yyyy/mm/dd)日期格式\""});
    }
    EXPECT_TRUE(over(13));
    mask->selectAll();
    QTest::keyClicks(mask, QStringLiteral("20241231"));
    tab();
    EXPECT_TRUE(over(14));
    EXPECT_EQ(w->Text(13), QStringLiteral("2024/12/31"));
    tab();
    EXPECT_TRUE(line(*w, 15)->hasFocus());
    EXPECT_FALSE(mask->isVisible());
    EXPECT_EQ(w->Text(14), QString());
    tab(Qt::ShiftModifier);
    EXPECT_TRUE(over(14));
}

// Alt+Down and F4 open every pick list of the record, each time, as in the other windows.
TEST_F(PersonnelWindow, PickListsOpenWithAltDownAndF4)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    auto w = open();
    w->Command2_Click(2);
    const BoxRef boxes[] = {{BoxArray::Text1, 3}, {BoxArray::Text1, 6}, {BoxArray::Text1, 0},
                            {BoxArray::Text2, 0}, {BoxArray::Text2, 1}};
    for (const BoxRef& b : boxes) {
        w->TabStrip1->setCurrentIndex(b.array == BoxArray::Text2 ? 2 : 0);
        w->Box(b)->setFocus();
        QComboBox* pick = b == BoxRef{BoxArray::Text1, 0} ? w->DataCombo1[2] : w->Combo1;
        ASSERT_TRUE(pick->isVisible()) << b.index;
        ASSERT_TRUE(pick->hasFocus()) << b.index;
        // The offscreen platform shows a combo box's very first drop-down a frame late.
        pick->showPopup();
        pick->hidePopup();
        for (int round = 0; round < 2; ++round) {
            for (QWidget* target : {static_cast<QWidget*>(pick), static_cast<QWidget*>(pick->lineEdit())}) {
                QTest::keyClick(target, Qt::Key_Down, Qt::AltModifier);
                EXPECT_TRUE(pick->view()->isVisible()) << b.index << " " << round;
                pick->hidePopup();
                QTest::keyClick(target, Qt::Key_F4);
                EXPECT_TRUE(pick->view()->isVisible()) << b.index << " " << round;
                pick->hidePopup();
            }
        }
    }
}

// The pick lists write into their box: the grade list offers the setting's grades and an empty
// grade box takes the first; gender stays empty until picked; Enter goes on to the next box.
TEST_F(PersonnelWindow, PickListsWriteIntoTheirBoxes)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    WriteSetting(QStringLiteral("CommanyManType"), QStringLiteral("經理"), QStringLiteral("Tessarine"), 0);
    auto w = open();
    w->Command2_Click(2);
    line(*w, 3)->setFocus();
    ASSERT_TRUE(w->Combo1->hasFocus());
    EXPECT_EQ(w->Combo1->count(), 1);
    EXPECT_EQ(w->Combo1->currentText(), QStringLiteral("經理"));
    QTest::keyClick(w->Combo1, Qt::Key_Return);
    EXPECT_EQ(w->Text(3), QStringLiteral("經理"));
    EXPECT_TRUE(line(*w, 4)->hasFocus());
    EXPECT_FALSE(w->Combo1->isVisible());

    line(*w, 6)->setFocus();
    ASSERT_TRUE(w->Combo1->hasFocus());
    EXPECT_EQ(w->Text(6), QString());
    EXPECT_EQ(w->Combo1->count(), 2);
    w->Combo1->setCurrentIndex(1);
    EXPECT_EQ(w->Text(6), QStringLiteral("女"));
    QTest::keyClick(w->Combo1, Qt::Key_Return);
    EXPECT_TRUE(w->DateMaskTXT->hasFocus());  // box 7, a date box
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2_Click(6);
    }
    EXPECT_EQ(w->Text(6), QString());
}

// The department picker over the record's department box: a name or code fills the code, the
// department label and (only when adding or when the department really changes) the number;
// a text that names no department changes nothing.
TEST_F(PersonnelWindow, DepartmentPickerInTheRecord)
{
    department("001", "業務部");
    department("002", "會計部");
    employee("001", "001-001", "王");
    auto w = open();
    w->Command2_Click(2);
    QComboBox* picker = w->DataCombo1[2];
    auto pick = [&](const QString& text) {
        line(*w, 0)->setFocus();
        EXPECT_TRUE(picker->hasFocus());
        picker->setEditText(text);
        QTest::keyClick(picker, Qt::Key_Return);
        EXPECT_TRUE(line(*w, 1)->hasFocus()) << text.toStdString();
        EXPECT_FALSE(picker->isVisible());
    };
    pick(QStringLiteral("業務部"));  // the same department: the number stays
    EXPECT_EQ(w->Text(0), QStringLiteral("001"));
    EXPECT_EQ(w->Text(1), QStringLiteral("001-001"));
    pick(QStringLiteral("沒有這個"));
    EXPECT_EQ(w->Text(0), QStringLiteral("001"));
    EXPECT_EQ(w->Text(1), QStringLiteral("001-001"));
    pick(QStringLiteral("會計部"));
    EXPECT_EQ(w->Text(0), QStringLiteral("002"));
    EXPECT_EQ(w->PartnameLab->text(), QStringLiteral("會計部"));
    EXPECT_EQ(w->Text(1), QStringLiteral("002-001"));
}

// The layout follows the window's size: the title picture only while the window is no wider than
// it, the list keeping its width and stretching down, the tabs taking the rest, the buttons on
// the bottom edge; a height too small for the list leaves the list as it was.
TEST_F(PersonnelWindow, LayoutFollowsTheWindowSize)
{
    auto w = open();
    const auto px = [](int twips) { return vb::TwipsToPixels(twips); };
    auto check = [&](int top) {
        EXPECT_EQ(w->Picture4->geometry(), QRect(0, top, px(2955), w->height() - top - px(495) - px(435) - px(200)));
        EXPECT_EQ(w->DataGrid1->geometry(),
                  QRect(px(20), px(1140), px(2955) - px(60), w->Picture4->height() - px(1140) - px(20)));
        EXPECT_EQ(w->TabStrip1->geometry(),
                  QRect(px(2955), top, w->width() - px(2955), w->Picture4->height()));
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(w->Picture2[size_t(i)]->geometry(),
                      QRect(px(2955) - px(20), top + px(300), w->TabStrip1->width() - px(40),
                            top + w->TabStrip1->height() - (top + px(300)) - px(40)))
                << i;
        for (int i : {1, 2, 4, 7})
            EXPECT_EQ(w->Command2[size_t(i)]->y(), w->height() - px(495) - px(435) - px(100)) << i;
    };
    w->resize(px(11070), px(7850));
    EXPECT_TRUE(w->Picture1->isVisible());
    check(px(1155));
    w->resize(px(12000), px(7850));
    EXPECT_FALSE(w->Picture1->isVisible());
    check(0);
    const QRect list = w->Picture4->geometry();
    w->resize(px(12000), px(1000));
    EXPECT_EQ(w->Picture4->geometry(), list);
    EXPECT_EQ(w->Command2[7]->x(), px(9600));
}

// At its design size inside the main window's area (frame included), in both languages, on each
// page, browsing and editing: every control whole.
TEST_F(PersonnelWindow, ShowsEachControlWholeInBothLanguages)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    for (const int offset : {0, 10000}) {
        gLangOffset = offset;
        QMdiArea area;
        area.resize(1200, 900);
        area.show();
        auto* w = new PersonnelFrm;
        QMdiSubWindow* sub = area.addSubWindow(w);
        sub->show();
        QApplication::processEvents();
        EXPECT_EQ(sub->size(), QSize(vb::TwipsToPixels(11070), vb::TwipsToPixels(7850)));
        EXPECT_TRUE(w->Picture1->isVisible());  // no wider than the title picture
        for (const bool editing : {false, true}) {
            if (editing)
                w->Command2_Click(2);
            for (int tab = 0; tab < 3; ++tab) {
                w->TabStrip1->setCurrentIndex(tab);
                if (const QString shots = qEnvironmentVariable("TESS_SHOTS"); !shots.isEmpty())
                    w->grab().save(QStringLiteral("%1/personnel-%2-%3-%4.png")
                                       .arg(shots, offset ? "cn" : "tw", editing ? "edit" : "browse")
                                       .arg(tab));
                const QStringList clipped = testsupport::ClippedControls(w);
                EXPECT_TRUE(clipped.isEmpty()) << tab << (offset ? " (Simplified)\n" : " (Traditional)\n")
                                               << clipped.join(QLatin1Char('\n')).toStdString();
            }
        }
        w->Command2_Click(6);
        sub->close();
    }
    gLangOffset = 0;
}

// However the department is chosen in the picker over the department box -- a code or a name
// typed and Enter or Tab, typed into the open drop-down, picked there with the mouse, or saved
// while the picker is open -- the stored department, the number and the label shown are one
// department's.
TEST_F(PersonnelWindow, DepartmentPickerTakesTheChosenDepartmentHoweverChosen)
{
    department("001", "業務部");
    department("002", "會計部");
    department("003", "總務部");
    employee("001", "001-001", "王");
    auto w = open();
    QComboBox* picker = w->DataCombo1[2];
    const struct {
        const char* way;
        std::function<void()> choose;
        const char* code;
        const char* name;
        const char* number;
        bool saveOpen;  // saved with the picker open
    } ways[] = {
        {"code, Enter", [] { TypeKeys("002"); PressKey(Qt::Key_Return); }, "002", "會計部", "002-001", false},
        {"code, Tab", [] { TypeKeys("003"); PressKey(Qt::Key_Tab); }, "003", "總務部", "003-001", false},
        {"name, Enter", [] { TypeKeys(QStringLiteral("會計部")); PressKey(Qt::Key_Return); }, "002", "會計部",
         "002-002", false},
        {"code into the drop-down, Enter",
         [] {
             PressKey(Qt::Key_F4);
             TypeKeys("002");
             PressKey(Qt::Key_Return);
         },
         "002", "會計部", "002-003", false},
        {"name begun into the drop-down, Enter",
         [] {
             PressKey(Qt::Key_Down, Qt::AltModifier);
             TypeKeys(QStringLiteral("總"));
             PressKey(Qt::Key_Return);
         },
         "003", "總務部", "003-002", false},
        {"clicked in the drop-down, then a click elsewhere",
         [&] {
             PressKey(Qt::Key_F4);
             ClickDropDownEntry(picker, 1);
             line(*w, 2)->setFocus(Qt::MouseFocusReason);
         },
         "002", "會計部", "002-004", false},
        {"code, saved", [] { TypeKeys("003"); }, "003", "總務部", "003-003", true},
    };
    int n = 0;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        const QString name = QStringLiteral("新%1").arg(++n);
        if (!w->EditMode.isEmpty())
            w->Command2_Click(6);  // the add that follows a save
        w->Command2_Click(1);      // department 001 proposed
        ASSERT_EQ(w->Text(0), QStringLiteral("001"));
        ASSERT_TRUE(picker->hasFocus());
        way.choose();
        w->SetBoxText({BoxArray::Text1, 2}, name);
        if (way.saveOpen) {
            // The save starts with the picker open and focused, as Alt+S starts it.
            EXPECT_TRUE(picker->hasFocus());
        } else {
            EXPECT_FALSE(picker->isVisible());
            EXPECT_FALSE(picker->hasFocus());
            EXPECT_EQ(w->Text(0), QString::fromUtf8(way.code));
            EXPECT_EQ(w->PartnameLab->text(), QString::fromUtf8(way.name));
            EXPECT_EQ(w->Text(1), QString::fromUtf8(way.number));
        }
        w->Command2_Click(5);
        EXPECT_EQ(rows(QStringLiteral("Select RV17A0, RV17A1 From RV17A Where RV17A2 = '") + name + "'"),
                  QStringList{QString::fromUtf8(way.code) + "|" + way.number});
    }
}

// After two saves and 放棄 of the add that follows them, 修改 and 刪除 are offered while the list
// shows employees, and taken away once it shows none.
TEST_F(PersonnelWindow, ChangeAndDeleteFollowTheListAfterSavesAndCancel)
{
    department("001", "業務部");
    auto w = open();
    EXPECT_FALSE(w->Command2[2]->isEnabled());
    EXPECT_FALSE(w->Command2[4]->isEnabled());
    w->Command2_Click(1);
    for (const char* name : {"甲", "乙"}) {
        w->SetBoxText({BoxArray::Text1, 2}, QString::fromUtf8(name));
        w->Command2_Click(5);
    }
    ASSERT_EQ(w->EditMode, QStringLiteral("addnew"));
    w->Command2_Click(6);
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("Select RV17A1, RV17A2 From RV17A Order By RV17A1")),
              (QStringList{"001-001|甲", "001-002|乙"}));
    EXPECT_EQ(listed(*w).size(), 2);
    EXPECT_TRUE(w->Command2[2]->isVisible());
    EXPECT_TRUE(w->Command2[2]->isEnabled());
    EXPECT_TRUE(w->Command2[4]->isEnabled());
    // The same after 放棄 of a change.
    w->Command2_Click(2);
    ASSERT_EQ(w->EditMode, QStringLiteral("change"));
    w->Command2_Click(6);
    EXPECT_TRUE(w->Command2[2]->isEnabled());
    EXPECT_TRUE(w->Command2[4]->isEnabled());
    for (int i = 0; i < 2; ++i) {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2_Click(4);
    }
    EXPECT_EQ(count(QStringLiteral("RV17A")), 0);
    EXPECT_FALSE(w->Command2[2]->isEnabled());
    EXPECT_FALSE(w->Command2[4]->isEnabled());
}

// Every fault of the database layer a save can meet on a shared data folder is told in Chinese,
// with its number and what to do, and ends with "資料並未存檔。".
TEST_F(PersonnelWindow, ASaveFailureOfTheDatabaseIsToldInChinese)
{
    department("001", "業務部");
    employee("001", "001-001", "王");
    for (const testsupport::SaveFault& fault : testsupport::SaveFaults()) {
        auto w = open();
        w->Command2_Click(2);
        w->SetBoxText({BoxArray::Text1, 2}, QStringLiteral("王大"));
        testsupport::FaultInPlace held(fault, path, "UPDATE RV17A SET RV17A2 = '林';");
        ScriptedResponder r;
        r.answer(ui::Answer::Ignore);
        w->Command2_Click(5);
        held.letGo();
        ASSERT_FALSE(r.messages.empty()) << fault.name;
        testsupport::ExpectChineseFailure(r.last(), fault, QStringLiteral("資料並未存檔。"));
        EXPECT_EQ(w->EditMode, QStringLiteral("change")) << fault.name;
    }
}
