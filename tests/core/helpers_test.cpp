#include "core/AboutBox.h"
#include "core/Globals.h"
#include "core/Rights.h"
#include "core/WindowHelpers.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodQueryEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

const QString CR = QStringLiteral("\r");
const QString LF = QStringLiteral("\n");
const QString CRLF = QStringLiteral("\r\n");

TEST(NumericKeyFilter, AcceptsDigitsEnterBackspaceAndPointOnly)
{
    const std::vector<std::pair<int, bool>> cases = {
        {'0', true}, {'5', true}, {'9', true}, {13, true}, {8, true}, {'.', true},
        {'-', false}, {'a', false}, {' ', false}, {'/', false}, {':', false}, {-23636, false}, {0, false},
    };
    for (const auto& [key, accepted] : cases) {
        ScriptedResponder r;
        EXPECT_EQ(NumericKeyFilter(key), accepted) << key;
        EXPECT_EQ(r.beeps, accepted ? 0 : 1) << key;
    }
}

TEST(TextHelpers, ByteLen)
{
    EXPECT_EQ(ByteLen(QStringLiteral("abc")), 3);
    EXPECT_EQ(ByteLen(QStringLiteral("甲乙")), 4);
    EXPECT_EQ(ByteLen(QString()), 0);
}

TEST(TextHelpers, ToggleIMETurnsChineseInputOffInTheBox)
{
    QLineEdit box;
    ASSERT_TRUE(box.testAttribute(Qt::WA_InputMethodEnabled));
    ToggleIME(&box);
    EXPECT_FALSE(box.testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(&box, &query);
    EXPECT_FALSE(query.value(Qt::ImEnabled).toBool()) << "what the input method asks the box";
}

TEST(CaretAfterLastLine, DecidesWhetherEnterLeavesTheBox)
{
    struct Case {
        QString text;
        int position;
        int selection;
        bool expected;
        int positionAfter;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("abc"), 3, 0, false, 3},
        {QStringLiteral("abc") + CRLF, 5, 0, true, 5},
        {QStringLiteral("abc") + CRLF + QStringLiteral("d"), 6, 0, false, 6},
        {QStringLiteral("abc") + CRLF, 2, 0, false, 2},
        {QStringLiteral("abc") + LF, 4, 0, true, 4},
        {QStringLiteral("abc") + LF + QStringLiteral("d"), 5, 0, false, 5},
        {QStringLiteral("abc") + LF, 3, 0, false, 3},
        {QStringLiteral("  ") + CRLF, 4, 0, true, 4},
        {QStringLiteral("   "), 3, 0, false, 3},
        {QStringLiteral("ab") + CRLF + CRLF, 6, 0, true, 6},
        {QStringLiteral("abc") + CRLF, 0, 5, true, 5},   // 0 stands for the selection length
        {QStringLiteral("abc") + CRLF, 0, 1, false, 1},
    };
    for (const Case& c : cases) {
        int pos = c.position;
        EXPECT_EQ(CaretAfterLastLine(c.text, pos, c.selection), c.expected) << c.text.toStdString() << " @" << c.position;
        EXPECT_EQ(pos, c.positionAfter);
    }

    QPlainTextEdit box;
    box.setPlainText(QStringLiteral("甲\n"));
    int pos = 2;
    EXPECT_TRUE(CaretAfterLastLine(&box, pos));
}

TEST(FillListFromLines, SkipsEmptyLinesAndShowsTheFirst)
{
    struct Case {
        QString text;
        QStringList items;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("甲") + CRLF + CRLF + QStringLiteral("乙"), {QStringLiteral("甲"), QStringLiteral("乙")}},
        {QStringLiteral("甲") + LF + LF + QStringLiteral("乙") + LF, {QStringLiteral("甲"), QStringLiteral("乙")}},
        {QStringLiteral(" a ") + CRLF + QStringLiteral("b") + CRLF + QStringLiteral("b"),
         {QStringLiteral(" a "), QStringLiteral("b"), QStringLiteral("b")}},
        {QStringLiteral("only"), {QStringLiteral("only")}},
        {QString(), {}},
    };
    QComboBox editable, fixed;
    editable.setEditable(true);
    QListWidget list;
    for (const Case& c : cases) {
        for (QComboBox* combo : {&editable, &fixed}) {
            combo->addItem(QStringLiteral("old"));
            FillListFromLines(combo, c.text);
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            EXPECT_EQ(items, c.items) << c.text.toStdString();
            EXPECT_EQ(combo->currentText(), c.items.value(0));
        }
        list.addItem(QStringLiteral("old"));
        FillListFromLines(&list, c.text);
        EXPECT_EQ(list.count(), c.items.size());
        EXPECT_EQ(list.currentItem() ? list.currentItem()->text() : QString(), c.items.value(0));
    }
}

TEST(StatusLine, WritesChangedOrEmptyTextsAndPanels)
{
    testsupport::RecordingSink sink;
    SetStatusText(QStringLiteral("客戶代號"));
    SetStatusText(QStringLiteral("客戶代號"));
    SetStatusText(QString());
    SetStatusText(QString());
    SetStatusText(QStringLiteral("客戶代號"));
    EXPECT_EQ(sink.statusHistory,
              (QStringList{QStringLiteral("客戶代號"), QString(), QString(), QStringLiteral("客戶代號")}));
    EXPECT_EQ(gStatusText, QStringLiteral("客戶代號"));

    SetStatusPanel(QStringLiteral("存檔中"), 0);
    SetStatusPanel(QStringLiteral("修改"), 1);
    EXPECT_EQ(sink.panels[0], QStringList{QStringLiteral("存檔中")});
    EXPECT_EQ(sink.panels[1], QStringList{QStringLiteral("修改")});

    SetHelpPanelCaption(QStringLiteral("輔助說明"));
    SetHelpPanelText(QStringLiteral("缺少: 客戶名稱"));
    EXPECT_EQ(HelpPanelCaption(), QStringLiteral("輔助說明"));
    EXPECT_EQ(HelpPanelText(), QStringLiteral("缺少: 客戶名稱"));
}

TEST(Placement, CenterInMDIMovesOnlyWindowsNotWiderThanTheArea)
{
    testsupport::RecordingSink sink;
    QMdiArea area;
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.resize(800, 400);
    area.show();
    sink.area = &area;
    const QSize inner = area.viewport()->size();

    struct Case {
        QSize size;
        bool moves;
    };
    for (const Case& c : {Case{{300, 200}, true}, Case{{300, inner.height() + 100}, true},
                          Case{{inner.width() + 10, 100}, false}}) {
        auto* child = new QWidget;
        QMdiSubWindow* sub = area.addSubWindow(child);
        sub->resize(c.size);
        sub->move(7, 9);
        CenterInMDI(child);
        if (c.moves)
            EXPECT_EQ(sub->pos(), QPoint((inner.width() - c.size.width()) / 2, (inner.height() - c.size.height()) / 2));
        else
            EXPECT_EQ(sub->pos(), QPoint(7, 9));
        delete sub;
    }
}

TEST(Placement, OverlayOnTextBoxCoversTheBox)
{
    QWidget form;
    auto* box = new QLineEdit(&form);
    auto* pick = new QComboBox(&form);
    pick->setEditable(true);
    pick->hide();
    box->setGeometry(40, 60, 150, 24);
    box->setText(QStringLiteral("台北"));
    OverlayOnTextBox(pick, box);
    EXPECT_EQ(pick->pos(), box->pos());
    EXPECT_EQ(pick->width(), box->width());
    EXPECT_EQ(pick->currentText(), QStringLiteral("台北"));
    EXPECT_FALSE(pick->isHidden());
}

TEST(Rights, EveryRequestIsGranted)
{
    ScriptedResponder r;
    for (const char* item : {"客戶", "廠商", "員工", "薪資", ""})
        for (const char* action : {"新增", "寫", "刪除", "讀", "核准", "列印"})
            for (bool show : {false, true})
                EXPECT_TRUE(CheckRight(QString::fromUtf8(item), QString::fromUtf8(action), show));
    EXPECT_TRUE(r.messages.empty());
}

TEST(AboutWindow, VersionLineAndSplashClosesFiveSecondsAfterLoad)
{
    ScriptedResponder r;
    gLangOffset = 0;
    EXPECT_EQ(AboutVersionLine(), QStringLiteral("版    本: 2.2.146"));

    const QDateTime t0(QDate(2024, 5, 1), QTime(9, 0, 0));
    ui::SetNow(t0);
    SetSplashMessage(QStringLiteral("檢查資料表..."));
    AboutBox* box = LoadedAboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isVisible()) << "loaded, not shown";
    EXPECT_EQ(box->MessageLabel->text(), QStringLiteral("檢查資料表..."));
    EXPECT_EQ(box->Label1_0->text(), AboutVersionLine());
    EXPECT_EQ(box->Timer1->interval(), 500);

    box->show();
    ui::SetNow(t0.addMSecs(4999));
    box->tick();
    EXPECT_TRUE(box->isVisible());
    ui::SetNow(t0.addSecs(5));
    box->tick();
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Accepted);
    UnloadAboutBox();
    EXPECT_EQ(LoadedAboutBox(), nullptr);
    ui::SetNow(QDateTime());
}

TEST(AboutWindow, FromTheMenuStaysUntilClicked)
{
    const QDateTime t0(QDate(2024, 5, 1), QTime(9, 0, 0));
    ui::SetNow(t0);
    ShowAboutWindow();
    QPointer<AboutBox> box = LoadedAboutBox();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->Check1->isChecked());
    EXPECT_FALSE(box->isModal());
    ui::SetNow(t0.addSecs(60));
    box->tick();
    EXPECT_TRUE(box->isVisible());
    QTest::mouseClick(box->Image1, Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull()) << "unloaded";
    ui::SetNow(QDateTime());
}

}  // namespace
