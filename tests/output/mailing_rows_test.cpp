// Who gets mail and what each of their rows says: the batch e-mail candidates a filter picks,
// the rows of the bulk registered-mail form, and the customers a code range puts on labels.
// Every test reads whole rows, each value in its own column, so a filter that reads the wrong
// column or a column fed from the wrong box shows.
#include "output/BulkMail.h"
#include "output/CustomLabelPrtFrm1.h"
#include "output/frm客戶批次發信1.h"
#include "output/ListPicker.h"
#include "output/frmListPickerTemplate1.h"

#include "core/Globals.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <map>

using testsupport::ScriptedResponder;

namespace {

class MailingRows : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        // Category, grade and short name share values, each picking other customers; the
        // company addresses sort in a third order, the factory addresses in a fourth.
        customer("000001", "甲", "甲實業股份有限公司", "A", "B", "3 Road", "100", "王董");
        customer("000002", "乙", "乙實業股份有限公司", "B", "A", "1 Road", "200", "林董");
        customer("000003", "丙", "丙實業股份有限公司", "A", "A", "4 Road", "300", "");
        customer("000004", "A", "A Trading", "C", "", "2 Road", "400", "Amy");
        customer("000005", "丁", "丁實業股份有限公司", "A", "A", "5 Road", "500", "");  // no contacts
        contact("000001", "王", "wang@x.tw");
        contact("000002", "林", "lin@x.tw");
        contact("000003", "陳", "");
        contact("000004", "Amy", "amy@x.tw");
    }

    static void customer(const char* code, const char* shortName, const char* fullName, const char* category,
                         const char* grade, const char* address, const char* postcode, const char* boss)
    {
        gConn.Execute(QStringLiteral("Insert Into RV12 (RV120,RV121,客戶全銜,類別,級別,RV128,RV129,RV125,RV126) "
                                     "Values (?,?,?,?,?,?,?,?,?)"),
                      {QString::fromUtf8(code), QString::fromUtf8(shortName), QString::fromUtf8(fullName),
                       QString::fromUtf8(category), QString::fromUtf8(grade), QString::fromUtf8(address),
                       QStringLiteral("工廠 %1").arg(600 - QByteArray(postcode).toInt()), QString::fromUtf8(postcode),
                       QString::fromUtf8(boss)});
    }
    static void contact(const char* code, const char* name, const char* mail)
    {
        gConn.Execute(QStringLiteral("Insert Into RV12A (RV12A0,RV12A1,RV12A6) Values (?,?,?)"),
                      {QString::fromUtf8(code), QString::fromUtf8(name), QString::fromUtf8(mail)});
    }
    static void vendor(const char* number, const char* shortName, const char* fullName)
    {
        const QString n = QString::fromUtf8(shortName);
        gConn.Execute(QStringLiteral("Insert Into RV11 (RV110,RV111,RV112,RV113,RV114,RV115,RV1111,RV1112) "
                                     "Values ('A',?,?,?,?,?,?,?)"),
                      {QString::fromUtf8(number), n, QString::fromUtf8(fullName), QStringLiteral("聯絡") + n,
                       QStringLiteral("負責") + n, QStringLiteral("公司址") + n, QStringLiteral("工廠址") + n});
    }

    // Every row of a record set, its columns joined with "|".
    static QStringList Rows(db::Recordset rs)
    {
        QStringList out;
        db::Recordset copy = rs.Clone();
        for (long i = 0; i < copy.RecordCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < copy.FieldCount(); ++c)
                cells << copy.valueAt(i, c).toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }

    // The rows the bulk registered-mail form prints, as its columns read left to right:
    // 項次|掛號號碼|姓名|地址|回執|航空|印刷|重量|郵資.
    static QStringList PrintedBulkMail(const BulkMailPanel& panel)
    {
        const char* const boxes[] = {"Text1", "Text4", "Text2", "Text3", "Text5", "Text6", "Text7", "Text8", "Text9"};
        std::map<int, std::map<QString, QString>> byRow;
        for (const report::Page& page : panel.report()->layout().pages)
            for (const report::Item* item : page.itemsOf(QStringLiteral("Section1")))
                if (item->kind == report::Item::Kind::Text)
                    byRow[item->row][item->control] = item->text;
        QStringList out;
        for (const auto& [row, cells] : byRow) {
            QStringList line;
            for (const char* box : boxes)
                line << (cells.count(QString::fromUtf8(box)) ? cells.at(QString::fromUtf8(box)) : QString());
            out << line.join(QLatin1Char('|'));
        }
        return out;
    }

    static void Choose(QComboBox* box, const QString& text)
    {
        box->setEditText(text);
        emit box->activated(box->currentIndex());
    }
    static QStringList Items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
};

}  // namespace

// Each filter field offers its own column's values and picks exactly the customers whose
// column equals the (trimmed) value; every candidate row carries each value in its column.
TEST_F(MailingRows, BatchMailFilterPicksExactlyTheCustomersItNames)
{
    const QString 甲 = QStringLiteral("甲|王|wang@x.tw|A|B"), 乙 = QStringLiteral("乙|林|lin@x.tw|B|A");
    const QString 丙 = QStringLiteral("丙|陳||A|A"), A = QStringLiteral("A|Amy|amy@x.tw|C|");
    const struct {
        int selector;  // 0 客戶分類, 1 客戶級別, 2 客戶簡稱
        const char* value;
        QStringList candidates;
    } cases[] = {
        {0, "A", {甲, 丙}},
        {0, "C", {A}},
        {0, "a", {甲, 丙}},  // letter case is not told apart, as the database compares
        {1, "A", {乙, 丙}},
        {1, " B ", {甲}},
        {2, "A", {A}},
        {2, "乙", {乙}},
        {2, "乙公", {}},  // exact, not a prefix
        {1, "", {甲, 乙, 丙, A}},
        {1, "   ", {甲, 乙, 丙, A}},
    };
    const QStringList values[] = {{"A", "B", "C"}, {"A", "B"}, {"A", "丁", "丙", "乙", "甲"}};
    frm客戶批次發信1 w;
    for (const auto& c : cases) {
        w.Combo1[0]->setCurrentIndex(c.selector);
        EXPECT_EQ(Items(w.Combo1[1]), values[c.selector]) << c.selector;
        Choose(w.Combo1[1], QString::fromUtf8(c.value));
        EXPECT_EQ(Rows(w.candidates()), c.candidates) << c.selector << " " << c.value;
    }
    EXPECT_TRUE(Rows(w.recipients()).isEmpty());  // a filter never touches the recipients
}

// The sort list orders the candidates by code, short name or company address.
TEST_F(MailingRows, BatchMailCandidatesFollowTheChosenSort)
{
    const struct {
        int entry;
        QStringList customers;
    } cases[] = {
        {0, {"甲", "乙", "丙", "A"}},  // 000001 … 000004
        {1, {"A", "丙", "乙", "甲"}},
        {2, {"乙", "A", "甲", "丙"}},  // 1 Road … 4 Road
    };
    frm客戶批次發信1 w;
    for (const auto& c : cases) {
        w.Combo2->setCurrentIndex(c.entry);
        Choose(w.Combo2, w.Combo2->currentText());
        QStringList customers;
        for (const QString& row : Rows(w.candidates()))
            customers << row.section(QLatin1Char('|'), 0, 0);
        EXPECT_EQ(customers, c.customers) << c.entry;
    }
}

// The bulk registered-mail form of picked customers and of picked vendors: one row per name
// found, numbered on from the start number; the three marks follow their own boxes, weight
// and postage are copied as typed; name and address come from the full name and the company
// address whatever the label settings say.
TEST_F(MailingRows, BulkMailRowsCarryEachBoxInItsOwnColumn)
{
    gConn.Execute(QStringLiteral("Insert Into RV1 (RV10,RV11) Values ('A','五金')"));
    vendor("A-001", "甲廠", "甲工業股份有限公司");
    vendor("A-002", "乙廠", "乙工業股份有限公司");
    const struct {
        bool receipt, air, printed;
        const char* weight;
        const char* postage;
        const char* marks;  // 回執|航空|印刷 as printed
    } cases[] = {
        {false, false, false, "20g", "25", "||"},
        {true, false, false, "20g", "25", "ˇ||"},
        {false, true, false, " 1.5 kg", "NT$25 ", "|ˇ|"},
        {false, false, true, "", "", "||ˇ"},
        {true, true, true, "50", "5", "ˇ|ˇ|ˇ"},
    };

    ScriptedResponder user;
    CustomLabelPrtFrm1 customers;
    customers.TabStrip1->setCurrentIndex(1);
    customers.picker->lstSelected->addItems({"乙", "已刪除", " A "});
    customers.Check1[0]->setChecked(true);  // label settings play no part in the form
    customers.Check1[1]->setChecked(true);
    frmListPickerTemplate1 vendors;
    vendors.picker->lstSelected->addItems({"乙廠", "已刪除", "甲廠"});
    vendors.Option1[3]->setChecked(true);  // the labels' recipient choice plays no part either

    for (const auto& c : cases) {
        const QString tail = QString::fromUtf8(c.marks) + QLatin1Char('|') + QString::fromUtf8(c.weight)
                             + QLatin1Char('|') + QString::fromUtf8(c.postage);
        const auto fill = [&](BulkMailPanel& panel, const char* start) {
            panel.Check2[0]->setChecked(c.receipt);
            panel.Check2[1]->setChecked(c.air);
            panel.Check2[2]->setChecked(c.printed);
            panel.Text3[0]->setText(QString::fromUtf8(c.weight));
            panel.Text3[1]->setText(QString::fromUtf8(c.postage));
            panel.Text3[2]->setText(QString::fromUtf8(start));
        };
        fill(*customers.bulkMail, "500");
        user.answer(ui::Answer::OK);
        customers.Command1_Click(3);
        EXPECT_EQ(user.last().text, "無此資料已刪除");
        EXPECT_EQ(PrintedBulkMail(*customers.bulkMail),
                  QStringList({"1|500|乙實業股份有限公司|1 Road|" + tail, "2|501|A Trading|2 Road|" + tail}))
            << c.marks << c.weight;

        fill(*vendors.bulkMail, "0099");
        user.answer(ui::Answer::OK);
        vendors.Command1_Click(3);
        EXPECT_EQ(user.last().text, "無此資料已刪除");
        EXPECT_EQ(PrintedBulkMail(*vendors.bulkMail),
                  QStringList({"1|99|乙工業股份有限公司|公司址乙廠|" + tail, "2|100|甲工業股份有限公司|公司址甲廠|" + tail}))
            << c.marks << c.weight;
    }
}

// Codes are compared as text: an empty start code takes every customer up to the end code, an
// empty end code takes nobody.  Each label carries its own customer's name, address, recipient
// and postcode.
TEST_F(MailingRows, CustomerLabelRangeTakesExactlyTheCodesBetweenItsEnds)
{
    const struct {
        const char* start;
        const char* end;
        QStringList rows;  // left name|right name
    } cases[] = {
        {"000002", "000004", {"乙實業股份有限公司|丙實業股份有限公司", "A Trading|"}},
        {"", "000002", {"甲實業股份有限公司|乙實業股份有限公司"}},
        {"000004", "", {}},
        {"", "", {}},
        {"000003", "000003", {"丙實業股份有限公司|"}},
        {"000004", "000002", {}},
        {"000004", "0000045", {"A Trading|"}},  // text order: 0000045 follows 000004
        {"0000045", "9", {"丁實業股份有限公司|"}},
    };
    ScriptedResponder user;
    CustomLabelPrtFrm1 w;
    for (const auto& c : cases) {
        w.DataCombo1[0]->setEditText(QString::fromUtf8(c.start));
        w.DataCombo1[1]->setEditText(QString::fromUtf8(c.end));
        w.Command1_Click(0);
        QStringList names;
        db::Recordset sheet = w.lastSheet().Clone();
        for (long i = 0; i < sheet.RecordCount(); ++i)
            names << sheet.valueAt(i, sheet.FieldIndex(QStringLiteral("公司名稱1"))).toString() + QLatin1Char('|')
                         + sheet.valueAt(i, sheet.FieldIndex(QStringLiteral("公司名稱2"))).toString();
        EXPECT_EQ(names, c.rows) << c.start << ".." << c.end;
    }

    // Row for row, every part of both labels in its own column.
    w.Combo1->setCurrentIndex(1);
    w.DataCombo1[0]->setEditText(QStringLiteral("000001"));
    w.DataCombo1[1]->setEditText(QStringLiteral("000003"));
    w.Command1_Click(0);
    QStringList labels;
    db::Recordset sheet = w.lastSheet().Clone();
    for (long i = 0; i < sheet.RecordCount(); ++i) {
        QStringList cells;
        for (const char* f : {"公司名稱1", "公司地址1", "收件人1", "郵遞區號1", "公司名稱2", "公司地址2", "收件人2", "郵遞區號2"})
            cells << sheet.valueAt(i, sheet.FieldIndex(QString::fromUtf8(f))).toString();
        labels << cells.join(QLatin1Char('|'));
    }
    EXPECT_EQ(labels, QStringList({"甲實業股份有限公司|3 Road|採購部 收|100|乙實業股份有限公司|1 Road|採購部 收|200",
                                   "丙實業股份有限公司|4 Road|採購部 收|300||||"}));
}

// The customers to pick from follow the sort and the category at once; the picked list stays.
TEST_F(MailingRows, CustomerPickListFollowsTheSortAndTheCategory)
{
    CustomLabelPrtFrm1 w;
    w.picker->lstSelected->addItem(QStringLiteral("乙"));
    const auto listed = [&w] {
        QStringList out;
        for (int i = 0; i < w.picker->lstAll->count(); ++i)
            out << w.picker->lstAll->item(i)->text();
        return out;
    };
    const struct {
        int sort;  // 0 客戶代號, 1 客戶簡稱, 2 公司地址
        const char* category;
        QStringList names;
    } cases[] = {
        {0, "", {"甲", "乙", "丙", "A", "丁"}},
        {1, "", {"A", "丁", "丙", "乙", "甲"}},
        {2, "", {"乙", "A", "甲", "丙", "丁"}},  // 1 Road … 5 Road
        {2, "A", {"甲", "丙", "丁"}},
        {0, "B", {"乙"}},
        {1, "A", {"丁", "丙", "甲"}},
    };
    for (const auto& c : cases) {
        w.Combo3->setEditText(QString::fromUtf8(c.category));
        w.Combo2->setCurrentIndex(c.sort);
        emit w.Combo2->activated(c.sort);
        EXPECT_EQ(listed(), c.names) << c.sort << " " << c.category;
    }
    ASSERT_EQ(w.picker->lstSelected->count(), 1);
    EXPECT_EQ(w.picker->lstSelected->item(0)->text(), QStringLiteral("乙"));
}

// Vendor labels, row for row: the picked vendors found by short name, two to a row, the company
// line with the code when asked, the chosen address and the chosen person; no postcode.
TEST_F(MailingRows, VendorLabelsCarryTheChosenAddressAndPerson)
{
    gConn.Execute(QStringLiteral("Insert Into RV1 (RV10,RV11) Values ('A','五金')"));
    vendor("A-001", "甲廠", "甲工業");
    vendor("A-002", "乙廠", "乙工業");
    vendor("A-003", "丙廠", "丙工業");
    const struct {
        int address;  // -1 none chosen, 0 公司地址, 1 工廠地址
        int person;   // 2 負責人, 3 聯絡人
        bool code;
        QStringList rows;  // name|address|recipient|postcode, left then right
    } cases[] = {
        {-1, 2, false, {"乙工業|工廠址乙廠|負責乙廠||甲工業|工廠址甲廠|負責甲廠|", "丙工業|工廠址丙廠|負責丙廠|||||"}},
        {0, 3, true, {"乙工業(A-002)|公司址乙廠|聯絡乙廠||甲工業(A-001)|公司址甲廠|聯絡甲廠|",
                      "丙工業(A-003)|公司址丙廠|聯絡丙廠|||||"}},
        {1, 2, false, {"乙工業|工廠址乙廠|負責乙廠||甲工業|工廠址甲廠|負責甲廠|", "丙工業|工廠址丙廠|負責丙廠|||||"}},
    };
    ScriptedResponder user;
    frmListPickerTemplate1 w;
    w.picker->lstSelected->addItems({" 乙廠", "已刪除", "甲廠", "丙廠"});
    for (const auto& c : cases) {
        if (c.address >= 0)
            w.Option1[size_t(c.address)]->setChecked(true);
        w.Option1[size_t(c.person)]->setChecked(true);
        w.Check1[0]->setChecked(c.code);
        user.answer(ui::Answer::OK);
        w.Command1_Click(0);
        EXPECT_EQ(user.last().text, "無此資料 已刪除");
        QStringList labels;
        db::Recordset sheet = w.lastSheet().Clone();
        for (long i = 0; i < sheet.RecordCount(); ++i) {
            QStringList cells;
            for (const char* f : {"公司名稱1", "公司地址1", "收件人1", "郵遞區號1", "公司名稱2", "公司地址2", "收件人2", "郵遞區號2"})
                cells << sheet.valueAt(i, sheet.FieldIndex(QString::fromUtf8(f))).toString();
            labels << cells.join(QLatin1Char('|'));
        }
        EXPECT_EQ(labels, c.rows) << c.address << " " << c.person;
    }
}
