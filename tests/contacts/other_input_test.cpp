// The personal-contact window as the user types into it: the checks when the identity and
// e-mail boxes are left and what is stored, Enter in the remarks box, the photo of a contact
// whose picture file is gone or unreadable, and the find window's boxes and its 取消.
#include "contacts/OtherFindFrm.h"
#include "contacts/OtherFrm.h"
#include "core/Globals.h"
#include "core/Settings.h"
#include "platform/ui/Ui.h"
#include "support/CustomerDb.h"
#include "support/ListedColumn.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"
#include "support/ShowActive.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

class ContactInput : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        gOtherFindWhere.clear();
        CustomerDb::SetUp();
    }

    static void add(const QString& number, const QString& name, const QString& photo = QString())
    {
        gConn.Execute(QStringLiteral("Insert Into RV18A (RV18A1, RV18A2, RV18A14) Values (?, ?, ?)"),
                      {number, name, photo.isNull() ? QVariant() : QVariant(photo)});
    }
    std::unique_ptr<OtherFrm> open() { return testsupport::ShowActive<OtherFrm>(); }
    static QStringList listed(OtherFrm& w) { return testsupport::ListedColumn(w.ListRs(), QStringLiteral("RV18A1")); }
    // A mouse click on a row of the contact list.
    static void clickRow(OtherFrm& w, int row)
    {
        QTableView* grid = w.DataGrid1[1];
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QApplication::processEvents();
    }
    // 查詢 with the find window filled in by `fill`, then closed with the given button.
    static void find(OtherFrm& w, const std::function<void(OtherFindFrm&)>& fill, int button)
    {
        ScriptedResponder r;
        r.modal([&](QDialog* d) {
            auto* f = static_cast<OtherFindFrm*>(d);
            fill(*f);
            f->Command1[size_t(button)]->click();
            return button == 0 ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        w.Command2[0]->click();
    }

    testsupport::RecordingSink sink;
};

}  // namespace

// Leaving the identity box upper-cases it and checks it by iDCardNO (3 and other values: no
// check); a refused number keeps the focus, an accepted one is stored upper-cased.  An empty
// e-mail box passes; a malformed address keeps the focus.
TEST_F(ContactInput, LeavingTheIdentityAndEmailBoxesChecksAndStoresThem)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    const struct {
        int box;
        const char* setting;  // iDCardNO; nullptr: none written yet
        const char* typed;
        const char* shown;    // the box after leaving it
        bool refused;
    } cases[] = {
        {7, nullptr, "a123456788", "A123456788", true},
        {7, nullptr, "a123456789", "A123456789", false},
        {7, "0", "A323456789", "A323456789", true},
        {7, "1", "a1234563", "A1234563", false},
        {7, "1", "a123456789", "A123456789", true},
        {7, "2", "11010519491231002x", "11010519491231002X", false},
        {7, "3", "abc-12", "ABC-12", false},
        {7, "7", "x", "X", false},
        {7, "0", "", "", false},
        {13, "0", "", "", false},
        {13, "0", "a@@b.com", "a@@b.com", true},
        {13, "0", "a@b.com.tw", "a@b.com.tw", false},
    };
    const char* const columns[] = {"", "", "", "", "", "", "", "RV18A7", "", "", "", "", "", "RV18A6"};
    for (const auto& c : cases) {
        if (c.setting)
            WriteSetting(QStringLiteral("iDCardNO"), QString::fromUtf8(c.setting), QStringLiteral("Tessarine"), 0);
        w->Command2[2]->click();
        ASSERT_EQ(w->EditMode, QStringLiteral("change"));
        QLineEdit* box = w->Box(c.box);
        box->setFocus();
        box->setText(QString::fromUtf8(c.typed));
        {
            ScriptedResponder r;
            if (c.refused)
                r.answer(ui::Answer::OK);
            w->Box(c.box + 1)->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(r.messages.size(), c.refused ? 1u : 0u) << c.box << " " << c.typed;
        }
        EXPECT_EQ(w->BoxText(c.box), QString::fromUtf8(c.shown)) << c.typed;
        EXPECT_EQ(box->hasFocus(), c.refused) << c.box << " " << c.typed;
        if (c.refused) {
            ScriptedResponder r;
            r.answer(ui::Answer::Yes);
            QTest::mouseClick(w->Command2[6], Qt::LeftButton);
            continue;
        }
        QTest::mouseClick(w->Command2[5], Qt::LeftButton);
        ASSERT_TRUE(w->EditMode.isEmpty()) << c.typed;
        EXPECT_EQ(rows(QStringLiteral("Select ") + QString::fromUtf8(columns[c.box]) + QStringLiteral(" From RV18A")),
                  QStringList{QString::fromUtf8(c.shown)})
            << c.typed;
    }
}

// Enter in the remarks box is a line break wherever the caret stands, except after an empty
// last line: there it moves on to box 1, adding nothing.
TEST_F(ContactInput, EnterInTheRemarksBoxBreaksLinesUntilAnEmptyLastLine)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    w->Command2[2]->click();
    const struct {
        const char* text;
        int caret;
        const char* after;
        bool leaves;
    } cases[] = {
        {"", 0, "\n", false},
        {"abc", 3, "abc\n", false},
        {"abc\ndef", 3, "abc\n\ndef", false},
        {"abc\ndef", 7, "abc\ndef\n", false},
        {"abc\n", 2, "ab\nc\n", false},
        {"abc\n", 4, "abc\n", true},
        {"abc\n\n", 5, "abc\n\n", true},
        {"\n", 1, "\n", true},
    };
    QPlainTextEdit* remarks = w->Remarks();
    for (const auto& c : cases) {
        remarks->setFocus();
        remarks->setPlainText(QString::fromUtf8(c.text));
        QTextCursor cursor = remarks->textCursor();
        cursor.setPosition(c.caret);
        remarks->setTextCursor(cursor);
        QTest::keyClick(remarks, Qt::Key_Return);
        EXPECT_EQ(remarks->toPlainText(), QString::fromUtf8(c.after)) << c.text << " @" << c.caret;
        EXPECT_EQ(QApplication::focusWidget(), c.leaves ? w->Text1[1] : w->Text1[18]) << c.text << " @" << c.caret;
    }
    w->Command2[5]->click();
    EXPECT_EQ(rows(QStringLiteral("Select RV18A17 From RV18A")).value(0).count(QLatin1Char('\n')), 1);
}

// A contact whose picture file is missing or is no picture shows an empty photo box, and no
// message; the next contact with a picture shows it again.
TEST_F(ContactInput, PhotoOfAMissingOrUnreadableFileIsAnEmptyBoxWithoutAMessage)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString good = folder.file(QStringLiteral("good.bmp"));
    ASSERT_TRUE(image.save(good, "BMP"));
    const QString broken = folder.write(QStringLiteral("broken.bmp"), QByteArray("BM not a picture"));
    add(QStringLiteral("001"), QStringLiteral("A"), good);
    add(QStringLiteral("002"), QStringLiteral("B"), folder.file(QStringLiteral("gone.bmp")));
    add(QStringLiteral("003"), QStringLiteral("C"), broken);
    add(QStringLiteral("004"), QStringLiteral("D"), folder.path());  // a folder, not a file
    auto w = open();  // any message box fails the test
    ASSERT_EQ(w->BoxText(2), QStringLiteral("A"));
    EXPECT_FALSE(w->Picture3->pixmap().isNull());
    const struct {
        int row;
        const char* name;
        bool photo;
    } cases[] = {{1, "B", false}, {0, "A", true}, {2, "C", false}, {0, "A", true}, {3, "D", false}};
    for (const auto& c : cases) {
        clickRow(*w, c.row);
        ASSERT_EQ(w->BoxText(2), QString::fromUtf8(c.name));
        EXPECT_EQ(!w->Picture3->pixmap().isNull(), c.photo) << c.name;
    }
}

// Each find box searches its own column for the text anywhere in it; a box of blanks alone does
// not enable 確定, but beside another box it adds its own term.
TEST_F(ContactInput, EachFindBoxSearchesItsOwnColumn)
{
    const char* const columns[] = {"類別",   "RV18A1",  "RV18A2",  "RV18A3",  "RV18A4",  "性別",    "RV18A8",
                                   "RV18A7", "RV18A9", "RV18A10", "RV18A11", "RV18A12", "RV18A13", "RV18A17"};
    // Contact k holds the token qk in the column of box k only.
    for (int k = 0; k < 14; ++k) {
        const QString number = QStringLiteral("%1").arg(k + 10);
        add(number, QStringLiteral("人%1").arg(k));
        gConn.Execute(QStringLiteral("Update RV18A Set ") + QString::fromUtf8(columns[k])
                          + QStringLiteral(" = ? Where RV18A1 = ?"),
                      {QStringLiteral("q%1").arg(k, 2, 10, QChar('0')), number});
    }
    gConn.Execute(QStringLiteral("Update RV18A Set RV18A3 = 'Wang Da' Where RV18A1 = '10'"));
    auto w = open();
    for (int k = 0; k < 14; ++k) {
        find(*w, [k](OtherFindFrm& f) {
            f.Text1[size_t(k)]->setText(QStringLiteral("q%1").arg(k, 2, 10, QChar('0')));
            EXPECT_TRUE(f.Command1[0]->isEnabled());
        }, 0);
        const QString number = k == 1 ? QStringLiteral("q01") : QStringLiteral("%1").arg(k + 10);
        EXPECT_EQ(listed(*w), QStringList{number}) << columns[k];
    }
    // Blanks: alone they enable nothing; beside a number they look for a blank in the English name.
    find(*w, [](OtherFindFrm& f) {
        f.Text1[3]->setText(QStringLiteral(" "));
        EXPECT_FALSE(f.Command1[0]->isEnabled());
        f.Text1[1]->setText(QStringLiteral("1"));
        EXPECT_TRUE(f.Command1[0]->isEnabled());
    }, 0);
    EXPECT_EQ(listed(*w), QStringList{"10"});
    EXPECT_EQ(gOtherFindWhere, QStringLiteral("RV18A1 LIKE '%1%' and  RV18A3 LIKE '% %'"));
}

// 取消 leaves the list as the last find left it and the status line empty, whatever was typed.
TEST_F(ContactInput, FindCancelledLeavesTheListAndEmptiesTheStatusLine)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    add(QStringLiteral("002"), QStringLiteral("林"));
    add(QStringLiteral("003"), QStringLiteral("陳"));
    auto w = open();
    find(*w, [](OtherFindFrm& f) { f.Text1[2]->setText(QStringLiteral("林")); }, 0);
    ASSERT_EQ(listed(*w), QStringList{"002"});
    ASSERT_EQ(sink.status, QStringLiteral("查詢條件:RV18A2 LIKE '%林%'"));

    find(*w, [](OtherFindFrm& f) {
        EXPECT_FALSE(f.Command1[0]->isEnabled());
        for (int i : {0, 5, 13}) {
            f.Text1[size_t(i)]->setText(QStringLiteral("   "));
            EXPECT_FALSE(f.Command1[0]->isEnabled()) << i;
        }
        f.Text1[2]->setText(QStringLiteral("王"));
        EXPECT_TRUE(f.Command1[0]->isEnabled());
    }, 1);
    EXPECT_EQ(listed(*w), QStringList{"002"});
    EXPECT_EQ(w->BoxText(2), QStringLiteral("林"));
    EXPECT_EQ(sink.status, QString());
    EXPECT_EQ(sink.statusHistory.mid(sink.statusHistory.size() - 2), (QStringList{"顯示全部資料", ""}));
}

// "P" or "p" alone in the identity box and Enter opens the picture dialog instead of moving on;
// the chosen file goes into the picture box.  Anything else moves on to box 8.
TEST_F(ContactInput, PAloneInTheIdentityBoxAndEnterPicksThePicture)
{
    WriteSetting(QStringLiteral("iDCardNO"), QStringLiteral("3"), QStringLiteral("Tessarine"), 0);
    add(QStringLiteral("001"), QStringLiteral("王"));
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString photo = folder.file(QStringLiteral("p.bmp"));
    ASSERT_TRUE(image.save(photo, "BMP"));
    auto w = open();
    w->Command2[2]->click();
    const struct {
        const char* typed;
        bool dialog;
    } cases[] = {{"P", true}, {"p", true}, {"PP", false}, {"A1", false}};
    for (const auto& c : cases) {
        w->SetBoxText(15, QString());
        QLineEdit* box = w->Box(7);
        box->setFocus();
        box->setText(QString::fromUtf8(c.typed));
        ScriptedResponder r;
        if (c.dialog)
            r.openFile(photo);
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(r.fileDialogTitles.size(), c.dialog ? 1u : 0u) << c.typed;
        EXPECT_EQ(w->BoxText(15), c.dialog ? photo : QString()) << c.typed;
        EXPECT_EQ(QApplication::focusWidget(), c.dialog ? w->Text1[7] : w->Text1[8]) << c.typed;
    }
}

// Enter in a find box moves to the next box, from the last one back to the first.
TEST_F(ContactInput, EnterWalksTheFindBoxesRound)
{
    OtherFindFrm find(nullptr);
    find.show();
    find.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&find));
    ASSERT_EQ(find.Text1.size(), 14u);
    for (int i = 0; i < 14; ++i) {
        find.Text1[size_t(i)]->setFocus();
        QTest::keyClick(find.Text1[size_t(i)], Qt::Key_Return);
        EXPECT_TRUE(find.Text1[size_t((i + 1) % 14)]->hasFocus()) << i;
        EXPECT_TRUE(find.Text1[size_t(i)]->text().isEmpty()) << i;
    }
}
