// The customer text import: splitting, cutting and reading lines, the field list, the run in one
// transaction, and the wizard window driven end to end.
#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "platform/text/VbText.h"
#include "shell/ImportText.h"
#include "shell/MDIForm1.h"
#include "shell/frmImpDB2.h"
#include "support/CustomerDb.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QProgressDialog>
#include <QStackedWidget>
#include <QTimer>
#include <QTableView>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <QTest>

using namespace textimport;
using testsupport::CustomerDb;
using testsupport::ScriptedResponder;
using testsupport::TempDir;

namespace {

TEST(ImportText, SplitsLinesLikeThePreview)
{
    struct Case {
        QString line, delimiter;
        QStringList columns;
    };
    const Case cases[] = {
        {"甲公司", ",", {"甲公司"}},
        {"a,b,", ",", {"a", "b"}},                 // a trailing delimiter gives no empty column
        {"a,,b", ",", {"a", "", "b"}},
        {",a", ",", {"", "a"}},
        {"a,b,,", ",", {"a", "b", ""}},
        {"a\tb,c\"d", "\t", {"a", "b,c\"d"}},      // quotes mean nothing; commas are text
        {"a  b", " ", {"a", "", "b"}},             // each blank separates
        {"a::b::", "::", {"a", "b"}},
        {"", ",", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitLine(c.line, c.delimiter), c.columns) << c.line.toStdString();
        EXPECT_EQ(CountColumns(c.line, c.delimiter), c.columns.size()) << c.line.toStdString();
    }

    EXPECT_EQ(DelimiterOf("<space>"), " ");
    EXPECT_EQ(DelimiterOf("<tab>"), "\t");
    EXPECT_EQ(DelimiterOf(";;"), ";;");
    EXPECT_EQ(DelimiterOf(""), "");
}

// A preview shows at most 32768 columns: a line with one more is the first too wide.
TEST(ImportText, TheFirstLineWiderThanAPreviewIsFound)
{
    const auto columns = [](qsizetype n) { return QString(n - 1, QLatin1Char(',')) + QLatin1Char('x'); };
    struct Case {
        QStringList lines;
        long line;  // 0: none too wide
        qsizetype count;
    };
    const Case cases[] = {
        {{"a,b", columns(32768), columns(32768) + ","}, 0, 0},
        {{"a,b", "", columns(32769), columns(40000)}, 3, 32769},
        {{columns(74490)}, 1, 74490},
    };
    for (const Case& c : cases) {
        const std::optional<WideLine> wide = FirstTooWideLine(c.lines, ",");
        EXPECT_EQ(wide ? wide->line : 0, c.line);
        EXPECT_EQ(wide ? wide->columns : 0, c.count);
    }
    EXPECT_EQ(TooWideLineMessage({1, 74490}), "第 1 行有 74490 個欄位，預覽最多只能對應 32768 個欄位，無法轉換。");
}

TEST(ImportText, GetWordCountsBytesAndNeverSplitsACharacter)
{
    struct Case {
        QString text;
        short position, count;
        QString word;
        short after;
    };
    const Case cases[] = {
        {"abcdef", 1, 4, "abcd", 5},
        {"台北市", 1, 4, "台北", 3},
        {"台北市", 1, 5, "台北", 3},     // half a character is left out
        {"A台北", 1, 2, "A", 2},
        {"A台北", 2, 4, "台北", 4},
        {"台北", 1, 0, "", 1},
        {"ab", 1, 8, "ab", 3},
    };
    for (const Case& c : cases) {
        short position = c.position;
        EXPECT_EQ(GetWord(c.text, position, c.count), c.word) << c.text.toStdString() << " " << c.count;
        EXPECT_EQ(position, c.after) << c.text.toStdString() << " " << c.count;
    }
}

TEST(ImportText, ReadsUtf8OrCodePage950WithAnyLineEnd)
{
    const QString text = QStringLiteral("台北,02-1234\r\n\r\n高雄,07-5678\n最後一行");
    const QStringList expected = {"台北,02-1234", "", "高雄,07-5678", "最後一行"};
    EXPECT_EQ(SplitTextLines(vb::ToCp950(text)).lines, expected);
    EXPECT_EQ(SplitTextLines(text.toUtf8()).lines, expected);
    EXPECT_EQ(SplitTextLines(QByteArray("\xEF\xBB\xBF") + text.toUtf8() + "\r\n").lines, expected);
    // CR alone ends a line too, in either encoding.
    const QString crOnly = QStringLiteral("甲公司,1\r乙公司,2\r\r丙公司,3\r");
    const QStringList three = {"甲公司,1", "乙公司,2", "", "丙公司,3"};
    EXPECT_EQ(SplitTextLines(vb::ToCp950(crOnly)).lines, three);
    EXPECT_EQ(SplitTextLines(crOnly.toUtf8()).lines, three);
    EXPECT_EQ(ReadTextLines(QStringLiteral("/nonexistent/file.txt")).status, TextLines::CannotOpen);
}

TEST(ImportText, AFileMixingUtf8AndBig5LinesIsReadLineByLine)
{
    // One line pasted from a UTF-8 file into a Big5 one: each line keeps its own text.
    const QByteArray mixed = vb::ToCp950(QStringLiteral("台北市,忠孝東路\r\n")) + QStringLiteral("高雄市,中山路\r\n").toUtf8() +
                             vb::ToCp950(QStringLiteral("臺中市,公益路"));
    const TextLines read = SplitTextLines(mixed);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.lines, (QStringList{"台北市,忠孝東路", "高雄市,中山路", "臺中市,公益路"}));

    // A line that is neither is refused by its number, never stored garbled.
    const QByteArray bad = vb::ToCp950(QStringLiteral("台北市\n")) + QByteArray("ok\n") + QByteArray("\x80\xFF\xFE,x\n");
    const TextLines refused = SplitTextLines(bad);
    EXPECT_EQ(refused.status, TextLines::BadLine);
    EXPECT_EQ(refused.badLine, 3);
    EXPECT_TRUE(refused.lines.isEmpty());
    EXPECT_EQ(BadLineMessage(3), "第 3 行的文字既不是 UTF-8 也不是 Big5，無法轉換。");

    // Reading can be stopped part way.
    QByteArray many;
    for (int i = 0; i < 5000; ++i)
        many += "a,b\n";
    int calls = 0;
    const TextLines stopped = SplitTextLines(many, [&](qint64 done, qint64 total) {
        EXPECT_LE(done, total);
        return ++calls < 2;
    });
    EXPECT_EQ(stopped.status, TextLines::Cancelled);
    EXPECT_EQ(calls, 2);
}

class ImportRun : public CustomerDb {
protected:
    // Runs the import of the lines with one caption per previewed column.
    ImportOutcome run(const QStringList& lines, const QStringList& captions, const QString& delimiter = ",")
    {
        fields = GetFields(gConn, QStringLiteral("RV12"));
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT *FROM RV12"), gConn, db::adOpenDynamic, db::adLockPessimistic);
        return ImportLines(rs, fields, lines, delimiter, captions);
    }
    QVector<ImportField> fields;
};

TEST_F(ImportRun, FieldListCaptionsWidthsAndTheChooser)
{
    fields = GetFields(gConn, QStringLiteral("RV12"));
    ASSERT_EQ(fields.last().name, QStringLiteral("總序"));
    auto field = [&](const QString& name) {
        for (const ImportField& f : fields)
            if (f.name == name)
                return f;
        return ImportField{};
    };
    EXPECT_EQ(field("RV121").caption, "客戶簡稱");
    EXPECT_EQ(field("RV121").width, 10);
    EXPECT_EQ(field("RV1213").width, 255);   // memo
    EXPECT_EQ(field("發票狀況").width, 8);   // small integer
    EXPECT_EQ(field("類別").caption, "類別");
    EXPECT_EQ(CheangChineseName("rv1217"), "網址");

    const QStringList all = ChooserCaptions(fields);
    EXPECT_EQ(all.size(), fields.size() - 1);
    EXPECT_FALSE(all.contains("總序"));
    const QStringList rest = ChooserCaptions(fields, {"客戶簡稱", "電話"});
    EXPECT_EQ(rest.size(), all.size() - 2);
    EXPECT_FALSE(rest.contains("客戶簡稱"));

    EXPECT_EQ(GetFieldID(fields, "客戶代號"), 0);
    EXPECT_EQ(GetFieldID(fields, "總序"), 1000);
    EXPECT_EQ(GetFieldID(fields, "電話 "), 1000);
}

TEST_F(ImportRun, MapsCutsConvertsAndNumbersEveryLine)
{
    gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121) Values ('000007', '舊客戶')"));
    const QStringList lines = {
        // code (overwritten), short name (over-long Chinese), dropped, a Long number, address
        "X1\t台灣大哥大股份有限公司\tskip\t12abc\t台北市\"信義\"路, 5 段",
        "",
        "X2\t甲乙\tskip\t123456789",     // fewer columns: the address keeps its default
        "X3\tA台北市政府\t\tno number\t高雄市",
        "X4\tA台北市政府都市發展局",  // the last column of its line: cut to 10 characters
    };
    const ImportOutcome outcome = run(lines, {"客戶代號", "客戶簡稱", "", "建檔日", "公司地址"}, "\t");
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.added, 4);
    EXPECT_EQ(ResultMessage(outcome), "新增 4 筆記錄。失敗0 筆記錄。");
    EXPECT_FALSE(gConn.InTransaction());
    EXPECT_EQ(rows("Select RV120, RV121, 建檔日, RV128 From RV12 Where RV120 > '000007' Order By RV120"),
              (QStringList{"000008|台灣大哥大|12|台北市\"信義\"路, 5 段",
                           "000009|甲乙|12345678|",
                           "000010|A台北市政|0|高雄市",
                           "000011|A台北市政府都市發展||"}));
}

TEST_F(ImportRun, AnyFailingLineRollsTheWholeFileBack)
{
    struct Case {
        QStringList lines;
        QStringList captions;
        QString error;
    };
    const Case cases[] = {
        {{"甲,02", "乙,03,多一欄"}, {"客戶簡稱", "電話"}, "第 2 行有 3 個欄位，比預覽的 2 個欄位多"},
        {{"甲,02"}, {"客戶簡稱", "手機"}, "「手機」不是資料庫的欄位"},
        {{"甲,02"}, {"客戶簡稱", "總序"}, "「總序」不是資料庫的欄位"},
    };
    for (const Case& c : cases) {
        const ImportOutcome outcome = run(c.lines, c.captions);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(count("RV12"), 0);
        EXPECT_FALSE(gConn.InTransaction());
    }
    EXPECT_EQ(FailureMessage("錯誤"), "錯誤\n\r請修正後再試一次");
}

TEST_F(ImportRun, AStoppedRunRollsBackAndReportsItsProgress)
{
    gConn.Execute(QStringLiteral("Insert Into RV12 (RV120, RV121) Values ('000007', '舊客戶')"));
    QStringList lines;
    for (int i = 0; i < 1000; ++i)
        lines << QStringLiteral("客戶%1").arg(i);
    fields = GetFields(gConn, QStringLiteral("RV12"));
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT *FROM RV12"), gConn, db::adOpenDynamic, db::adLockPessimistic);
    qint64 last = 0;
    const ImportOutcome stopped = ImportLines(rs, fields, lines, ",", {"客戶簡稱"}, [&](qint64 done, qint64 total) {
        EXPECT_EQ(total, 1000);
        EXPECT_GT(done, last);
        last = done;
        return done < 512;
    });
    EXPECT_FALSE(stopped.ok);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(last, 512);
    EXPECT_FALSE(gConn.InTransaction());
    EXPECT_EQ(rows("Select RV120 From RV12"), QStringList{"000007"});

    // Run to the end, the last call reports the whole file.
    rs.Requery();
    const ImportOutcome done = ImportLines(rs, fields, lines, ",", {"客戶簡稱"}, [&](qint64 d, qint64) {
        last = d;
        return true;
    });
    ASSERT_TRUE(done.ok) << done.error.toStdString();
    EXPECT_EQ(last, 1000);
    EXPECT_EQ(count("RV12"), 1001);
    EXPECT_EQ(GetCustomerNewNo(), "01008");
}

TEST_F(ImportRun, TenThousandLinesInCodePage950AndUtf8GiveTheSameRows)
{
    QStringList lines;
    for (int i = 1; i <= 10000; ++i)
        lines << QStringLiteral("捷錄%1號科技股份有限公司,(02)2345-%1,台北市中正區重慶南路一段%1號,備註：第%1筆")
                     .arg(i);
    const QStringList captions = {"客戶簡稱", "電話", "公司地址", "備註說明"};
    const QString select = QStringLiteral("Select RV120, RV121, RV123, RV128, RV1213 From RV12 Order By RV120");

    TempDir dir;
    const QString big5 = dir.write("big5.txt", vb::ToCp950(lines.join("\r\n") + "\r\n"));
    const QString utf8 = dir.write("utf8.txt", (lines.join("\n")).toUtf8());

    QStringList first;
    for (const QString& file : {big5, utf8}) {
        gConn.Execute(QStringLiteral("Delete From RV12"));
        const TextLines read = ReadTextLines(file);
        ASSERT_TRUE(read.ok());
        QElapsedTimer timer;
        timer.start();
        const ImportOutcome outcome = run(read.lines, captions);
        const qint64 ms = std::max<qint64>(timer.elapsed(), 1);
        ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
        EXPECT_EQ(outcome.added, 10000);
        std::cout << "[ import ] " << file.section('/', -1).toStdString() << ": 10000 rows in " << ms << " ms, "
                  << (10000 * 1000 / ms) << " rows/s\n";
        const QStringList got = rows(select);
        if (first.isEmpty())
            first = got;
        else
            EXPECT_EQ(got, first);
    }
    ASSERT_EQ(first.size(), 10000);
    EXPECT_EQ(first.first(), "000001|捷錄1號科|(02)2345-1|台北市中正區重慶南路一段1號|備註：第1筆");
    EXPECT_EQ(first.last().section('|', 0, 1), "10000|捷錄10000");
    for (const QString& row : first)
        ASSERT_LE(vb::ByteLen(row.section('|', 1, 1)), 10) << row.toStdString();
}

// ---- The window -------------------------------------------------------------------------------

class ImportWindow : public CustomerDb {};

TEST_F(ImportWindow, PreviewMapAndRun)
{
    ScriptedResponder user;
    frmImpDB2 window;
    EXPECT_EQ(window.txtTextFile->text(), folder.file("test1.txt"));
    EXPECT_EQ(window.cboDelimiter->currentText(), ",");
    EXPECT_EQ(window.Combo2->currentText(), "客戶資料管理");
    EXPECT_EQ(window.Pages->currentIndex(), 0);

    // Browse: a cancel keeps the path, a choice replaces it.
    const QString file = folder.write("customers.txt", vb::ToCp950("甲公司,02-1111,台北市\r\n乙公司,03-2222\r\n"));
    user.openFile("");
    window.Command4->click();
    EXPECT_EQ(window.txtTextFile->text(), folder.file("test1.txt"));
    user.openFile(file);
    window.Command4->click();
    EXPECT_EQ(window.txtTextFile->text(), file);
    EXPECT_EQ(user.fileDialogTitles, QStringList(2, "選取要轉換的文字檔"));

    window.Command1->click();
    EXPECT_TRUE(window.Command1->isHidden());
    ASSERT_EQ(window.Text1.size(), 3u);
    EXPECT_EQ(window.Text1[2]->text(), "台北市");
    EXPECT_EQ(window.LastColumnIndex, 2);

    // The chooser offers what no other column took, never the identity column.
    window.Text2[0]->setText("客戶簡稱");
    window.Text2_GotFocus(1);
    QStringList offered;
    for (int i = 0; i < window.Combo1->count(); ++i)
        offered << window.Combo1->itemText(i);
    EXPECT_FALSE(offered.contains("客戶簡稱"));
    EXPECT_FALSE(offered.contains("總序"));
    EXPECT_TRUE(offered.contains("電話"));
    window.Combo1->setEditText("電話");
    window.Combo1_LostFocus();
    EXPECT_EQ(window.Text2[1]->text(), "電話");

    user.answer(ui::Answer::OK);
    window.cmdImport->click();
    EXPECT_EQ(user.texts(), QStringList{"新增 2 筆記錄。失敗0 筆記錄。"});
    EXPECT_EQ(rows("Select RV120, RV121, RV123, RV128 From RV12 Order By RV120"),
              (QStringList{"000001|甲公司|02-1111|", "000002|乙公司|03-2222|"}));
    EXPECT_EQ(window.Pages->currentIndex(), 3);
    EXPECT_TRUE(window.cmdImport->isHidden());
    EXPECT_FALSE(window.Command5->isHidden());
    EXPECT_EQ(window.DataGrid2->model()->rowCount(), 2);
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
}

TEST_F(ImportWindow, FailuresAreReportedAndLeaveTheRunButton)
{
    const QString file = folder.write("c.txt", QByteArray("甲,1\n乙,2,3\n"));
    struct Case {
        QString path, delimiter;
        QString message;
    };
    const Case cases[] = {
        {file, "", "請選擇分隔符號。"},
        {folder.file("missing.txt"), ",", "開啟文字檔錯誤。"},
        {file, ",", "第 2 行有 3 個欄位，比預覽的 2 個欄位多\n\r請修正後再試一次"},
    };
    for (const Case& c : cases) {
        ScriptedResponder user;
        frmImpDB2 window;
        window.txtTextFile->setText(file);
        window.Command1->click();
        window.Text2[0]->setText("客戶簡稱");
        window.txtTextFile->setText(c.path);
        window.cboDelimiter->setEditText(c.delimiter);
        user.answer(ui::Answer::OK);
        window.cmdImport->click();
        EXPECT_EQ(user.texts(), QStringList{c.message});
        EXPECT_FALSE(window.cmdImport->isHidden());
        EXPECT_EQ(count("RV12"), 0);
        EXPECT_EQ(ui::WaitCursorDepth(), 0);
    }
}

TEST_F(ImportWindow, TheRunCanBeStoppedFromItsProgressWindow)
{
    QByteArray text;
    for (int i = 0; i < 600; ++i)
        text += vb::ToCp950(QStringLiteral("客戶%1,02-%1\r").arg(i));  // CR alone ends each line
    const QString file = folder.write("many.txt", text);
    ScriptedResponder user;
    frmImpDB2 window;
    window.txtTextFile->setText(file);
    window.Command1->click();
    window.Text2[0]->setText("客戶簡稱");
    QTimer::singleShot(0, &window, [&] {
        ASSERT_TRUE(window.Progress1);
        window.Progress1->cancel();
    });
    user.answer(ui::Answer::OK);
    window.cmdImport->click();
    EXPECT_EQ(user.texts(), QStringList{"轉換已取消，資料並未轉入。"});
    EXPECT_EQ(count("RV12"), 0);
    EXPECT_FALSE(window.cmdImport->isHidden());
    EXPECT_FALSE(window.Progress1->isVisible());

    // Run again to the end: every CR-ended line is a customer.
    user.answer(ui::Answer::OK);
    window.cmdImport->click();
    EXPECT_EQ(user.texts().last(), "新增 600 筆記錄。失敗0 筆記錄。");
    EXPECT_EQ(count("RV12"), 600);
}

// A responder that keeps the event loop running while a message is up, as a real message box
// does, and notes whether a progress window came up meanwhile (over the message, hiding it).
class LingeringResponder : public ScriptedResponder {
public:
    ui::Answer onMessage(const ui::MessageCall& call) override
    {
        QTest::qWait(700);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(w) && w->isVisible())
                progressOverMessage = true;
        return ScriptedResponder::onMessage(call);
    }
    bool progressOverMessage = false;
};

// A file of random bytes is refused at once, by preview and by run, and no progress window
// stays up over the refusal waiting for 取消.
TEST_F(ImportWindow, AFileOfRandomBytesIsRefusedAtOnce)
{
    std::mt19937 random(41);
    QByteArray bytes("\xff\x80");
    for (int i = 0; i < 200000; ++i)
        bytes += char(random() & 0xff);
    const QString file = folder.write("random.bin", bytes);
    const QString good = folder.write("good.txt", QByteArray("甲,1\n"));
    for (bool run : {false, true}) {
        LingeringResponder user;
        frmImpDB2 window;
        window.show();
        window.txtTextFile->setText(run ? good : file);
        if (run) {
            window.Command1->click();
            window.Text2[0]->setText("客戶簡稱");
            window.txtTextFile->setText(file);
        }
        user.answer(ui::Answer::OK);
        QElapsedTimer clock;
        clock.start();
        (run ? window.cmdImport : window.Command1)->click();
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_EQ(user.texts(), QStringList{BadLineMessage(1)});
        EXPECT_FALSE(user.progressOverMessage) << (run ? "run" : "preview");
        EXPECT_FALSE(window.Progress1 && window.Progress1->isVisible());
        EXPECT_EQ(run ? window.cmdImport->isHidden() : window.Command1->isHidden(), false);
        EXPECT_EQ(count("RV12"), 0);
    }
}

namespace {

// The resident memory of this process, in kB.
long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

}  // namespace

// A line of 74,490 columns (1.5 MB of commas and text), first or further down the file: the
// preview and the run refuse the file at once, naming the line and its count; no box is made
// for it and memory stays where it was.
TEST_F(ImportWindow, ALineWiderThanThePreviewIsRefusedAtOnce)
{
    QByteArray wide;
    for (int i = 1; i < 74490; ++i)
        wide += "abcdefghijklmnopqrs,";
    wide += "end";
    ASSERT_GT(wide.size(), 1400000);
    const QString first = folder.write("wide1.txt", wide + "\n甲,1\n");
    const QString third = folder.write("wide3.txt", "甲,1\n乙,2\n" + wide + "\n");
    const QString good = folder.write("good.txt", QByteArray("甲,1\n"));
    struct Case {
        QString file;
        bool run;
        int line;
    };
    const Case cases[] = {{first, false, 1}, {third, false, 3}, {third, true, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + (c.run ? " run" : " preview"));
        ScriptedResponder user;
        frmImpDB2 window;
        window.show();
        window.txtTextFile->setText(c.run ? good : c.file);
        if (c.run) {
            window.Command1->click();
            window.Text2[0]->setText("客戶簡稱");
            window.txtTextFile->setText(c.file);
        }
        const long before = ResidentKb();
        user.answer(ui::Answer::OK);
        QElapsedTimer clock;
        clock.start();
        (c.run ? window.cmdImport : window.Command1)->click();
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_LT(ResidentKb() - before, 100 * 1024);
        EXPECT_EQ(user.texts(), QStringList{TooWideLineMessage({c.line, 74490})});
        EXPECT_LE(window.Text1.size(), 2u);
        EXPECT_FALSE((c.run ? window.cmdImport : window.Command1)->isHidden());
        EXPECT_EQ(count("RV12"), 0);
    }
}

// Each opening from the menu is a fresh window, also when the one closed a moment ago has not
// been deleted yet: the preview and the run button are back, no old preview.
TEST_F(ImportWindow, EveryOpeningIsAFreshWindow)
{
    const QString file = folder.write("one.txt", QByteArray("甲,1\n"));
    ScriptedResponder user;
    MDIForm1 main;
    const auto shown = [&] {
        frmImpDB2* found = nullptr;
        for (frmImpDB2* w : main.findChildren<frmImpDB2*>())
            if (w->isVisible())
                found = w;
        return found;
    };
    main.ShowImport();
    frmImpDB2* first = shown();
    ASSERT_NE(first, nullptr);
    first->txtTextFile->setText(file);
    first->Command1->click();
    first->Text2[0]->setText("客戶簡稱");
    user.answer(ui::Answer::OK);
    first->cmdImport->click();
    ASSERT_FALSE(first->Command5->isHidden());
    first->Command5->click();
    EXPECT_EQ(shown(), nullptr);

    main.ShowImport();
    frmImpDB2* second = shown();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(second->Command1->isHidden());
    EXPECT_FALSE(second->cmdImport->isHidden());
    EXPECT_EQ(second->Text1.size(), 1u);
    EXPECT_TRUE(second->Text1[0]->text().isEmpty());
    EXPECT_EQ(second->Pages->currentIndex(), 0);
}

}  // namespace
