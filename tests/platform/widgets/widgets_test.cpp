#include "platform/widgets/ByteLimit.h"
#include "platform/widgets/FlexGrid.h"

#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void commitIme(QLineEdit& box, const QString& text)
{
    QInputMethodEvent ev;
    ev.setCommitString(text);
    QCoreApplication::sendEvent(&box, &ev);
}

}  // namespace

TEST(ByteLimit, TypingPastingAndInputMethodStopAtTheLimit)
{
    QLineEdit box;
    SetByteLimit(&box, 10);

    QTest::keyClicks(&box, "abcdefghijk");
    EXPECT_EQ(box.text(), "abcdefghij");  // the eleventh key is refused

    box.clear();
    commitIme(box, QString::fromUtf8("客戶資料管理系統"));  // 16 bytes offered, 10 fit
    EXPECT_EQ(box.text(), QString::fromUtf8("客戶資料管"));

    box.clear();
    box.setText("abcdefghi");  // 9 bytes: a Chinese character no longer fits whole
    box.setCursorPosition(9);
    commitIme(box, QString::fromUtf8("中"));
    EXPECT_EQ(box.text(), "abcdefghi");

    box.clear();
    box.insert(QString::fromUtf8("ab中文字ef甲乙"));  // a paste is cut at a character boundary
    EXPECT_EQ(box.text(), QString::fromUtf8("ab中文字ef"));

    // A character outside the BMP takes two, as the text column counts it: what the box
    // takes, the column takes.
    box.setText("abcdefghi");
    box.setCursorPosition(9);
    commitIme(box, QString::fromUtf8("\U00020000"));
    EXPECT_EQ(box.text(), "abcdefghi");

    // Inserting in the middle keeps the tail and cuts the insertion.
    box.setText("abcdefgh");
    box.setCursorPosition(4);
    box.insert("XYZ");
    EXPECT_EQ(box.text(), "abcdXYefgh");
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
