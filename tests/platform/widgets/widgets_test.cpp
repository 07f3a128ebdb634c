#include "platform/widgets/ByteLimit.h"
#include "platform/widgets/FlexGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

void commitIme(QLineEdit& box, const QString& text)
{
    QInputMethodEvent ev;
    ev.setCommitString(text);
    QCoreApplication::sendEvent(&box, &ev);
}

}  // namespace

// Typing stops once the text takes the limit, counted before the key: a Chinese character at
// one byte below it still goes in.  A paste is never cut (the save check names it).
TEST(ByteLimit, TypingStopsAtTheLimitAndAPasteIsNeverCut)
{
    struct Case {
        const char* name;
        const char* before;  // the box's text, the caret at its end
        std::function<void(QLineEdit&)> input;
        const char* after;
    };
    const auto keys = [](const char* text) {
        return [=](QLineEdit& b) {
            for (QChar ch : QString::fromUtf8(text)) {
                QKeyEvent key(QEvent::KeyPress, ch.unicode() < 128 ? int(ch.toUpper().unicode()) : 0, Qt::NoModifier,
                              QString(ch));
                QCoreApplication::sendEvent(&b, &key);
            }
        };
    };
    const auto ime = [](const char* text) { return [=](QLineEdit& b) { commitIme(b, QString::fromUtf8(text)); }; };
    const auto paste = [](const char* text) {
        return [=](QLineEdit& b) {
            QApplication::clipboard()->setText(QString::fromUtf8(text));
            QTest::keySequence(&b, QKeySequence::Paste);
        };
    };
    const Case cases[] = {
        {"keys past the limit", "", keys("abcdefghijk"), "abcdefghij"},
        {"a Chinese key at one byte below", "abcdefghi", keys("中x"), "abcdefghi中"},
        {"a commit taken while under the limit", "", ime("客戶資料管理系統"), "客戶資料管"},
        {"a committed character at one byte below", "abcdefghi", ime("中文"), "abcdefghi中"},
        {"a character outside the BMP", "abcdefghi", ime("\U00020000a"), "abcdefghi\U00020000"},
        {"a paste kept whole", "", paste("ab中文字ef甲乙"), "ab中文字ef甲乙"},
        {"a paste into a full box", "abcdefghij", paste("XYZ"), "abcdefghijXYZ"},
        {"a key replacing the selection of a full box",
         "abcdefghij",
         [=](QLineEdit& b) {
             b.selectAll();
             keys("z")(b);
         },
         "z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QLineEdit box;
        SetByteLimit(&box, 10);
        box.setText(QString::fromUtf8(c.before));
        box.setCursorPosition(int(box.text().size()));
        c.input(box);
        EXPECT_EQ(box.text(), QString::fromUtf8(c.after));
    }

    // A multi-line box the same, and its line breaks are never refused.
    QPlainTextEdit memo;
    SetByteLimit(&memo, 5);
    QTest::keyClicks(&memo, "abcdef");
    EXPECT_EQ(memo.toPlainText(), "abcde");
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(memo.toPlainText(), "abcde\n");
    EXPECT_EQ(ByteLimit(&memo), 5);
}

TEST(ByteLimit, AnOverlongStoredTextCanStillBeShortened)
{
    QLineEdit box;
    box.setText("abcdefghijkl");
    SetByteLimit(&box, 10);
    box.setCursorPosition(12);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "abcdefghijk");
    SetByteLimit(&box, 0);
    box.insert("zz");
    EXPECT_EQ(box.text(), "abcdefghijkzz");
}

TEST(FlexGrid, KeepsVbIndicesWithCaptionRowAndFixedColumn)
{
    FlexGrid g;
    g.setCols(4);
    g.setRows(2);
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Cols(), 4);
    g.setTextMatrix(0, 1, QString::fromUtf8("聯絡人"));
    g.setTextMatrix(1, 0, "1");
    g.setTextMatrix(1, 1, QString::fromUtf8("王小明"));
    EXPECT_EQ(g.TextMatrix(0, 1), QString::fromUtf8("聯絡人"));
    EXPECT_EQ(g.TextMatrix(1, 0), "1");
    EXPECT_EQ(g.TextMatrix(1, 1), QString::fromUtf8("王小明"));
    EXPECT_EQ(g.TextMatrix(1, 2), "");
    EXPECT_EQ(g.TextMatrix(5, 5), "");  // out of range reads as empty, never crashes

    g.AddItem("2\tA\tB\tC", 1);  // insert before row 1
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 1), "A");
    EXPECT_EQ(g.TextMatrix(2, 1), QString::fromUtf8("王小明"));
    g.RemoveItem(1);
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(1, 1), QString::fromUtf8("王小明"));
    g.RemoveItem(7);  // out of range: nothing happens
    EXPECT_EQ(g.Rows(), 2);

    g.setRow(1);
    g.setCol(2);
    g.setText("x");
    EXPECT_EQ(g.TextMatrix(1, 2), "x");
}

TEST(FlexGrid, CornerCellHoldsItsCaption)
{
    FlexGrid g;
    g.setCols(3);
    g.setRows(2);
    g.setColWidth(0, 500);
    g.setTextMatrix(0, 0, QString::fromUtf8("項次"));
    EXPECT_EQ(g.TextMatrix(0, 0), QString::fromUtf8("項次"));
    g.resize(300, 200);
    g.show();
    const QRect corner(g.frameWidth(), g.frameWidth(), g.verticalHeader()->width(), g.horizontalHeader()->height());
    const QImage withText = g.grab(corner).toImage();
    g.Clear();
    EXPECT_EQ(g.TextMatrix(0, 0), "");
    EXPECT_NE(g.grab(corner).toImage(), withText);  // the caption is drawn in the corner
}

TEST(FlexGrid, GeometryIsInTwips)
{
    FlexGrid g;
    g.resize(600, 300);
    g.setCols(3);
    g.setRows(3);
    g.setColWidth(0, 500);
    g.setColWidth(1, 1300);
    g.setRowHeight(1, 300);
    g.setRowHeight(2, 300);
    g.show();
    EXPECT_EQ(g.ColWidth(1), 1300);
    EXPECT_EQ(g.RowHeight(1), 300);
    g.setRow(2);
    g.setCol(1);
    EXPECT_EQ(g.CellHeight(), 300);
    EXPECT_NEAR(g.ColPos(2) - g.ColPos(1), 1300, 15);  // positions are whole pixels
    EXPECT_NEAR(g.RowPos(2) - g.RowPos(1), 300, 15);
    EXPECT_GE(g.ColPos(1), 500);
}
