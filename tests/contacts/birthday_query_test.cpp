#include "contacts/MemberBirthday.h"
#include "contacts/frm會員生日查詢.h"
#include "core/schema/SchemaCheck.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

class BirthdayQuery : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        CheckMemberTable();
        // number, name, year, month-day
        const struct {
            const char *no, *name;
            QVariant year, monthDay;
        } members[] = {
            {"2026010001", "二月底", "1980", "0228"}, {"2026010002", "三月初", "1975", "0301"},
            {"2026010003", "三月中", QVariant(), "0315"}, {"2026010004", "三月底", "1990", "0331"},
            {"2026010005", "四月初", "1990", "0401"}, {"2026010006", "沒生日", "1988", QVariant()},
            {"2026010007", "空生日", QVariant(), ""},   {"2026010008", "年底", "1970", "1225"},
            {"2026010009", "年初", "1971", "0105"},
        };
        for (const auto& m : members)
            gConn.Execute(QStringLiteral("Insert Into 會員管理 (會員編號, 中文姓名, 英文姓名, 生日_年, 月日, 性別, "
                                         "聯絡電話, 行動電話) Values (?, ?, ?, ?, ?, ?, ?, ?)"),
                          {m.no, m.name, "Eng", m.year, m.monthDay, "女", "(02)1234", "0912"});
    }

    // Sets the pickers (their year is ignored), presses 查詢(&F) and reads the grid.
    QStringList query(frm會員生日查詢& w, QDate from, QDate to)
    {
        w.DTPicker1[0]->setDate(from);
        w.DTPicker1[1]->setDate(to);
        w.Command1[0]->click();
        QStringList out;
        QAbstractItemModel* m = w.DataGrid1->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, 1).data().toString();
        out.sort();
        return out;
    }
};

}  // namespace

TEST(BirthdayRange, ConditionUsesMonthAndDayOnly)
{
    const BirthdayCondition c = BirthdayRange(QDate(2026, 3, 1), QDate(1999, 3, 31));
    EXPECT_EQ(c.params, (QVariantList{"0301", "0331"}));
    EXPECT_TRUE(c.sql.contains("月日 >= ?"));
}

// The window as a user meets it: empty grid with its seven captions, then three ranges.
// The month-and-day picker both birthday windows use: it shows month and day only, and steps
// from 02/28 to 02/29 (a year without that day would stop at 02/28).
TEST(BirthdayPicker, ShowsMonthAndDayAndReachesTheTwentyNinthOfFebruary)
{
    QWidget parent;
    QDateEdit* picker = NewBirthdayPicker("DTPicker1_0", 2, 28, &parent);
    EXPECT_EQ(picker->objectName(), "DTPicker1_0");
    EXPECT_EQ(picker->text(), "02/28");
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    picker->stepBy(1);
    EXPECT_EQ(picker->text(), "02/29");
}

TEST_F(BirthdayQuery, RangesAndMembersWithoutBirthday)
{
    frm會員生日查詢 w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "會員生日查詢");
    EXPECT_EQ(w.DTPicker1[0]->displayFormat(), "MM/dd");
    EXPECT_EQ(w.DTPicker1[0]->date().toString("MM/dd"), "06/26");
    QAbstractItemModel* m = w.DataGrid1->model();
    EXPECT_EQ(m->rowCount(), 0);
    QStringList captions;
    for (int c = 0; c < m->columnCount(); ++c)
        captions << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions, (QStringList{"會員編號", "中文姓名", "英文文姓名", "出生日期", "性別", "電話", "行動電話"}));

    // Both ends included; the pickers' years do not count.
    EXPECT_EQ(query(w, QDate(2026, 3, 1), QDate(2026, 3, 31)), (QStringList{"三月中", "三月初", "三月底"}));
    // A start after the end does not wrap past the year end: nobody.
    EXPECT_EQ(query(w, QDate(2026, 12, 20), QDate(2027, 1, 10)), QStringList());
    // The whole year: everyone with a month and day, never those without.
    const QStringList all = query(w, QDate(2026, 1, 1), QDate(2026, 12, 31));
    EXPECT_EQ(all.size(), 7);
    EXPECT_FALSE(all.contains("沒生日"));
    EXPECT_FALSE(all.contains("空生日"));
    // 02/29 can be picked.
    w.DTPicker1[0]->setDate(QDate(2000, 2, 29));
    EXPECT_EQ(w.DTPicker1[0]->date().toString("MMdd"), "0229");

    // The grid's birth date and telephone columns.
    query(w, QDate(2026, 3, 1), QDate(2026, 3, 15));
    QStringList shown;
    for (int r = 0; r < m->rowCount(); ++r)
        shown << m->index(r, 1).data().toString() + "|" + m->index(r, 3).data().toString() + "|"
                     + m->index(r, 5).data().toString();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{"三月中|03/15|(02)1234", "三月初|1975/03/01|(02)1234"}));
    EXPECT_EQ(w.DataGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);

    // Shrinking below the top band leaves the grid 0 high.
    w.resize(w.width(), 10);
    EXPECT_EQ(w.DataGrid1->height(), 0);
}

TEST_F(BirthdayQuery, CloseButtonClosesTheWindow)
{
    auto* w = new frm會員生日查詢;
    w->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frm會員生日查詢> alive = w;
    w->show();
    w->Command1[1]->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}
