// Address labels: the label sheet and its pairing, the print offsets, the customer and vendor
// label windows, and the bulk registered-mail list.
#include "output/AdjustLabelFrm.h"
#include "output/BulkMail.h"
#include "output/CustomLabelPrtFrm1.h"
#include "output/自訂標籤列印FRM.h"
#include "output/LabelSheet.h"
#include "output/ListPicker.h"
#include "output/frmListPickerTemplate1.h"
#include "platform/report/ReportWindow.h"

#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "support/StatementSteps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTabBar>

using testsupport::ScriptedResponder;

namespace {

class Labels : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        for (int i = 1; i <= 5; ++i)
            gConn.Execute(QStringLiteral("Insert Into RV12 (RV120,RV121,客戶全銜,RV125,RV126,RV128,類別) Values (?,?,?,?,?,?,?)"),
                          {QStringLiteral("00000%1").arg(i), QStringLiteral("客戶%1").arg(i),
                           QStringLiteral("第%1股份有限公司").arg(i), QStringLiteral("10%1").arg(i),
                           i == 2 ? QVariant() : QVariant(QStringLiteral("負責人%1").arg(i)),
                           QStringLiteral("台北市中正區重慶南路一段%1號").arg(i), i <= 3 ? "甲" : "乙"});
    }

    // Each record of a sheet as "left|right" company lines.
    static QStringList Rows(db::Recordset sheet)
    {
        QStringList out;
        db::Recordset rs = sheet.Clone();
        for (long i = 0; i < rs.RecordCount(); ++i)
            out << rs.valueAt(i, rs.FieldIndex(QStringLiteral("公司名稱1"))).toString() + QLatin1Char('|')
                       + rs.valueAt(i, rs.FieldIndex(QStringLiteral("公司名稱2"))).toString();
        return out;
    }
    static QString Field(db::Recordset sheet, long row, const char* field)
    {
        db::Recordset rs = sheet.Clone();
        return rs.valueAt(row, rs.FieldIndex(QString::fromUtf8(field))).toString();
    }
    static void Pick(ListPicker* picker, const QStringList& names)
    {
        picker->lstSelected->addItems(names);
    }
};

}  // namespace

TEST_F(Labels, OffsetsReadWithTheZeroMeansDefaultRuleAndStayOnThePage)
{
    struct Case { const char* stored; int applied; };
    const Case cases[] = {{"", 180}, {"0", 180}, {"abc", 180}, {"250abc", 250}, {"180.5", 180}, {"181.5", 182}};
    for (const Case& c : cases) {
        WriteSetting(QStringLiteral("adjustlabelUP"), QString::fromUtf8(c.stored), settings::kMain, 0);
        EXPECT_EQ(ReadLabelOffsets().up, c.applied) << c.stored;
    }
    WriteSetting(QStringLiteral("adjustlabelUP"), QString(), settings::kMain, 0);
    auto r = New客戶標籤列印Rpt();
    EXPECT_EQ(r->section(QStringLiteral("PageHeader")).height, 180);
    EXPECT_EQ(r->leftMargin(), 100);
    EXPECT_EQ(r->section(QStringLiteral("PageFooter")).height, 400);
    EXPECT_EQ(r->section(QStringLiteral("客戶標籤")).height, 1600);

    // Values that would print off the paper are held to what it can take.
    ApplyLabelOffsets(*r, {-500, 99999, -1, 99999});
    EXPECT_EQ(r->section(QStringLiteral("PageHeader")).height, 0);
    EXPECT_EQ(r->leftMargin() + r->reportWidth() + r->rightMargin(), report::kA4Width);
    EXPECT_EQ(r->section(QStringLiteral("PageFooter")).height, 0);
    EXPECT_LT(r->section(QStringLiteral("客戶標籤")).height, report::kA4Height);
}

// Where pdftotext -bbox finds a word on the first page of a PDF: its left edge in twips.
static int WordLeftTwips(const QString& pdf, const QString& word)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), pdf,
                                          QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed";
        return -1;
    }
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpression re(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == word)
            return int(std::lround(m.captured(1).toDouble() * 20));
    }
    ADD_FAILURE() << word.toStdString() << " not on the page";
    return -1;
}

// The left offset moves both labels of a row exactly as typed, up to where the layout meets the
// paper's right edge (the right margin giving way); the offsets window refuses more, naming the
// most it can take, rather than the labels printing elsewhere.
TEST_F(Labels, LeftOffsetMovesTheLabelsAsTypedAsFarAsThePaperAllows)
{
    LabelPairer pairer(NewLabelSheet());
    pairer.Add({QStringLiteral("大同股份有限公司"), QStringLiteral("台北市中山北路三段22號"), QStringLiteral("會計部"), "104"});
    pairer.Add({QStringLiteral("華新麗華股份有限公司"), QStringLiteral("台北市松山區南京東路二段1號"), QString(), "105"});
    const db::Recordset sheet = pairer.Finish();
    for (const int left : {100, 500, 611}) {
        SCOPED_TRACE(left);
        WriteSetting(QStringLiteral("adjustlabelLeft"), QString::number(left), settings::kMain, 0);
        auto r = New客戶標籤列印Rpt();
        EXPECT_EQ(r->leftMargin(), left);
        EXPECT_LE(r->leftMargin() + r->reportWidth() + r->rightMargin(), report::kA4Width);
        r->setDataSource(sheet);
        const QString pdf = folder.file(QStringLiteral("labels.pdf"));
        ASSERT_TRUE(r->ExportReport(pdf));
        EXPECT_NEAR(WordLeftTwips(pdf, QStringLiteral("大同股份有限公司")), left + 105, 3);
        EXPECT_NEAR(WordLeftTwips(pdf, QStringLiteral("華新麗華股份有限公司")), left + 5865, 3);
    }
    EXPECT_EQ(LabelOffsetLimits().left.most, report::kA4Width - 11295);

    WriteSetting(QStringLiteral("adjustlabelLeft"), QString(), settings::kMain, 0);
    AdjustLabelFrm w;
    w.Text2[1]->setText(QStringLiteral("667"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w.Command1_Click(0);
        EXPECT_EQ(r.texts(), QStringList{"與左邊的距離最多只能 611 (1.07 cm)，再大標籤就印不到紙上。\r\n設定並未儲存。"});
    }
    EXPECT_EQ(ReadSetting(QStringLiteral("adjustlabelLeft"), settings::kMain, 0), "");
    w.Text2[1]->setText(QStringLiteral("-5"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w.Command1_Click(2);
        EXPECT_EQ(r.texts(), QStringList{"與左邊的距離最少要 0 (0 cm)。\r\n設定並未儲存。"});
    }
    w.Text2[1]->setText(QStringLiteral("611"));
    w.Command1_Click(0);
    EXPECT_EQ(ReadSetting(QStringLiteral("adjustlabelLeft"), settings::kMain, 0), "611");
}

// Offsets past what a 16-bit number holds, typed or stored in the settings file by hand: the
// user is told in Chinese which offset and the most it can take, before anything prints.
TEST_F(Labels, OffsetsNoLabelCanTakeAreSaidWithTheMostTheyCanTake)
{
    const LabelOffsetRanges limits = LabelOffsetLimits();
    const auto most = [](OffsetRange r) {
        return QStringLiteral("最多只能 %1 (%2 cm)，再大標籤就印不到紙上。").arg(r.most).arg(CentimetreText(QString::number(r.most)));
    };
    struct Case {
        int box;
        const char* key;
        const char* value;
        const char* caption;
        OffsetRange range;
    };
    const Case cases[] = {
        {2, "ModelSpaceBetween", "32768", "模間距", limits.spaceBetween},
        {0, "adjustlabelUP", "99999", "與上面的距離", limits.up},
        {1, "adjustlabelLeft", "5000", "與左邊的距離", limits.left},
        {3, "PageFooter", "2147483648", "與下面留白", limits.pageFooter},
    };
    LabelPairer pairer(NewLabelSheet());
    pairer.Add({QStringLiteral("大同股份有限公司"), QStringLiteral("台北市中山北路三段22號"), QString(), "104"});
    const db::Recordset sheet = pairer.Finish();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        // Typed into the offsets window and applied.
        {
            AdjustLabelFrm w;
            w.Text2[c.box]->setText(QString::fromUtf8(c.value));
            ScriptedResponder user;
            user.answer(ui::Answer::OK);
            w.Command1_Click(2);
            EXPECT_EQ(user.texts(), QStringList{QString::fromUtf8(c.caption) + most(c.range) + "\r\n設定並未儲存。"});
            EXPECT_EQ(ReadSetting(QString::fromUtf8(c.key), settings::kMain, 0), "");
        }
        // Stored by other means: said before the labels are shown, and nothing is shown.
        if (report::Report* open = ShowLabels(LabelLayout::Customer, sheet))
            delete open->window();  // the next labels make a report of their own
        WriteSetting(QString::fromUtf8(c.key), QString::fromUtf8(c.value), settings::kMain, 0);
        ScriptedResponder user;
        user.answer(ui::Answer::OK);
        EXPECT_EQ(ShowLabels(LabelLayout::Customer, sheet), nullptr);
        EXPECT_EQ(user.texts(), QStringList{QStringLiteral("郵寄標籤列印微調的「%1」設定為 %2，").arg(QString::fromUtf8(c.caption),
                                                                                               QString::fromUtf8(c.value))
                                            + most(c.range) + "\r\n標籤沒有列印，請在「微調」中改正後再印。"});
        // The same from a label window's print button.
        CustomLabelPrtFrm1 labels;
        labels.DataCombo1[0]->setEditText(QStringLiteral("000001"));
        labels.DataCombo1[1]->setEditText(QStringLiteral("000002"));
        user.answer(ui::Answer::OK);
        labels.Command1_Click(0);
        EXPECT_EQ(user.texts().size(), 2);
        EXPECT_EQ(user.texts().value(1), user.texts().value(0));
        WriteSetting(QString::fromUtf8(c.key), QString(), settings::kMain, 0);
    }
}

TEST_F(Labels, OffsetWindowShowsCentimetresAndSavesOnlyWhenAsked)
{
    AdjustLabelFrm w;
    const QStringList twips = {"180", "100", "1600", "400"};
    const QStringList cm = {"0.31", "0.17", "2.82", "0.7"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.Text2[i]->text(), twips[i]);
        EXPECT_EQ(w.cmlabel[i]->text(), cm[i]);
    }
    w.Text2[1]->setText(QStringLiteral("-100"));
    EXPECT_EQ(w.cmlabel[1]->text(), "-0.18");
    w.Command1_Click(1);  // leave without saving
    EXPECT_EQ(ReadSetting(QStringLiteral("adjustlabelLeft"), settings::kMain, 0), "");

    AdjustLabelFrm again;
    again.Text2[2]->setText(QStringLiteral("1700"));
    again.Command1_Click(0);
    EXPECT_EQ(ReadSetting(QStringLiteral("ModelSpaceBetween"), settings::kMain, 0), "1700");
    EXPECT_EQ(ReadLabelOffsets().spaceBetween, 1700);
}

TEST_F(Labels, CustomerLabelsByRangePickAndSingleCustomer)
{
    ScriptedResponder user;
    CustomLabelPrtFrm1 w;
    w.DataCombo1[0]->setEditText(QStringLiteral("000001"));
    w.DataCombo1[1]->setEditText(QStringLiteral("000005"));
    w.Command1_Click(0);
    // Five customers make three rows, the last with its left label only.
    EXPECT_EQ(Rows(w.lastSheet()), QStringList({"第1股份有限公司|第2股份有限公司", "第3股份有限公司|第4股份有限公司",
                                                "第5股份有限公司|"}));
    EXPECT_EQ(Field(w.lastSheet(), 0, "收件人1"), "會計部 收");
    EXPECT_EQ(Field(w.lastSheet(), 0, "郵遞區號2"), "102");
    EXPECT_EQ(Field(w.lastSheet(), 1, "公司地址1"), "台北市中正區重慶南路一段3號");

    // Picked: a name no longer there is reported and takes no side.
    w.TabStrip1->setCurrentIndex(1);
    EXPECT_TRUE(w.Command1[3]->isEnabled());
    Pick(w.picker, {"客戶2", "已刪除", "客戶4"});
    w.Check1[0]->setChecked(true);
    w.Check1[1]->setChecked(true);
    EXPECT_FALSE(w.Combo1->isEnabled());
    user.answer(ui::Answer::OK);
    w.Command1_Click(0);
    EXPECT_EQ(user.last().text, "無此資料已刪除");
    EXPECT_EQ(Rows(w.lastSheet()), QStringList({"第2股份有限公司(000002)|第4股份有限公司(000004)"}));
    EXPECT_EQ(Field(w.lastSheet(), 0, "收件人1"), "()");  // no responsible person
    EXPECT_EQ(Field(w.lastSheet(), 0, "收件人2"), "(負責人4)");

    // One customer on many rows: halves go to the even neighbour.
    w.TabStrip1->setCurrentIndex(2);
    EXPECT_FALSE(w.Command1[3]->isEnabled());
    w.Combo4->setEditText(QStringLiteral("客戶3"));
    struct Case { const char* count; int rows; };
    for (const Case& c : {Case{"2.5", 2}, Case{"3.5", 4}, Case{"0.4", 0}, Case{"-2", 0}}) {
        w.Text2->setText(QString::fromUtf8(c.count));
        w.Command1_Click(0);
        EXPECT_EQ(w.lastSheet().RecordCount(), c.rows) << c.count;
    }
    EXPECT_EQ(Rows(w.lastSheet()).value(0), QString());
    w.Text2->setText(QStringLiteral("abc"));
    user.answer(ui::Answer::OK);
    w.Command1_Click(0);
    EXPECT_EQ(user.last().text, "列印數量為零");
    w.Text2->setText(QStringLiteral("1"));
    w.Combo4->setEditText(QStringLiteral("無此人"));
    user.answer(ui::Answer::OK);
    w.Command1_Click(0);
    EXPECT_EQ(user.last().text, "無此客戶");
}

TEST_F(Labels, PickListFollowsCategoryAndSort)
{
    CustomLabelPrtFrm1 w;
    EXPECT_EQ(w.picker->lstAll->count(), 5);
    w.Combo3->setEditText(QStringLiteral("乙"));
    EXPECT_EQ(w.picker->lstAll->count(), 2);
    w.Combo3->setEditText(QStringLiteral("O'Neil"));  // a quote is only a character of the category
    EXPECT_EQ(w.picker->lstAll->count(), 0);
}

TEST_F(Labels, BulkMailNumbersRowsFromTheStartNumberAndSkipsMissingNames)
{
    ScriptedResponder user;
    CustomLabelPrtFrm1 w;
    w.TabStrip1->setCurrentIndex(1);
    Pick(w.picker, {"客戶1", "已刪除", "客戶3"});
    BulkMailPanel& panel = *w.bulkMail;
    user.answer(ui::Answer::OK);
    w.Command1_Click(3);
    EXPECT_EQ(user.last().text, "起始掛號號碼未設定");

    panel.Text3[0]->setText(QStringLiteral("20g"));
    panel.Check2[1]->setChecked(true);
    struct Case { const char* start; const char* first; const char* second; };
    for (const Case& c : {Case{"500", "500", "501"}, Case{"00123", "123", "124"}, Case{"12A", "12", "13"},
                          Case{"A12", "0", "1"}, Case{"12.5", "12.5", "13.5"}}) {
        panel.Text3[2]->setText(QString::fromUtf8(c.start));
        user.answer(ui::Answer::OK);
        w.Command1_Click(3);
        EXPECT_EQ(user.last().text, "無此資料已刪除");
        ASSERT_EQ(panel.sheet().RecordCount(), 2);
        EXPECT_EQ(Field(panel.sheet(), 0, "掛號號碼"), c.first);
        EXPECT_EQ(Field(panel.sheet(), 1, "掛號號碼"), c.second);
    }
    EXPECT_EQ(Field(panel.sheet(), 1, "項次"), "2");
    EXPECT_EQ(Field(panel.sheet(), 1, "姓名"), "第3股份有限公司");
    EXPECT_EQ(Field(panel.sheet(), 1, "航空"), "ˇ");
    EXPECT_EQ(Field(panel.sheet(), 1, "回執"), "");
    EXPECT_EQ(Field(panel.sheet(), 1, "重量"), "20g");
}

TEST_F(Labels, BulkMailOfPicksReadsEachPickedCustomerByIndexInThePickedOrder)
{
    gConn.BeginTrans();
    for (int i = 1; i <= 3000; ++i)
        gConn.Execute(QStringLiteral("Insert Into RV12 (RV120,RV121,客戶全銜,RV128) Values (?,?,?,?)"),
                      {QStringLiteral("1%1").arg(i, 5, 10, QChar('0')), QStringLiteral("Firm%1").arg(i),
                       QStringLiteral("全銜%1").arg(i), QStringLiteral("地址%1").arg(i)});
    gConn.CommitTrans();
    ScriptedResponder user;
    CustomLabelPrtFrm1 w;
    w.TabStrip1->setCurrentIndex(1);
    const QStringList picked = {"Firm2999", "客戶2", "FIRM7", "Firm1500", "Firm7", "Firm1"};
    Pick(w.picker, picked);
    w.bulkMail->Text3[2]->setText(QStringLiteral("1"));
    testsupport::StatementSteps steps(gConn);
    w.Command1_Click(3);
    const db::Recordset sheet = w.bulkMail->sheet();
    QStringList rows;
    for (long i = 0; i < sheet.RecordCount(); ++i)
        rows << Field(sheet, i, "項次") + '|' + Field(sheet, i, "掛號號碼") + '|' + Field(sheet, i, "姓名") + '|' +
                    Field(sheet, i, "地址");
    EXPECT_EQ(rows, QStringList({"1|1|全銜2999|地址2999", "2|2|第2股份有限公司|台北市中正區重慶南路一段2號",
                                 "3|3|全銜7|地址7", "4|4|全銜1500|地址1500", "5|5|全銜7|地址7", "6|6|全銜1|地址1"}));
    // Six picks among 3,005 customers: six index lookups, not six scans of the table.
    EXPECT_LT(steps.steps(), 3000);
}

// A short name stored on two rows: the labels and the registered-mail list take the row stored
// first, even when the later one sorts before it by code.
TEST_F(Labels, ANameOnTwoRowsTakesTheFirstStoredRow)
{
    gConn.Execute(QStringLiteral("Insert Into RV12 (RV120,RV121,客戶全銜,RV125,RV128) Values (?,?,?,?,?)"),
                  {QStringLiteral("000000"), QStringLiteral("客戶4"), QStringLiteral("後存的公司"), QStringLiteral("999"),
                   QStringLiteral("後存的地址")});
    ScriptedResponder user;
    CustomLabelPrtFrm1 w;
    w.TabStrip1->setCurrentIndex(1);
    Pick(w.picker, {"客戶4", "客戶1"});
    w.Command1_Click(0);
    EXPECT_EQ(Field(w.lastSheet(), 0, "公司地址1"), "台北市中正區重慶南路一段4號");
    EXPECT_EQ(Field(w.lastSheet(), 0, "郵遞區號1"), "104");
    EXPECT_EQ(Field(w.lastSheet(), 0, "公司地址2"), "台北市中正區重慶南路一段1號");
    w.bulkMail->Text3[2]->setText(QStringLiteral("1"));
    w.Command1_Click(3);
    EXPECT_EQ(Field(w.bulkMail->sheet(), 0, "姓名"), "第4股份有限公司");
    EXPECT_EQ(Field(w.bulkMail->sheet(), 0, "地址"), "台北市中正區重慶南路一段4號");
}

TEST_F(Labels, BulkMailFormPaginatesWithNotesOnEveryPageAndTheRocDate)
{
    auto r = NewDrp大宗掛號單();
    SetBulkMailDate(*r, QDate(2008, 9, 3));
    db::Recordset sheet = NewBulkMailSheet();
    for (int i = 1; i <= 25; ++i) {
        sheet.AddNew();
        sheet.setValue(QStringLiteral("項次"), i);
        sheet.setValue(QStringLiteral("姓名"), QStringLiteral("收件人%1").arg(i));
        sheet.Update();
    }
    r->setDataSource(sheet);
    const report::Document doc = r->layout();
    ASSERT_GE(doc.pages.size(), 2u);
    int rows = 0;
    for (const report::Page& page : doc.pages) {
        EXPECT_NE(page.find(QStringLiteral("Label3")), nullptr);   // the notes
        EXPECT_NE(page.find(QStringLiteral("Label7")), nullptr);   // the clerk's receipt
        EXPECT_NE(page.find(QStringLiteral("Label22")), nullptr);  // the column headings
        rows += page.detailCount();
    }
    EXPECT_EQ(rows, 25);
    EXPECT_EQ(doc.pages[0].find(QStringLiteral("Label36"))->text, "97");
    EXPECT_EQ(doc.pages[0].find(QStringLiteral("Label38"))->text, "9");
    EXPECT_EQ(doc.pages[0].find(QStringLiteral("Label39"))->text, "3");
}

TEST_F(Labels, VendorLabelsFromAllOrOneCategory)
{
    gConn.Execute(QStringLiteral("Insert Into RV1 (RV10,RV11) Values ('A','五金')"));
    const auto vendor = [](const char* cat, const char* no, const char* name, const char* full) {
        gConn.Execute(QStringLiteral("Insert Into RV11 (RV110,RV111,RV112,RV113,RV114,RV115,RV1111,RV1112) Values (?,?,?,?,?,?,?,?)"),
                      {QString::fromUtf8(cat), QString::fromUtf8(no), QString::fromUtf8(name), QString::fromUtf8(full),
                       QStringLiteral("聯絡") + QString::fromUtf8(name), QStringLiteral("負責") + QString::fromUtf8(name),
                       QStringLiteral("公司址"), QStringLiteral("工廠址")});
    };
    vendor("A", "A-001", "甲廠", "甲工業");
    vendor("B", "B-001", "乙廠", "乙工業");
    vendor("A", "A-002", "丙廠", "丙工業");
    vendor("B", "B-002", " ", "無簡稱");

    ScriptedResponder user;
    frmListPickerTemplate1 w;
    EXPECT_EQ(w.picker->lstAll->count(), 3);  // the blank short name is not listed
    EXPECT_FALSE(w.Command1[0]->isEnabled());
    w.Check1[1]->setChecked(false);
    w.DataCombo1->setCurrentIndex(0);
    w.Check1_Click(1);
    EXPECT_EQ(w.picker->lstAll->count(), 2);
    EXPECT_EQ(w.Check1[1]->text(), "廠商類別");

    w.picker->cmdRightAll_Click();
    EXPECT_TRUE(w.Command1[0]->isEnabled());
    Pick(w.picker, {"已刪除"});
    w.Check1[0]->setChecked(true);
    user.answer(ui::Answer::OK);
    w.Command1_Click(0);
    EXPECT_EQ(user.last().text, "無此資料 已刪除");
    EXPECT_EQ(Rows(w.lastSheet()), QStringList({"丙工業(A-002)|甲工業(A-001)"}));
    EXPECT_EQ(Field(w.lastSheet(), 0, "公司地址1"), "工廠址");  // no address option chosen yet
    EXPECT_EQ(Field(w.lastSheet(), 0, "收件人1"), "負責丙廠");   // 負責人 is RV115
    EXPECT_TRUE(w.lastSheet().Clone().valueAt(0, w.lastSheet().FieldIndex(QStringLiteral("郵遞區號1"))).isNull());

    w.Option1[0]->setChecked(true);
    w.Option1[3]->setChecked(true);
    user.answer(ui::Answer::OK);
    w.Command1_Click(0);
    EXPECT_EQ(Field(w.lastSheet(), 0, "公司地址1"), "公司址");
    EXPECT_EQ(Field(w.lastSheet(), 0, "收件人1"), "聯絡丙廠");  // 聯絡人 is RV114
}

TEST_F(Labels, ImportedFirmsPrintToTheChairmanOrTheGeneralManager)
{
    struct Case { const char* f2; const char* f3; const char* recipient; };
    for (const Case& c : {Case{"王董", "李總", "王董 董事長"}, Case{"", "李總", "李總 總經理"}, Case{nullptr, nullptr, " 總經理"}}) {
        const QVariant f2 = c.f2 ? QVariant(QString::fromUtf8(c.f2)) : QVariant();
        const QVariant f3 = c.f3 ? QVariant(QString::fromUtf8(c.f3)) : QVariant();
        EXPECT_EQ(ImportedFirmLabel(QStringLiteral("甲"), f2, f3, QStringLiteral("址")).recipient, c.recipient);
    }

    ScriptedResponder user;
    const QString saved = gDataPathCopy;
    gDataPathCopy = folder.path();
    自訂標籤列印FRM w;
    user.answer(ui::Answer::OK);
    w.Command1_Click(0);  // nothing imported yet
    EXPECT_TRUE(user.last().text.contains(QStringLiteral("轉換服務業")));
    user.answer(ui::Answer::OK);
    w.Command2_Click(0);  // no workbook in the data folder
    EXPECT_TRUE(user.last().text.contains(QStringLiteral("服務業.xls")));

    QFile::copy(QStringLiteral(TESS_FIXTURES "/firms.xls"), folder.file(QStringLiteral("服務業.xls")));
    for (int round = 0; round < 2; ++round) {  // a second import replaces the rows
        user.answer(ui::Answer::OK);
        w.Command2_Click(0);
        EXPECT_EQ(user.last().text, "匯入成功.");
    }
    const long rows = count(QStringLiteral("服務業"));
    ASSERT_GT(rows, 0);
    w.Command1_Click(0);
    EXPECT_EQ(w.lastSheet().RecordCount(), (rows + 1) / 2);
    EXPECT_EQ(Field(w.lastSheet(), 0, "公司名稱1"), "台灣精密工業股份有限公司");
    EXPECT_EQ(Field(w.lastSheet(), 0, "公司地址1"), "台北市中正區重慶南路一段122號");
    gDataPathCopy = saved;
}
