// The record boxes built from a field table: boxes and labels as the table says, bound to the
// current row, typing held to the byte limits, locked while browsing; the save's checks for
// required boxes, widths and values a column refuses.
#include "platform/dbmodel/FieldBinding.h"
#include "records/FieldTable.h"
#include "records/RecordCycle.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "support/Utf8.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

enum Box { kCode = 0, kName = 1, kInvoice = 2, kDerived = 3, kNote = 5 };

const std::vector<RecordField>& Fields()
{
    static const std::vector<RecordField> f = {
        {kCode, "RV120", 0, 0, K("客戶代號*"), 14, true, K("代號的說明")},
        {kName, "RV121", 1, 0, K("簡稱*"), 10, true, ""},
        {kInvoice, K("發票狀況"), 2, 0, K("發票"), 0, true, ""},
        {kDerived, "", -1, 0, "", 0, false, ""},
        {kNote, "RV1213", 4, 0, K("備註"), 20, true, "", RecordField::kMultiLine},
    };
    return f;
}

class RecordBoxesTest : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        gConn.Execute(K("Insert Into RV12 (RV120, RV121, RV1213, 發票狀況) Values ('000001', '大同', '備一', 1)"));
        gConn.Execute(K("Insert Into RV12 (RV120, RV121, RV1213, 發票狀況) Values ('000002', '中華', '備二', 2)"));
        boxes.Build(Fields(), 6, 5, [&](const RecordField& f) {
            return BoxPlace{&window, QRect(100, 10 + 30 * f.box, 200, 24), QRect(10, 10 + 30 * f.box, 80, 24)};
        }, nullptr);
        rs.Open(K("Select * From RV12 Order By RV120"), gConn, db::adOpenKeyset, db::adLockOptimistic);
        boxes.Binding()->setRecordset(rs);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override
    {
        rs.Close();
        CustomerDb::TearDown();
    }
    void type(int box, const QString& text)
    {
        boxes.Box(box)->setFocus();
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, ch.unicode() < 128 ? int(ch.toUpper().unicode()) : 0, Qt::NoModifier,
                            QString(ch));
            QCoreApplication::sendEvent(boxes.Box(box), &press);
        }
    }

    QWidget window;
    RecordBoxes boxes;
    db::Recordset rs;
};

}  // namespace

TEST_F(RecordBoxesTest, BuiltAsTheTableSaysAndBoundToTheCurrentRow)
{
    ASSERT_EQ(boxes.Boxes().size(), 6u);
    EXPECT_EQ(boxes.Box(4), nullptr);  // a box the table does not name
    for (const RecordField& f : Fields()) {
        SCOPED_TRACE(f.box);
        QWidget* box = boxes.Box(f.box);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->objectName(), QStringLiteral("Text1_%1").arg(f.box));
        EXPECT_EQ(box->toolTip(), f.tip);
        EXPECT_EQ(box->parentWidget(), &window);
        EXPECT_EQ(boxes.IndexOf(box), f.box);
        EXPECT_EQ(qobject_cast<QPlainTextEdit*>(box) != nullptr, (f.flags & RecordField::kMultiLine) != 0);
        if (f.label >= 0) {
            ASSERT_TRUE(boxes.Labels()[size_t(f.label)]);
            EXPECT_EQ(boxes.Labels()[size_t(f.label)]->objectName(), QStringLiteral("Label3_%1").arg(f.label));
            EXPECT_EQ(boxes.Labels()[size_t(f.label)]->text(), f.caption);
        }
    }
    EXPECT_EQ(boxes.Labels()[3], nullptr);

    // Bound boxes follow the row; a box without a column is the window's to fill.
    boxes.SetText(kDerived, K("算出來的"));
    const auto shown = [&] {
        return QStringList{boxes.Text(kCode), boxes.Text(kName), boxes.Text(kInvoice), boxes.Text(kNote),
                           boxes.Text(kDerived)};
    };
    EXPECT_EQ(shown(), (QStringList{"000001", K("大同"), "1", K("備一"), K("算出來的")}));
    rs.MoveNext();
    EXPECT_EQ(shown(), (QStringList{"000002", K("中華"), "2", K("備二"), K("算出來的")}));
    boxes.ClearUnbound();
    EXPECT_EQ(boxes.Text(kDerived), "");
    EXPECT_EQ(boxes.Text(kName), K("中華"));
}

TEST_F(RecordBoxesTest, LockedWhileBrowsingAndTypingHeldToTheByteLimit)
{
    ASSERT_FALSE(boxes.Editing());
    type(kName, "x");
    type(kNote, "x");
    EXPECT_EQ(boxes.Text(kName), K("大同"));
    EXPECT_EQ(boxes.Text(kNote), K("備一"));

    boxes.SetEditing(true);
    boxes.SetText(kName, "");
    type(kName, K("大同電子股份"));  // 12 bytes typed into a box of 10
    EXPECT_EQ(boxes.Text(kName), K("大同電子股"));
    boxes.SetText(kCode, "");
    type(kCode, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(boxes.Text(kCode), "ABCDEFGHIJKLMN");
    // A text the program sets is shown whole, so that the save can name its width.
    boxes.SetText(kName, K("大同電子股份有限"));
    EXPECT_EQ(boxes.Text(kName), K("大同電子股份有限"));

    boxes.SetEditing(false);
    type(kName, "x");
    EXPECT_EQ(boxes.Text(kName), K("大同電子股份有限"));
}

TEST_F(RecordBoxesTest, FollowTheWindowsModeAndWhatElseFollowsIt)
{
    ModeText mode;
    int alsoRan = 0;
    bool editingWhenAlsoRan = false;
    FollowMode(mode, {&boxes}, [&] {
        ++alsoRan;
        editingWhenAlsoRan = boxes.Editing();
    });
    mode = ModeText::Change;
    EXPECT_TRUE(boxes.Editing());
    EXPECT_TRUE(editingWhenAlsoRan);  // the boxes are unlocked before the rest follows
    boxes.SetText(kName, "");
    type(kName, "x");
    EXPECT_EQ(boxes.Text(kName), "x");
    mode.clear();
    EXPECT_FALSE(boxes.Editing());
    type(kName, "y");
    EXPECT_EQ(boxes.Text(kName), "x");
    mode = "addnew";
    EXPECT_TRUE(boxes.Editing());
    EXPECT_EQ(alsoRan, 3);

    ModeText alone;  // nothing else follows
    FollowMode(alone, {&boxes});
    alone.clear();
    EXPECT_FALSE(boxes.Editing());
}

TEST(RecordBoxChecks, RequiredBoxesLeftBlankAreListedInTableOrder)
{
    const std::vector<RequiredField> required = {{1, K("◆簡稱")}, {0, K("◆代號")}, {7, K("◆電話")}};
    const struct {
        QMap<int, QString> texts;
        QString message;
    } cases[] = {
        {{{0, "1"}, {1, "A"}, {7, "2"}}, ""},
        {{{0, "1"}, {1, "  "}, {7, "2"}}, K("◆簡稱\r\n")},  // blanks are not a text
        {{{1, "A"}}, K("◆代號\r\n◆電話\r\n")},
        {{}, K("◆簡稱\r\n◆代號\r\n◆電話\r\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MissingFieldsMessage(required, [&](int box) { return c.texts.value(box); }), c.message);
}

TEST(RecordBoxChecks, TheFirstBoxWiderThanItsColumnInTheOrderGiven)
{
    const struct {
        std::vector<int> boxes;
        QMap<int, QString> texts;
        int tooWide;
    } cases[] = {
        {{kCode, kName}, {{kName, K("大同電子股")}}, -1},              // 10 bytes of 10
        {{kCode, kName}, {{kName, K("大同電子股份")}}, kName},          // Chinese counts 2
        {{kName, kCode}, {{kCode, QString(15, 'A')}, {kName, QString(11, 'b')}}, kName},
        {{kCode}, {{kName, QString(11, 'b')}}, -1},                    // boxes not asked for
        {{kInvoice, kDerived}, {{kInvoice, QString(99, '9')}, {kDerived, QString(99, 'x')}}, -1},  // no limit
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstTooWideBox(Fields(), c.boxes, [&](int box) { return c.texts.value(box); }), c.tooWide);
}

TEST_F(RecordBoxesTest, TheSaveRefusesATooWideBoxAndAValueItsColumnCannotTake)
{
    boxes.SetEditing(true);
    QList<int> revealed;
    boxes.Reveal = [&](int box) { revealed << box; };
    EXPECT_FALSE(boxes.RefuseTooWide({kCode, kName, kNote}));

    boxes.SetText(kNote, QString(21, 'x'));
    {
        ScriptedResponder user;
        user.answer(ui::Answer::OK);
        EXPECT_TRUE(boxes.RefuseTooWide({kCode, kName, kNote}));
        EXPECT_EQ(user.last().text, TooWideMessage(20));
        EXPECT_EQ(user.last().icon, ui::Icon::Question);
        EXPECT_EQ(user.last().title, SaveWidthTitle());
    }
    EXPECT_EQ(revealed, QList<int>{kNote});
    EXPECT_EQ(QApplication::focusWidget(), boxes.Box(kNote));
    EXPECT_EQ(boxes.Memo(kNote)->textCursor().selectedText(), QString(21, 'x'));

    boxes.SetText(kNote, K("備一"));
    type(kInvoice, "abc");
    {
        ScriptedResponder user;
        user.answer(ui::Answer::OK);
        EXPECT_TRUE(boxes.RefuseUnwritable(K("資料並未存檔。")));
        EXPECT_EQ(user.last().text, UnwritableMessage(K("發票"), "1abc", K("資料並未存檔。")));
    }
    EXPECT_EQ(revealed, (QList<int>{kNote, kInvoice}));
    EXPECT_EQ(QApplication::focusWidget(), boxes.Box(kInvoice));
    boxes.SetText(kInvoice, "3");
    EXPECT_FALSE(boxes.RefuseUnwritable(K("資料並未存檔。")));
}
