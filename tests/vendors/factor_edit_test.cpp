// The vendor window while a vendor is edited: the tax-number check when its box is left, an
// add abandoned at once, and contact rows removed from the grid with 刪除一行.
#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/FlexGrid.h"
#include "records/DetailGrid.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"
#include "support/ShowActive.h"
#include "vendors/FactorFrm.h"
#include "vendors/VendorDb.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

class VendorEdit : public testsupport::VendorDb {
protected:
    std::unique_ptr<FactorFrm> open() { return testsupport::ShowActive<FactorFrm>(); }
    static void contact(const QString& number, const QString& name, const QString& phone)
    {
        gConn.Execute(QStringLiteral("Insert Into 廠商聯絡人 (廠商編號, 聯絡人, 電話) Values (?, ?, ?)"),
                      {number, name, phone});
    }
    static QStringList contactNames(FactorFrm& w)
    {
        QStringList out;
        for (int r = 1; r <= w.ManGrid->RowCount(); ++r)
            out << w.ManGrid->RowData().at(r, 1);
        return out;
    }
    // A click on a cell of the contacts grid, as the mouse gives it.
    static void clickCell(FactorFrm& w, int row, int col)
    {
        FlexGrid* g = w.ManGrid->Grid();
        g->setRow(row);
        g->setCol(col);
        emit g->cellClicked(row, col);
        QApplication::processEvents();
    }
    static QStringList storedContacts()
    {
        return rows(QStringLiteral("Select 廠商編號, 聯絡人, 電話 From 廠商聯絡人 Order By 總序"));
    }

    testsupport::RecordingSink sink;
};

}  // namespace

// Leaving the tax-number box with a number the check refuses shows the check's reason and keeps
// the user in the box with the text as typed; a blank box or a good number goes on silently.
TEST_F(VendorEdit, TaxNumberCheckedWhenItsBoxIsLeft)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    auto w = open();
    w->Command2[2]->click();
    ASSERT_EQ(w->EditMode, QStringLiteral("change"));
    const struct {
        const char* typed;
        const char* message;  // "" = accepted
    } cases[] = {
        {"1234567", "營利事業統一編號必須是八碼。"},
        {"", ""},
        {"   ", ""},
        {"1234567a", "輸入之編號中有非數字。"},
        {"12345678", "輸入錯誤，請再檢查。"},
        {"04595257", ""},
        {"123456789", "營利事業統一編號必須是八碼。"},
    };
    auto* box = static_cast<QLineEdit*>(w->Text1[7]);
    auto* next = static_cast<QLineEdit*>(w->Text1[8]);
    for (const auto& c : cases) {
        const QString message = QString::fromUtf8(c.message);
        box->setFocus();
        box->setText(QString::fromUtf8(c.typed));
        ScriptedResponder r;
        if (!message.isEmpty())
            r.answer(ui::Answer::OK);
        next->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(r.texts(), message.isEmpty() ? QStringList{} : QStringList{message}) << c.typed;
        EXPECT_EQ(box->hasFocus(), !message.isEmpty()) << c.typed;
        EXPECT_EQ(w->BoxText(7), QString::fromUtf8(c.typed)) << c.typed;
    }
    // Browsing checks nothing, not even a stored number the check would refuse.
    box->setText(QString());
    next->setFocus();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2[6]->click();
    }
    ASSERT_TRUE(w->EditMode.isEmpty());
    gConn.Execute(QStringLiteral("Update RV11 Set RV117 = '1234567'"));
    w->Command3[0]->click();  // 重整
    ASSERT_EQ(w->BoxText(7), QStringLiteral("1234567"));
    box->setFocus();
    next->setFocus();
    EXPECT_TRUE(next->hasFocus());
}

// 新增 then 放棄 at once asks nothing and drops the new row: the window shows the vendor it
// showed before, and the next save changes that vendor and adds none.  Once something is typed,
// 放棄 asks first; No keeps the add as it was.
TEST_F(VendorEdit, AddAbandonedAtOnceAsksNothingAndLeavesNoRow)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    auto w = open();
    ASSERT_EQ(w->BoxText(1), QStringLiteral("001-001"));
    {
        ScriptedResponder r;  // no answers: any question fails the test
        w->Command2[1]->click();
        ASSERT_EQ(w->EditMode, QStringLiteral("addnew"));
        EXPECT_EQ(w->BoxText(1), QStringLiteral("001-002"));
        w->Command2[6]->click();
        EXPECT_TRUE(r.texts().isEmpty());
    }
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_TRUE(w->Command2[1]->isVisible());
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001-001"));
    EXPECT_EQ(w->BoxText(2), QStringLiteral("甲"));
    EXPECT_EQ(w->FactoryGridRs().RecordCount(), 1);
    EXPECT_EQ(count(QStringLiteral("RV11")), 1);

    w->Command2[2]->click();
    w->SetBoxText(3, QStringLiteral("甲股份有限公司"));
    w->Command2[5]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("Select RV111, RV112, RV113 From RV11")), QStringList{"001-001|甲|甲股份有限公司"});

    // Typed into, the add is confirmed before it is dropped.
    w->Command2[1]->click();
    w->SetBoxText(2, QStringLiteral("乙"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::No);
        w->Command2[6]->click();
        EXPECT_EQ(r.texts(), QStringList{"放棄編輯? "});
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->BoxText(2), QStringLiteral("乙"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2[6]->click();
    }
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001-001"));
    EXPECT_EQ(count(QStringLiteral("RV11")), 1);
}

// 刪除一行 on the vendor window: offered on a counted row only; the save deletes that one row by
// its key (a namesake and the other vendor's contacts stay), and after it nothing is left to
// delete.  A removal abandoned with 放棄 is never carried out.
TEST_F(VendorEdit, ContactRowRemovedWithDeleteRowIsDeletedByItsKeyOnce)
{
    addCategory("001", "印刷");
    addVendor("001", "001-001", "甲");
    addVendor("001", "001-002", "乙");
    contact("001-001", "王", "1");
    contact("001-001", "林", "2");
    contact("001-002", "林", "3");
    contact("001-001", "林", "4");
    auto w = open();
    ASSERT_EQ(contactNames(*w), (QStringList{"王", "林", "林"}));
    w->Command2[2]->click();
    ASSERT_TRUE(w->Command2[10]->isVisible());

    clickCell(*w, 4, 1);  // the spare row: nothing to delete there
    EXPECT_FALSE(w->Command2[10]->isEnabled());
    clickCell(*w, 2, 3);
    EXPECT_TRUE(w->Command2[10]->isEnabled());
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2[10]->click();
        EXPECT_EQ(r.texts(), QStringList{"確定刪除 2 林 這一行?"});
        EXPECT_EQ(r.last().title, QStringLiteral("刪除資料"));
    }
    EXPECT_EQ(contactNames(*w), (QStringList{"王", "林"}));
    EXPECT_EQ(count(QStringLiteral("廠商聯絡人")), 4);  // nothing goes before the save
    w->Command2[5]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(storedContacts(), (QStringList{"001-001|王|1", "001-002|林|3", "001-001|林|4"}));
    EXPECT_EQ(w->ManGrid->DeletedKeys().Count(), 0);
    EXPECT_EQ(contactNames(*w), (QStringList{"王", "林"}));

    // A removal abandoned with 放棄 is forgotten: the next save keeps the row.
    w->Command2[2]->click();
    clickCell(*w, 2, 3);
    {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes).answer(ui::Answer::Yes);
        w->Command2[10]->click();
        EXPECT_EQ(contactNames(*w), QStringList{"王"});
        w->Command2[6]->click();
    }
    EXPECT_EQ(contactNames(*w), (QStringList{"王", "林"}));
    w->Command2[2]->click();
    w->SetBoxText(3, QStringLiteral("甲公司"));
    w->Command2[5]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(storedContacts(), (QStringList{"001-001|王|1", "001-002|林|3", "001-001|林|4"}));
}
