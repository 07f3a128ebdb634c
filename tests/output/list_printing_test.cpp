#include "contacts/ContactListRpt.h"
#include "contacts/frm會員生日查詢.h"
#include "contacts/MemberListRpt.h"
#include "core/schema/SchemaCheck.h"
#include "customers/CustomerListRpt.h"
#include "output/CustomPrintMsgFrm.h"
#include "platform/report/ReportWindow.h"
#include "shell/MDIForm1.h"
#include "staff/StaffListRpt.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "vendors/FactoryListRpt.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using testsupport::ScriptedResponder;

namespace {

class ListPrinting : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        CheckFactoryTables();
        CheckMemberTable();
        ui::SetToday(QDate(2026, 12, 10));
    }
    void TearDown() override
    {
        客戶資料管理Rpt::Instance().closeWindow();
        廠商報表列印Rpt::Instance().closeWindow();
        員工資料Rpt::Instance().closeWindow();
        個人通訊Rpt::Instance().closeWindow();
        會員資料管理Rpt::Instance().closeWindow();
        ui::SetToday(QDate());
        CustomerDb::TearDown();
    }

    void exec(const QString& sql, const QVariantList& params = {}) { gConn.Execute(sql, params); }

    void fill()
    {
        for (const auto& [code, name, address] : {std::tuple{"000123", "丙公司", "台北市"},
                                                  std::tuple{"000121", "甲公司", "高雄市"},
                                                  std::tuple{"000122", "乙公司", "台中市"}})
            exec("Insert Into RV12 (RV120, RV121, RV128) Values (?, ?, ?)", {code, name, address});
        exec("Insert Into RV1 (RV10, RV11) Values ('A01', '電子')");
        exec("Insert Into RV1 (RV10, RV11) Values ('A02', '五金')");
        exec("Insert Into RV11 (RV110, RV111, RV112) Values ('A01', 'A01-002', '華新')");
        exec("Insert Into RV11 (RV110, RV111, RV112) Values ('A01', 'A01-001', '台達')");
        exec("Insert Into RV11 (RV110, RV111, RV112) Values ('A03', 'A03-001', '其他')");
        exec("Insert Into RV17 (RV170, RV171) Values ('01', '業務部')");
        exec("Insert Into RV17 (RV170, RV171) Values ('02', '研發部')");
        exec("Insert Into RV17 (RV170, RV171) Values ('03', '空部門')");
        for (const auto& [dept, no, name] : {std::tuple{"01", "01-001", "王五"}, std::tuple{"01", "01-002", "李四"},
                                             std::tuple{"02", "02-001", "張三"}})
            exec("Insert Into RV17A (RV17A0, RV17A1, RV17A2) Values (?, ?, ?)", {dept, no, name});
        exec("Insert Into RV18 (RV180, RV181) Values ('01', '朋友')");
        exec("Insert Into RV18 (RV180, RV181) Values ('02', '同學')");
        exec("Insert Into RV18A (RV18A1, RV18A2, 類別) Values ('002', '陳一', '朋友')");
        exec("Insert Into RV18A (RV18A1, RV18A2, 類別) Values ('001', '陳二', '朋友')");
        exec("Insert Into RV18A (RV18A1, RV18A2, 類別) Values ('003', '陳三', '家人')");
        for (const auto& [no, name, points, monthDay] :
             {std::tuple{"2026120002", "林二", 100, "1201"}, std::tuple{"2026120001", "林一", 500, "0131"},
              std::tuple{"2026120003", "林三", 501, "0615"}, std::tuple{"2026120004", "林四", 99, "1231"}})
            exec("Insert Into 會員管理 (會員編號, 中文姓名, 累積點數, 月日) Values (?, ?, ?, ?)",
                 {no, name, points, monthDay});
    }

    // The values one column of a report's preview shows, in print order.
    static QStringList printed(report::Report& rpt, const QString& control)
    {
        QStringList out;
        report::ReportWindow* w = rpt.window();
        if (!w) {
            ADD_FAILURE() << "no preview of " << rpt.title().toStdString();
            return out;
        }
        for (const report::Page& page : w->document().pages)
            for (const report::Item& it : page.items)
                if (it.row >= 0 && it.control == control)
                    out << it.text;
        return out;
    }

    static void choose(CustomPrintMsgFrm& w, int tab) { w.TabStrip1->setCurrentIndex(tab - 1); }
    static void confirm(CustomPrintMsgFrm& w) { w.Command2[0]->click(); }
};

}  // namespace

// A fresh database: the window opens without a message, and every tab previews its list with
// headers and no rows.
TEST_F(ListPrinting, FreshDatabaseEveryTabPreviewsAnEmptyList)
{
    CustomPrintMsgFrm w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "客戶資料列印");
    EXPECT_EQ(w.Command2[0]->text(), "確定(&Y)");
    EXPECT_EQ(w.Command2[1]->text(), "取消(&C)");
    EXPECT_EQ(w.Combo1->currentText(), "客戶代號");
    EXPECT_EQ(w.DataCombo3->currentText(), "");
    report::Report* reports[] = {&客戶資料管理Rpt::Instance(), &廠商報表列印Rpt::Instance(), &員工資料Rpt::Instance(),
                                 &個人通訊Rpt::Instance(), &會員資料管理Rpt::Instance()};
    for (int tab = 1; tab <= 5; ++tab) {
        SCOPED_TRACE(tab);
        choose(w, tab);
        EXPECT_EQ(w.SelectedTab(), tab);
        confirm(w);
        report::ReportWindow* preview = reports[tab - 1]->window();
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->document().pages.size(), 1u);
        EXPECT_EQ(preview->document().pages[0].detailCount(), 0);
    }
}

TEST_F(ListPrinting, CustomerRangeAndSort)
{
    fill();
    CustomPrintMsgFrm w;
    w.show();
    report::Report& rpt = 客戶資料管理Rpt::Instance();
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV120"), (QStringList{"000121", "000122", "000123"}));

    // A range with one box empty lists everyone, without a message.
    w.Option5[1]->setChecked(true);
    w.Text1[0]->setText("000122");
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV120").size(), 3);
    w.Text1[1]->setText("000123");
    w.Combo1->setCurrentIndex(1);  // 客戶簡稱
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV120"), (QStringList{"000123", "000122"}));
    // A quote typed in a code box is a value, not part of the statement.
    w.Text1[0]->setText("0' OR '1'='1");
    w.Text1[1]->setText("0");
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV120"), QStringList());
}

TEST_F(ListPrinting, VendorCategories)
{
    fill();
    CustomPrintMsgFrm w;
    w.show();
    choose(w, CustomPrintMsgFrm::Vendors);
    廠商報表列印Rpt& rpt = 廠商報表列印Rpt::Instance();
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV111"), (QStringList{"A01-001", "A01-002", "A03-001"}));

    EXPECT_EQ(w.DataCombo3->count(), 2);
    EXPECT_FALSE(w.DataCombo3->isEnabled());
    w.Option2[1]->setChecked(true);
    EXPECT_TRUE(w.DataCombo3->isEnabled());
    rpt.setOrientation(report::Orientation::Landscape);
    w.DataCombo3->setEditText("電子");
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV111"), (QStringList{"A01-001", "A01-002"}));
    EXPECT_EQ(rpt.orientation(), report::Orientation::Portrait);

    ScriptedResponder r;
    r.answer(ui::Answer::OK).answer(ui::Answer::OK);
    rpt.closeWindow();
    w.DataCombo3->setEditText("五金");
    confirm(w);
    w.DataCombo3->setEditText("不存在");
    confirm(w);
    EXPECT_EQ(r.texts(), (QStringList{"無資料 ", "無此廠商類別"}));
    EXPECT_EQ(rpt.window(), nullptr);
}

TEST_F(ListPrinting, EmployeeDepartmentFollowsTheSortChoice)
{
    fill();
    CustomPrintMsgFrm w;
    w.show();
    choose(w, CustomPrintMsgFrm::Employees);
    員工資料Rpt& rpt = 員工資料Rpt::Instance();
    w.Combo2->setCurrentIndex(2);  // 中文姓名
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV17A1"), (QStringList{"02-001", "01-002", "01-001"}));

    w.Option3[1]->setChecked(true);
    w.DataCombo4->setEditText("業務部");
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV17A1"), (QStringList{"01-002", "01-001"}));
    w.Combo2->setCurrentIndex(1);  // 員工編號
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV17A1"), (QStringList{"01-001", "01-002"}));

    ScriptedResponder r;
    r.answer(ui::Answer::OK).answer(ui::Answer::OK);
    w.DataCombo4->setEditText("空部門");
    confirm(w);
    w.DataCombo4->setEditText("沒有這個");
    confirm(w);
    EXPECT_EQ(r.texts(), (QStringList{"無資料 ", "無此部門"}));
}

TEST_F(ListPrinting, ContactCategoryByName)
{
    fill();
    CustomPrintMsgFrm w;
    w.show();
    choose(w, CustomPrintMsgFrm::Contacts);
    個人通訊Rpt& rpt = 個人通訊Rpt::Instance();
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV18A2"), (QStringList{"陳二", "陳一", "陳三"}));
    EXPECT_EQ(w.DataCombo2->currentText(), "同學");  // the first name in name order

    w.Option1[1]->setChecked(true);
    w.DataCombo2->setEditText("朋友");
    confirm(w);
    EXPECT_EQ(printed(rpt, "txtRV18A2"), (QStringList{"陳二", "陳一"}));

    ScriptedResponder r;
    r.answer(ui::Answer::OK).answer(ui::Answer::OK);
    w.DataCombo2->setEditText("同學");
    confirm(w);
    w.DataCombo2->setEditText("家人");  // used by a contact, but no such category
    confirm(w);
    EXPECT_EQ(r.texts(), (QStringList{"無資料 ", "無此通訊類別"}));
}

TEST_F(ListPrinting, MemberFilters)
{
    fill();
    CustomPrintMsgFrm w;
    w.show();
    choose(w, CustomPrintMsgFrm::Members);
    會員資料管理Rpt& rpt = 會員資料管理Rpt::Instance();
    confirm(w);
    EXPECT_EQ(printed(rpt, "Text1"), (QStringList{"林一", "林二", "林三", "林四"}));

    ScriptedResponder r;
    r.answer(ui::Answer::OK).answer(ui::Answer::OK);
    rpt.closeWindow();
    w.Option5[2]->setChecked(true);
    w.Text1[2]->setText("2026120001");
    confirm(w);
    w.Option5[4]->setChecked(true);
    w.Text1[5]->setText("500");
    confirm(w);
    EXPECT_EQ(r.texts(), (QStringList{"會員編號輸入不全", "點數區間輸入不完全"}));
    EXPECT_EQ(rpt.window(), nullptr);

    w.Text1[4]->setText("100");
    w.Combo3->setCurrentIndex(1);  // 會員姓名
    confirm(w);
    EXPECT_EQ(printed(rpt, "Text1"), (QStringList{"林一", "林二"}));

    w.Option5[2]->setChecked(true);
    w.Text1[3]->setText("2026120003");
    w.Combo3->setCurrentIndex(0);
    confirm(w);
    EXPECT_EQ(printed(rpt, "Text1"), (QStringList{"林一", "林二", "林三"}));

    // A birthday range across the year end lists nobody; within the year both ends count.
    w.Option5[5]->setChecked(true);
    w.DTPicker1[0]->setDate(QDate(2000, 12, 1));
    w.DTPicker1[1]->setDate(QDate(2000, 1, 31));
    confirm(w);
    EXPECT_EQ(printed(rpt, "Text1"), QStringList());
    w.DTPicker1[0]->setDate(QDate(2000, 1, 31));
    w.DTPicker1[1]->setDate(QDate(2000, 12, 1));
    confirm(w);
    EXPECT_EQ(printed(rpt, "Text1"), (QStringList{"林一", "林二", "林三"}));
}

TEST_F(ListPrinting, PointsBoxesTakeDigitsOnlyAndThePickerFillsCodeBoxes)
{
    fill();
    ScriptedResponder r;
    CustomPrintMsgFrm w;
    w.show();
    QApplication::setActiveWindow(&w);
    choose(w, CustomPrintMsgFrm::Members);
    w.Text1[4]->setFocus();
    QTest::keyClicks(w.Text1[4], "5a.:9");
    EXPECT_EQ(w.Text1[4]->text(), "5.9");
    EXPECT_EQ(r.beeps, 2);
    QTest::keyClick(w.Text1[4], Qt::Key_Backspace);
    EXPECT_EQ(w.Text1[4]->text(), "5.");

    choose(w, CustomPrintMsgFrm::Customers);
    EXPECT_EQ(w.DataCombo1->count(), 3);
    w.Text1[0]->setFocus();
    EXPECT_TRUE(w.DataCombo1->isVisible());
    EXPECT_EQ(w.DataCombo1->geometry(), w.Text1[0]->geometry());
    EXPECT_EQ(w.CodeTarget, w.Text1[0]);
    w.DataCombo1->setCurrentIndex(1);
    w.Text1[1]->setFocus();
    EXPECT_EQ(w.Text1[0]->text(), "000122");
    EXPECT_EQ(w.DataCombo1->geometry(), w.Text1[1]->geometry());
    w.DataCombo1->setEditText("000123");
    w.Command2[0]->setFocus();
    EXPECT_EQ(w.Text1[1]->text(), "000123");
}

// The customer list as a workbook keeps codes such as "000123" as text; cancelling the dialog
// says so.  The member list goes through the report's own export.
TEST_F(ListPrinting, ExportsToExcelAndThroughTheReport)
{
    fill();
    EXPECT_EQ(ExportFileName(QDate(2026, 12, 9), "員工"), "20261209員工.xlsx");
    CustomPrintMsgFrm w;
    w.show();
    w.Option4[1]->setChecked(true);
    const QString book = folder.file("customers.xlsx");
    {
        ScriptedResponder r;
        r.saveFile(book).answer(ui::Answer::OK);
        confirm(w);
        EXPECT_EQ(r.texts(), QStringList{"轉存完畢"});
    }
    ASSERT_TRUE(QFile::exists(book));
    QProcess unzip;
    unzip.start("unzip", {"-p", book, "xl/sharedStrings.xml"});
    ASSERT_TRUE(unzip.waitForFinished(10000));
    const QString shared = QString::fromUtf8(unzip.readAllStandardOutput());
    EXPECT_TRUE(shared.contains("000123")) << shared.toStdString();
    EXPECT_TRUE(shared.contains("丙公司"));
    EXPECT_EQ(客戶資料管理Rpt::Instance().window(), nullptr);
    {
        ScriptedResponder r;
        r.saveFile("").answer(ui::Answer::OK);
        confirm(w);
        EXPECT_EQ(r.texts(), QStringList{"使用者放棄"});
    }
    choose(w, CustomPrintMsgFrm::Members);
    const QString pdf = folder.file("members.pdf");
    {
        ScriptedResponder r;
        r.saveFile(pdf);
        confirm(w);
        EXPECT_TRUE(r.messages.empty());
    }
    EXPECT_TRUE(QFile::exists(pdf));
}

namespace {

// Latin words in a text of Qt's own, once its mnemonic ("(&S)", "&") and its key name (after a
// tab) are left out.
QStringList EnglishWords(QString text)
{
    text = text.section(u'\t', 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    QStringList out;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("[A-Za-z]{2,}")).globalMatch(text))
        out << m.captured();
    return out;
}

// What Qt's file dialog shows of its own: title, labels, buttons and their tips, list headings,
// its menu, and the places beside the list that are not a folder's own name.
QStringList DialogTexts(QFileDialog* d)
{
    QStringList out{d->windowTitle()};
    for (QLabel* l : d->findChildren<QLabel*>())
        if (l->isVisibleTo(d))
            out << l->text();
    for (QAbstractButton* b : d->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(d))
            out << b->text() << b->toolTip();
    for (QHeaderView* h : d->findChildren<QHeaderView*>())
        for (int i = 0; i < h->count(); ++i)
            if (!h->isSectionHidden(i))
                out << h->model()->headerData(i, h->orientation()).toString();
    for (QAction* a : d->findChildren<QAction*>())
        out << a->text();
    for (QListView* places : d->findChildren<QListView*>(QStringLiteral("sidebar")))
        for (int i = 0; i < places->model()->rowCount(); ++i) {
            const QModelIndex index = places->model()->index(i, 0);
            const QString path = index.data(Qt::UserRole + 1).toUrl().toLocalFile();
            const QString name = index.data().toString();
            if (path.isEmpty() || name != QFileInfo(path).fileName())
                out << name;
        }
    out.removeAll(QString());
    return out;
}

// The user as a test script, except that a save dialog is Qt's own: it opens, its texts are
// read, and it is cancelled.
class RealSaveDialog : public ScriptedResponder {
public:
    std::vector<QStringList> dialogs;

    QString onSaveFile(const QString& title, const QString& dir, const QString& filter) override
    {
        ui::Responder* me = ui::SetResponder(nullptr);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                dialogs.push_back(DialogTexts(d));
                d->reject();
            }
        });
        poll.start(20);
        const QString chosen = ui::GetSaveFileName(title, dir, filter);
        ui::SetResponder(me);
        return chosen;
    }
};

}  // namespace

// Qt's own windows in the language shown, and switched with it: the Excel and the PDF export
// dialogs and a text box's right-click menu carry no English word.
TEST_F(ListPrinting, ExportDialogsAndTextMenusShowNoEnglish)
{
    fill();
    MDIForm1 main;
    CustomPrintMsgFrm w;
    w.show();
    std::map<QAction*, QStringList> seen;
    for (QAction* language : {main.China_item, main.Taiwan_item}) {
        SCOPED_TRACE(language->text().toStdString());
        language->trigger();
        RealSaveDialog r;
        r.answer(ui::Answer::OK);
        choose(w, CustomPrintMsgFrm::Customers);
        w.Option4[1]->setChecked(true);
        confirm(w);  // Excel
        EXPECT_EQ(r.texts(), QStringList{"使用者放棄"});
        w.Option4[0]->setChecked(true);
        choose(w, CustomPrintMsgFrm::Members);
        confirm(w);
        ASSERT_TRUE(會員資料管理Rpt::Instance().window());
        會員資料管理Rpt::Instance().window()->exportPdf();  // PDF
        ASSERT_EQ(r.dialogs.size(), 2u);

        QLineEdit box;
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList menuTexts;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                menuTexts << a->text();
        ASSERT_GE(menuTexts.size(), 5);

        QStringList english;
        for (const QStringList& texts : {r.dialogs[0], r.dialogs[1], menuTexts})
            for (const QString& t : texts)
                if (!EnglishWords(t).isEmpty())
                    english << t;
        EXPECT_TRUE(english.isEmpty()) << english.join(u'\n').toStdString();
        seen[language] = r.dialogs[0] + menuTexts;
    }
    // The switch changed Qt's texts: Simplified and Traditional are not the same words.
    EXPECT_NE(seen[main.China_item].join(u'|').toStdString(), seen[main.Taiwan_item].join(u'|').toStdString());
}

// The birthday pickers take typed digits as a date picker does: a click on the month or on the
// day chooses that part, and the digits typed replace it (two digits go on to the day).
TEST_F(ListPrinting, BirthdayPickersTakeTypedDigits)
{
    CustomPrintMsgFrm w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    choose(w, CustomPrintMsgFrm::Members);
    struct Case {
        int picker;
        bool onDay;  // clicked on the day, else on the month
        const char* typed;
        const char* monthDay;
    };
    const Case cases[] = {{0, false, "1225", "1225"}, {0, false, "315", "0315"}, {1, true, "29", "0129"},
                          {1, false, "0229", "0229"}, {0, true, "7", "0107"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        QDateEdit* picker = w.DTPicker1[size_t(c.picker)];
        picker->setDate(QDate(2000, 1, 1));
        auto* edit = picker->findChild<QLineEdit*>();
        ASSERT_TRUE(edit);
        const QFontMetrics fm(edit->font());
        const int x = 4 + fm.horizontalAdvance(QString::fromLatin1(c.onDay ? "01/0" : "0"));
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
        QApplication::processEvents();
        ASSERT_TRUE(picker->hasFocus());
        QTest::keyClicks(picker, QString::fromLatin1(c.typed));
        EXPECT_EQ(picker->date().toString("MMdd"), QString::fromLatin1(c.monthDay));
    }
}

// The list printing window opens centred in the main window's inner area.
TEST_F(ListPrinting, OpensCentredInTheMainWindow)
{
    MDIForm1 main;
    main.resize(1400, 1000);
    main.show();
    main.Item("客戶資料列印_ITEM")->trigger();
    QMdiSubWindow* sub = nullptr;
    for (QMdiSubWindow* s : main.MdiArea->subWindowList())
        if (s->widget() == CustomPrintMsgFrm::Global().data())
            sub = s;
    ASSERT_TRUE(sub);
    const QSize area = main.MdiArea->viewport()->size();
    ASSERT_GE(area.width(), sub->width());
    EXPECT_NEAR(sub->x(), (area.width() - sub->width()) / 2, 1);
    EXPECT_NEAR(sub->y(), (area.height() - sub->height()) / 2, 1);
    CustomPrintMsgFrm::Global()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The main window's menu item and button 6 open the one list printing window; the birthday
// query opens from its menu item.
TEST_F(ListPrinting, MainWindowOpensTheWindows)
{
    MDIForm1 main;
    main.Item("客戶資料列印_ITEM")->trigger();
    QPointer<CustomPrintMsgFrm> first = CustomPrintMsgFrm::Global();
    ASSERT_FALSE(first.isNull());
    main.Command1[6]->click();
    EXPECT_EQ(CustomPrintMsgFrm::Global(), first);
    int inner = 0;
    for (QMdiSubWindow* s : main.MdiArea->subWindowList())
        inner += s->widget() == first.data();
    EXPECT_EQ(inner, 1);

    main.ShowMemberBirthdayQuery();
    ASSERT_FALSE(frm會員生日查詢::Global().isNull());
    first->close();
    frm會員生日查詢::Global()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}
