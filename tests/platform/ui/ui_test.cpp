#include "platform/ui/Ui.h"
#include "support/Responder.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using testsupport::ScriptedResponder;
using ui::Answer;
using ui::Buttons;

TEST(MsgBox, RecordsTextButtonsIconAndDefaultTitle)
{
    ScriptedResponder r;
    r.answer(Answer::Yes).answer(Answer::OK);
    EXPECT_EQ(ui::MsgBox(QStringLiteral("確定要刪除?"), Buttons::YesNo, ui::Icon::Question), Answer::Yes);
    EXPECT_EQ(ui::MsgBox(QStringLiteral("存檔完畢"), Buttons::OK, ui::Icon::None, QStringLiteral("環境設定")), Answer::OK);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, QStringLiteral("確定要刪除?"));
    EXPECT_EQ(r.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(r.messages[0].icon, ui::Icon::Question);
    EXPECT_EQ(r.messages[0].title, ui::DefaultTitle());
    EXPECT_EQ(r.last().title, QStringLiteral("環境設定"));
}

TEST(MsgBox, UnscriptedBoxFailsWithItsTextAndAnswersTheWayOut)
{
    // A nested responder so the expected failure is caught here.
    const struct { Buttons buttons; Answer safe; } cases[] = {
        {Buttons::OK, Answer::OK},          {Buttons::OKCancel, Answer::Cancel},
        {Buttons::YesNo, Answer::No},       {Buttons::YesNoCancel, Answer::Cancel},
        {Buttons::AbortRetryIgnore, Answer::Abort},
    };
    for (const auto& c : cases) {
        Answer got{};
        const QStringList failures = testsupport::CaptureFailures([&] {
            ScriptedResponder r;
            got = ui::MsgBox(QStringLiteral("沒有劇本的訊息"), c.buttons);
        });
        ASSERT_EQ(failures.size(), 1);
        EXPECT_TRUE(failures[0].contains(QStringLiteral("沒有劇本的訊息"))) << failures[0].toStdString();
        EXPECT_EQ(got, c.safe);
    }
    // The binary's own default responder refuses boxes too.
    const QStringList failures = testsupport::CaptureFailures([] { ui::MsgBox(QStringLiteral("無人回答")); });
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("無人回答")));
}

TEST(MsgBox, UnusedScriptedAnswerFailsTheTest)
{
    const QStringList failures = testsupport::CaptureFailures([] {
        ScriptedResponder r;
        r.answer(Answer::OK);
    });
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("never used")));
}

// The production box under the offscreen platform: the right buttons and title, the line
// break shown as one, and the clicked button's answer returned.
TEST(MsgBox, ProductionBoxShowsButtonsAndReturnsTheClick)
{
    ui::Responder* saved = ui::SetResponder(nullptr);
    const struct { Buttons buttons; QStringList labels; QMessageBox::StandardButton click; Answer expect; } cases[] = {
        {Buttons::OK, {"OK"}, QMessageBox::Ok, Answer::OK},
        {Buttons::YesNo, {"Yes", "No"}, QMessageBox::No, Answer::No},
        {Buttons::YesNoCancel, {"Yes", "No", "Cancel"}, QMessageBox::Cancel, Answer::Cancel},
        {Buttons::AbortRetryIgnore, {"Abort", "Retry", "Ignore"}, QMessageBox::Retry, Answer::Retry},
    };
    for (const auto& c : cases) {
        QString seenTitle, seenText;
        int seenButtons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenButtons = box->buttons().size();
            box->button(c.click)->click();
        });
        EXPECT_EQ(ui::MsgBox(QStringLiteral("第一行\r\n第二行"), c.buttons), c.expect);
        EXPECT_EQ(seenTitle, ui::DefaultTitle());
        EXPECT_EQ(seenText, QStringLiteral("第一行\n第二行"));
        EXPECT_EQ(seenButtons, c.labels.size());
    }
    ui::SetResponder(saved);
}

// A short message under a long title: the shown box is wide enough for the whole title in a
// window manager's 12-point bold title font, beside the frame's icon and buttons.
TEST(MsgBox, ShortMessageBoxIsWideEnoughForItsTitle)
{
    ui::Responder* saved = ui::SetResponder(nullptr);
    QFont titleFont = QApplication::font();
    titleFont.setPointSizeF(12);
    titleFont.setBold(true);
    const struct { const char* text; const char* title; } cases[] = {
        {"查無資料", ""}, {"編號重複001", ""}, {"轉存完畢", ""}, {"e-mail 是空的", ""},
        {"確定", "錯誤代號3022"}, {"x", "郵寄標籤列印微調 Tessarine 捷錄人事管理系統"},
    };
    for (const auto& c : cases) {
        const QString title = QString::fromUtf8(c.title);
        int shownWidth = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shownWidth = box->width();
            box->button(QMessageBox::Ok)->click();
        });
        ui::MsgBox(QString::fromUtf8(c.text), Buttons::OK, ui::Icon::None, title);
        const QString shown = title.isEmpty() ? ui::DefaultTitle() : title;
        EXPECT_GE(shownWidth, ui::TitleBarWidth(shown)) << c.text;
        // Room for the title itself and at least an icon and a close button.
        EXPECT_GE(ui::TitleBarWidth(shown), QFontMetrics(titleFont).horizontalAdvance(shown) + 40) << c.text;
    }
    ui::SetResponder(saved);
}

TEST(Dialogs, InputFilesFontAndModalAnswerFromTheScript)
{
    ScriptedResponder r;
    r.input(QStringLiteral("A001")).openFile(QStringLiteral("/tmp/a.txt")).saveFile(QString())
        .folder(QStringLiteral("/tmp")).font(std::nullopt);
    EXPECT_EQ(ui::InputBox(QStringLiteral("請輸入編號")), QStringLiteral("A001"));
    EXPECT_EQ(ui::GetOpenFileName(QStringLiteral("開啟"), QString(), QString()), QStringLiteral("/tmp/a.txt"));
    EXPECT_EQ(ui::GetSaveFileName(QStringLiteral("另存"), QString(), QString()), QString());
    EXPECT_EQ(ui::GetFolder(QStringLiteral("資料夾"), QString()), QStringLiteral("/tmp"));
    QFont f;
    EXPECT_FALSE(ui::GetFont(f));
    EXPECT_EQ(r.inputPrompts, QStringList{QStringLiteral("請輸入編號")});

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("尋找"));
    r.modal([](QDialog* d) {
        d->setObjectName(QStringLiteral("filled"));
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(ui::ShowModal(&dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("filled"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    QDialog other;
    other.setWindowTitle(QStringLiteral("沒有劇本"));
    int result = -1;
    const QStringList failures = testsupport::CaptureFailures([&] { result = ui::ShowModal(&other); });
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("沒有劇本")));
}

TEST(Seams, ClockBeepEndAndWaitCursor)
{
    ScriptedResponder r;
    ui::SetToday(QDate(2024, 2, 29));
    EXPECT_EQ(ui::Today(), QDate(2024, 2, 29));
    EXPECT_EQ(ui::Now().date(), QDate(2024, 2, 29));
    ui::SetNow(QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
    ui::SetToday(QDate());
    EXPECT_EQ(ui::Today(), QDate(2025, 1, 2));
    ui::SetNow(QDateTime());
    EXPECT_EQ(ui::Today(), QDate::currentDate());

    ui::Beep();
    ui::Beep();
    ui::EndProcess(3);
    EXPECT_EQ(r.beeps, 2);
    EXPECT_EQ(r.endCodes, std::vector<int>{3});

    EXPECT_EQ(ui::WaitCursorDepth(), 0);
    {
        ui::WaitCursor outer;
        {
            ui::WaitCursor inner;
            EXPECT_EQ(ui::WaitCursorDepth(), 2);
            EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_EQ(ui::WaitCursorDepth(), 1);
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Steps 0..3; step 1 fails until it has been tried `failures` times.
struct StepScript {
    QStringList log;
    int failures = 0;
    std::vector<ui::Step> steps()
    {
        std::vector<ui::Step> s;
        for (int i = 0; i < 4; ++i)
            s.push_back([this, i] {
                if (i == 1 && failures-- > 0) {
                    log << QStringLiteral("fail1");
                    throw std::runtime_error("disk full");
                }
                log << QStringLiteral("ok%1").arg(i);
            });
        return s;
    }
};

TEST(RunSteps, AbortRetryIgnore)
{
    const auto describe = [](const std::exception& e) { return QStringLiteral("錯誤: ") + QString::fromUtf8(e.what()); };
    const struct {
        std::vector<Answer> answers;
        int failures;
        bool finished;
        QStringList log;
    } cases[] = {
        {{}, 0, true, {"ok0", "ok1", "ok2", "ok3"}},
        {{Answer::Retry}, 1, true, {"ok0", "fail1", "ok1", "ok2", "ok3"}},
        {{Answer::Retry, Answer::Retry}, 2, true, {"ok0", "fail1", "fail1", "ok1", "ok2", "ok3"}},
        {{Answer::Ignore}, 1, true, {"ok0", "fail1", "ok2", "ok3"}},
        {{Answer::Abort}, 1, false, {"ok0", "fail1"}},
        {{Answer::Retry, Answer::Abort}, 5, false, {"ok0", "fail1", "fail1"}},
    };
    for (const auto& c : cases) {
        ScriptedResponder r;
        for (Answer a : c.answers)
            r.answer(a);
        StepScript s;
        s.failures = c.failures;
        EXPECT_EQ(ui::RunSteps(s.steps(), describe, QStringLiteral("備份")), c.finished);
        EXPECT_EQ(s.log, c.log);
        ASSERT_EQ(r.messages.size(), c.answers.size());
        for (const auto& m : r.messages) {
            EXPECT_EQ(m.text, QStringLiteral("錯誤: disk full"));
            EXPECT_EQ(m.buttons, Buttons::AbortRetryIgnore);
            EXPECT_EQ(m.title, QStringLiteral("備份"));
        }
    }
}

TEST(RunSteps, StepErrorTextIsShownAsItIs)
{
    ScriptedResponder r;
    r.answer(Answer::Ignore);
    EXPECT_TRUE(ui::RunSteps({[] { throw ui::StepError{QStringLiteral("狀況在 載入員工清單")}; }}, nullptr));
    EXPECT_EQ(r.last().text, QStringLiteral("狀況在 載入員工清單"));
    EXPECT_EQ(r.last().title, ui::DefaultTitle());
}
