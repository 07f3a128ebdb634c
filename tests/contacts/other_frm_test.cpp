// The personal-contact window and its find window driven as a user drives them, against a
// real database file.
#include "contacts/OtherFindFrm.h"
#include "contacts/OtherFrm.h"
#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "platform/db/Db.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/AccessKeys.h"
#include "shell/MDIForm1.h"
#include "support/CustomerDb.h"
#include "support/FileLocker.h"
#include "support/LayerFaults.h"
#include "support/ListedColumn.h"
#include "support/RecordingSink.h"
#include "support/Responder.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::ScriptedResponder;

namespace {

class ContactWindow : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        gOtherFindWhere.clear();
        testsupport::CustomerDb::SetUp();
    }
    void TearDown() override
    {
        testsupport::CustomerDb::TearDown();
    }

    static void add(const QString& number, const QString& name, const QString& category = QString(),
                    const QString& photo = QString())
    {
        gConn.Execute(QStringLiteral("Insert Into RV18A (RV18A1, RV18A2, 類別, RV18A14) Values (?, ?, ?, ?)"),
                      {number, name, category, photo});
    }

    std::unique_ptr<OtherFrm> open()
    {
        auto w = std::make_unique<OtherFrm>();
        w->show();
        QApplication::processEvents();
        return w;
    }

    static QStringList listed(OtherFrm& w) { return testsupport::ListedColumn(w.ListRs(), QStringLiteral("RV18A1")); }

    // Saves through the button; the new add that follows a saved add is left with 放棄.
    static void save(OtherFrm& w) { w.Command2[5]->click(); }

    QString photoFile(const QString& name)
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        const QString path = folder.file(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    testsupport::RecordingSink sink;
};

}  // namespace

TEST_F(ContactWindow, EmptyTableOpensWithNothingToFindChangeOrDelete)
{
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("個人通訊管理"));
    EXPECT_EQ(w->ListRs().RecordCount(), 0);
    for (int i : {0, 2, 4})
        EXPECT_FALSE(w->Command2[size_t(i)]->isEnabled()) << i;
    EXPECT_TRUE(w->Picture3->pixmap().isNull());
    // A quick find on the empty list does nothing.
    w->DataCombo2[1]->setEditText(QStringLiteral("王"));
    EXPECT_EQ(sink.status, QString());
}

TEST_F(ContactWindow, AddsNumberedContactsOneAfterAnother)
{
    auto w = open();
    w->Command2[1]->click();
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001"));
    EXPECT_FALSE(w->Command2[5]->isEnabled());  // no name yet
    w->SetBoxText(2, QStringLiteral("王小明"));
    EXPECT_TRUE(w->Command2[5]->isEnabled());
    w->SetBoxText(8, QStringLiteral("02-2345"));
    save(*w);
    // The next contact starts at once with the next number.
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("002"));
    EXPECT_TRUE(w->BoxText(2).isEmpty());
    w->SetBoxText(2, QStringLiteral("林"));
    save(*w);
    EXPECT_EQ(w->BoxText(1), QStringLiteral("003"));
    // Leaving the untouched third one asks nothing.
    w->Command2[6]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("Select RV18A1, RV18A2, RV18A9 From RV18A Order By RV18A1")),
              QStringList({"001|王小明|02-2345", "002|林|"}));
    EXPECT_EQ(listed(*w), QStringList({"002", "001"}));  // by name
    EXPECT_TRUE(w->Command2[2]->isEnabled());
}

// A number typed into its box and saved straight from there, by Alt+S or by a click on 存檔: the
// save check's two messages, and the focus back in the number box.
TEST_F(ContactWindow, DuplicateNumberSavedFromItsBoxGivesBothMessages)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    w->activateWindow();
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "Alt+S" : "click");
        w->Command2[1]->click();
        w->SetBoxText(2, QStringLiteral("陳"));
        w->Text1[1]->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), w->Text1[1]);
        w->SetBoxText(1, QStringLiteral("001"));
        {
            ScriptedResponder r;
            r.answer(ui::Answer::OK).answer(ui::Answer::OK);
            if (byKey) {
                QKeyEvent alt(QEvent::KeyPress, Qt::Key_S, Qt::AltModifier, QStringLiteral("s"));
                EXPECT_TRUE(PressAccessKey(w.get(), &alt));
            } else {
                QTest::mouseClick(w->Command2[5], Qt::LeftButton);
            }
            QApplication::processEvents();
            EXPECT_EQ(r.texts(), QStringList({"編號重複001", "編號重複"}));
            EXPECT_EQ(r.last().title, ui::DefaultTitle());
        }
        EXPECT_EQ(QApplication::focusWidget(), w->Text1[1]);
        EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
        EXPECT_EQ(count(QStringLiteral("RV18A")), 1);
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2[6]->click();  // 確定要放棄嗎?
        ASSERT_TRUE(w->EditMode.isEmpty());
    }
}

TEST_F(ContactWindow, SaveNeedsNumberAndNameAndRefusesADuplicateNumberWithTwoMessages)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    w->Command2[1]->click();
    EXPECT_EQ(w->BoxText(1), QStringLiteral("002"));
    w->SetBoxText(2, QStringLiteral("  "));
    EXPECT_FALSE(w->Command2[5]->isEnabled());
    w->SetBoxText(2, QStringLiteral("陳"));
    w->SetBoxText(1, QStringLiteral("001"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK).answer(ui::Answer::OK);
        save(*w);
        EXPECT_EQ(r.texts(), QStringList({"編號重複001", "編號重複"}));
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(count(QStringLiteral("RV18A")), 1);
    // One byte over a box's limit: the width message, the box selected.
    w->SetBoxText(1, QStringLiteral("002"));
    w->SetBoxText(3, QString(26, QChar('x')));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        save(*w);
        EXPECT_EQ(r.texts(), QStringList({"'欄位資料過長,請不要超過25個字元(一個中文字算2個字元)"}));
        EXPECT_EQ(r.last().title, QStringLiteral("取消存檔"));
    }
    EXPECT_EQ(w->Box(3)->selectedText().size(), 26);
    // The remarks box is on the second page, which comes to the front.
    w->SetBoxText(3, QString(25, QChar('x')));
    w->SetBoxText(18, QString(128, QChar(0x738B)));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        save(*w);
        EXPECT_EQ(r.texts(), QStringList({"'欄位資料過長,請不要超過255個字元(一個中文字算2個字元)"}));
    }
    EXPECT_EQ(w->TabStrip1->currentIndex(), 1);
    w->SetBoxText(18, QString());
    save(*w);
    w->Command2[6]->click();
    EXPECT_EQ(count(QStringLiteral("RV18A")), 2);
}

// A value the record cannot take keeps the edit: the user corrects it and saves again.
TEST_F(ContactWindow, FailedSaveKeepsTheEditForACorrection)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    w->Command2[2]->click();
    EXPECT_EQ(w->EditMode, QStringLiteral("change"));
    w->SetBoxText(5, QStringLiteral("其他其他其"));  // the sex column holds four characters
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        save(*w);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().icon, ui::Icon::Question);
        EXPECT_TRUE(r.last().title.startsWith(QStringLiteral("錯誤代號"))) << r.last().title.toStdString();
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("change"));
    EXPECT_EQ(w->BoxText(5), QStringLiteral("其他其他其"));
    w->SetBoxText(5, QStringLiteral("男"));

    save(*w);
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("Select 性別 From RV18A")), QStringList({"男"}));
}

// Two computers on one data folder: a contact changed or deleted on the other one since it was
// read refuses the save with the typed values kept; 放棄 then shows the contact as stored (a
// deleted one leaves the list), so a new change of it can be saved.
TEST_F(ContactWindow, ContactChangedOrDeletedElsewhereRefusesTheSaveAndCancelShowsItAsStored)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    add(QStringLiteral("002"), QStringLiteral("林"));
    auto w = open();
    db::Connection other;
    other.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path);
    ASSERT_EQ(w->BoxText(1), QStringLiteral("002"));  // by name: 林 first
    const auto saveRefused = [&](const QString& typed) {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        save(*w);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.last().title, QStringLiteral("錯誤代號3197"));
        EXPECT_EQ(w->EditMode, QStringLiteral("change"));
        EXPECT_EQ(w->BoxText(2), typed);
    };
    const auto cancel = [&] {
        ScriptedResponder r;
        r.answer(ui::Answer::Yes);
        w->Command2[6]->click();
    };
    w->Command2[2]->click();
    w->SetBoxText(2, QStringLiteral("我的"));
    other.Execute(QStringLiteral("Update RV18A Set RV18A2 = '他的' Where RV18A1 = '002'"));
    saveRefused(QStringLiteral("我的"));
    EXPECT_EQ(rows(QStringLiteral("Select RV18A2 From RV18A Where RV18A1 = '002'")), QStringList({"他的"}));
    cancel();
    EXPECT_EQ(w->BoxText(2), QStringLiteral("他的"));
    w->Command2[2]->click();
    w->SetBoxText(2, QStringLiteral("我的"));
    save(*w);
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(rows(QStringLiteral("Select RV18A2 From RV18A Where RV18A1 = '002'")), QStringList({"我的"}));

    w->Command2[2]->click();
    w->SetBoxText(2, QStringLiteral("再改"));
    other.Execute(QStringLiteral("Delete From RV18A Where RV18A1 = '002'"));
    saveRefused(QStringLiteral("再改"));
    cancel();
    EXPECT_EQ(listed(*w), QStringList({"001"}));
    EXPECT_EQ(count(QStringLiteral("RV18A")), 1);
}

// Another program holding the data file locked: the save says so at once (no wait for every
// column of the table), the contact stays as typed, and the next save after the lock goes in.
TEST_F(ContactWindow, SaveWhileAnotherProgramLocksTheFileAsksToTryLaterAndKeepsTheContact)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    w->Command2[1]->click();
    w->SetBoxText(2, QStringLiteral("陳"));
    {
        testsupport::FileLocker lock(path, testsupport::FileLocker::kWholeFile);
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        QElapsedTimer waited;
        waited.start();
        save(*w);
        EXPECT_LT(waited.elapsed(), 15000);  // one wait for the lock, not one per column
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.last().text.contains(QStringLiteral("請稍後再試"))) << r.last().text.toStdString();
        EXPECT_TRUE(r.last().text.endsWith(QStringLiteral("資料並未存檔。"))) << r.last().text.toStdString();
    }
    EXPECT_EQ(w->EditMode, QStringLiteral("addnew"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("002"));
    EXPECT_EQ(w->BoxText(2), QStringLiteral("陳"));
    EXPECT_EQ(count(QStringLiteral("RV18A")), 1);
    save(*w);
    w->Command2[6]->click();
    EXPECT_EQ(rows(QStringLiteral("Select RV18A1, RV18A2 From RV18A Order By RV18A1")), QStringList({"001|王", "002|陳"}));
}

// 新增 while the file is locked cannot read the next number: it says so and starts nothing, the
// shown contact stays as it was and a later 修改 changes that contact.
TEST_F(ContactWindow, AddWhileTheFileIsLockedStartsNothing)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    {
        testsupport::FileLocker lock(path, testsupport::FileLocker::kWholeFile);
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Command2[1]->click();
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_TRUE(r.last().text.endsWith(QStringLiteral("請稍後再試"))) << r.last().text.toStdString();
    }
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(w->MainRs().EditMode(), db::adEditNone);
    EXPECT_EQ(w->BoxText(2), QStringLiteral("王"));
    w->Command2[2]->click();
    w->SetBoxText(3, QStringLiteral("Wang"));
    save(*w);
    EXPECT_EQ(rows(QStringLiteral("Select RV18A1, RV18A2, RV18A3 From RV18A")), QStringList({"001|王|Wang"}));
}

TEST_F(ContactWindow, FindByANameWithAQuoteShowsThePhotoOfTheFoundContact)
{
    add(QStringLiteral("001"), QStringLiteral("Amy"));
    add(QStringLiteral("002"), QStringLiteral("O'Neil"), QString(), photoFile(QStringLiteral("o.bmp")));
    auto w = open();
    EXPECT_EQ(w->BoxText(2), QStringLiteral("Amy"));
    EXPECT_TRUE(w->Picture3->pixmap().isNull());
    ScriptedResponder r;
    r.modal([](QDialog* d) {
        auto* find = static_cast<OtherFindFrm*>(d);
        EXPECT_FALSE(find->Command1[0]->isEnabled());
        find->Text1[2]->setText(QStringLiteral("O'N"));
        find->Command1[0]->click();
        return int(QDialog::Accepted);
    });
    w->Command2[0]->click();
    EXPECT_EQ(listed(*w), QStringList({"002"}));
    EXPECT_EQ(w->BoxText(2), QStringLiteral("O'Neil"));
    EXPECT_FALSE(w->Picture3->pixmap().isNull());
    EXPECT_EQ(gOtherFindWhere, QStringLiteral("RV18A2 LIKE '%O'N%'"));
    EXPECT_EQ(sink.status, QStringLiteral("查詢條件:RV18A2 LIKE '%O'N%'"));
    // A new contact starts without a photo.
    w->Command2[1]->click();
    EXPECT_TRUE(w->Picture3->pixmap().isNull());
    w->Command2[6]->click();
}

TEST_F(ContactWindow, FindWithoutResultSaysSoAndListsEveryoneAgain)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    add(QStringLiteral("002"), QStringLiteral("林"));
    auto w = open();
    ScriptedResponder r;
    r.modal([](QDialog* d) {
        auto* find = static_cast<OtherFindFrm*>(d);
        find->Text1[13]->setText(QStringLiteral("台北"));
        find->Command1[0]->click();
        return int(QDialog::Accepted);
    });
    r.answer(ui::Answer::OK);
    w->Command2[0]->click();
    EXPECT_EQ(r.texts(), QStringList({"查無資料"}));
    EXPECT_EQ(listed(*w).size(), 2);
}

TEST_F(ContactWindow, QuickFindTakesANumberPrefixBeforeAName)
{
    add(QStringLiteral("120"), QStringLiteral("陳"));
    add(QStringLiteral("001"), QStringLiteral("12號"));
    auto w = open();
    w->DataCombo2[1]->setEditText(QStringLiteral("12"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("120"));
    EXPECT_EQ(sink.status, QStringLiteral("找到 陳"));
    w->DataCombo2[1]->setEditText(QStringLiteral("無此人"));
    EXPECT_EQ(w->BoxText(1), QStringLiteral("120"));
    EXPECT_EQ(sink.status, QStringLiteral("沒找到"));
}

TEST_F(ContactWindow, CategoryViewListsOneCategoryByBoundValue)
{
    add(QStringLiteral("001"), QStringLiteral("王"), QStringLiteral("朋友"));
    add(QStringLiteral("002"), QStringLiteral("林"), QStringLiteral("O'家人"));
    add(QStringLiteral("003"), QStringLiteral("陳"), QStringLiteral("朋友"));
    auto w = open();
    EXPECT_FALSE(w->Combo2->isEnabled());
    w->Command3[3]->click();
    EXPECT_EQ(w->Command3[3]->text(), QStringLiteral("類別顯示"));
    EXPECT_EQ(listed(*w).size(), 3);  // not re-read yet
    w->Combo2->setCurrentText(QStringLiteral("O'家人"));
    emit w->Combo2->activated(w->Combo2->currentIndex());
    EXPECT_EQ(listed(*w), QStringList({"002"}));
    w->Command3[3]->click();
    EXPECT_EQ(listed(*w).size(), 3);
    // Sort by number.
    w->Combo1[1]->setCurrentText(QStringLiteral("編號"));
    emit w->Combo1[1]->activated(1);
    EXPECT_EQ(listed(*w), QStringList({"001", "002", "003"}));
}

TEST_F(ContactWindow, DeleteAsksWithTheName)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::No);
        w->Command2[4]->click();
        EXPECT_EQ(r.texts(), QStringList({"確定要刪除 王的資料嗎? "}));
    }
    EXPECT_EQ(count(QStringLiteral("RV18A")), 1);
    EXPECT_EQ(sink.status, QStringLiteral("顯示全部資料"));
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    w->Command2[4]->click();
    EXPECT_EQ(count(QStringLiteral("RV18A")), 0);
    EXPECT_FALSE(w->Command2[2]->isEnabled());
}

// Saving a change and deleting keep the list without reading the contacts again (a list of
// 100,000 is read once); contacts another computer added meanwhile come with 重整.
TEST_F(ContactWindow, ChangeAndDeleteKeepTheListWithoutReadingTheTableAgain)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    add(QStringLiteral("003"), QStringLiteral("林"));
    auto w = open();
    add(QStringLiteral("002"), QStringLiteral("陳"));  // on another computer
    ASSERT_EQ(w->BoxText(2), QStringLiteral("林"));
    w->Command2[2]->click();
    w->SetBoxText(2, QStringLiteral("黃"));
    save(*w);
    EXPECT_EQ(listed(*w), QStringList({"001", "003"}));  // by name: 王, 黃
    EXPECT_EQ(w->BoxText(2), QStringLiteral("黃"));
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    w->Command2[4]->click();
    EXPECT_EQ(listed(*w), QStringList({"001"}));
    EXPECT_EQ(w->BoxText(2), QStringLiteral("王"));
    EXPECT_EQ(count(QStringLiteral("RV18A")), 2);
    w->Command2[7]->click();
    EXPECT_EQ(listed(*w), QStringList({"001", "002"}));
}

TEST_F(ContactWindow, CancelAfterAChangeAsksAndRestoresTheRecord)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    w->Command2[2]->click();
    w->SetBoxText(2, QStringLiteral("李"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::No);
        w->Command2[6]->click();
        EXPECT_EQ(r.texts(), QStringList({"確定要放棄嗎?"}));
        EXPECT_EQ(w->EditMode, QStringLiteral("change"));
    }
    ScriptedResponder r;
    r.answer(ui::Answer::Yes);
    w->Command2[6]->click();
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(w->BoxText(2), QStringLiteral("王"));
    EXPECT_EQ(sink.status, QStringLiteral("顯示全部資料"));
}

TEST_F(ContactWindow, ChecklistGoesToTheHelpPanelOnlyWhileItIsInUse)
{
    auto w = open();
    w->Command2[1]->click();
    EXPECT_EQ(sink.caption, QStringLiteral("個人通訊"));
    EXPECT_TRUE(sink.help.contains(QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔")));
    EXPECT_TRUE(sink.help.contains(QStringLiteral("◆ 中文姓名 未輸入")));
    sink.inUse = false;
    sink.help = QStringLiteral("kept");
    w->SetBoxText(9, QStringLiteral("0912"));
    EXPECT_EQ(sink.help, QStringLiteral("kept"));
    EXPECT_TRUE(w->ReportText.contains(QStringLiteral("◆ 行動面話號碼很奇怪")));
}

TEST_F(ContactWindow, KeysWalkTheBoxesAndAreRefusedWhileBrowsing)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    QApplication::setActiveWindow(w.get());
    {
        ScriptedResponder r;
        w->Text1[3]->setFocus();
        QTest::keyClick(w->Text1[3], Qt::Key_A);
        EXPECT_EQ(r.beeps, 1);
        EXPECT_EQ(sink.status, QStringLiteral("必須先在新增或是修改模式才能編輯資料"));
        EXPECT_EQ(w->BoxText(3), QString());
    }
    w->Command2[2]->click();
    // F3 in the registered address, F5 in the current address.
    QTest::keyClick(w->Text1[16], Qt::Key_F3);
    EXPECT_EQ(w->BoxText(16), QStringLiteral("縣市區街路段巷弄號樓之"));
    QTest::keyClick(w->Text1[17], Qt::Key_F5);
    EXPECT_EQ(w->BoxText(17), QStringLiteral("縣市區街路段巷弄號樓之"));
    // Enter from box 17 goes to 18; from 18 (no empty last line) it stays a line break.
    w->Text1[17]->setFocus();
    QTest::keyClick(w->Text1[17], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), w->Text1[18]);
    EXPECT_EQ(w->TabStrip1->currentIndex(), 1);
}

TEST_F(ContactWindow, BirthdayBoxReadsStrictDatesAndKeepsAnUntouchedValue)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    gConn.Execute(QStringLiteral("Update RV18A Set RV18A4 = '民國93年'"));
    auto w = open();
    QApplication::setActiveWindow(w.get());
    w->Command2[2]->click();
    w->Text1[4]->setFocus();
    EXPECT_TRUE(w->DateMaskTXT->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), w->DateMaskTXT);
    // Leaving it untouched keeps the stored text.
    w->Text1[6]->setFocus();
    EXPECT_EQ(w->BoxText(4), QStringLiteral("民國93年"));
    EXPECT_FALSE(w->DateMaskTXT->isVisible());
    // A month 13 keeps the focus in the date box with the message.
    w->Text1[4]->setFocus();
    QTest::keyClicks(w->DateMaskTXT, QStringLiteral("20041301"));
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        w->Text1[6]->setFocus();
        EXPECT_EQ(r.texts(), QStringList({"2004/13/01並非(yyyy/mm/dd)日期格式"}));
    }
    EXPECT_EQ(QApplication::focusWidget(), w->DateMaskTXT);
    EXPECT_EQ(w->BoxText(4), QStringLiteral("2004/13/01"));
    w->DateMaskTXT->selectAll();
    QTest::keyClicks(w->DateMaskTXT, QStringLiteral("20040203"));
    w->Text1[6]->setFocus();
    EXPECT_EQ(w->BoxText(4), QStringLiteral("2004/02/03"));
    // Double-clicking enters today's date without leading zeros.
    ui::SetToday(QDate(2008, 9, 3));
    w->Text1[4]->setFocus();
    QTest::mouseDClick(w->DateMaskTXT, Qt::LeftButton);
    EXPECT_EQ(w->BoxText(4), QStringLiteral("2008/9/3"));
    w->Text1[6]->setFocus();
    EXPECT_EQ(w->BoxText(4), QStringLiteral("2008/9/3"));
    ui::SetToday(QDate());
    save(*w);
    EXPECT_EQ(rows(QStringLiteral("Select RV18A4 From RV18A")), QStringList({"2008/9/3"}));
}

TEST_F(ContactWindow, SideButtonsOpenMailAndWebAndPickThePicture)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    auto w = open();
    {
        ScriptedResponder r;
        r.answer(ui::Answer::OK).answer(ui::Answer::OK);
        w->Command3[4]->click();
        w->Command3[5]->click();
        EXPECT_EQ(r.texts(), QStringList({"郵件地址為空", "網址為空"}));
    }
    w->Command2[2]->click();
    const QString photo = photoFile(QStringLiteral("p.bmp"));
    ScriptedResponder r;
    r.openFile(photo);
    w->Command3[1]->click();
    EXPECT_EQ(w->BoxText(15), photo);
    EXPECT_FALSE(w->Picture3->pixmap().isNull());
    w->SetBoxText(13, QStringLiteral("a@b.com.tw"));
    w->SetBoxText(14, QStringLiteral("http://x.tw"));
    shellsvc::Recorder rec;
    w->Command3[4]->click();
    w->Command3[5]->click();
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(rec.calls[0].target, QStringLiteral("mailto:a@b.com.tw"));
    EXPECT_EQ(rec.calls[1].target, QStringLiteral("http://http://x.tw"));
    save(*w);
    EXPECT_EQ(rows(QStringLiteral("Select RV18A14 From RV18A")), QStringList({photo}));
}

TEST_F(ContactWindow, CommandLineFillsTheHiddenFindWindowsNameBox)
{
    add(QStringLiteral("001"), QStringLiteral("王大明"));
    add(QStringLiteral("002"), QStringLiteral("林"));
    const testsupport::RecordingSink::Aside mainWindowWrites(sink);
    {
        MDIForm1 main(QStringLiteral("3/ 王 "));
        OtherFrm* w = OtherFrm::Global();
        ASSERT_TRUE(w);
        // The window keeps its design size unless maximised.
        main.show();
        QApplication::processEvents();
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        ASSERT_TRUE(sub);
        const QSize design(vb::TwipsToPixels(11070), vb::TwipsToPixels(7850));
        EXPECT_EQ(sub->size(), design);
        sub->resize(500, 400);
        QApplication::processEvents();
        EXPECT_EQ(sub->size(), design);
        OtherFindFrm* find = w->FindWindow();
        EXPECT_FALSE(find->isVisible());
        EXPECT_EQ(find->Text1[2]->text(), QStringLiteral("王"));
        EXPECT_TRUE(find->Command1[0]->isEnabled());
        ScriptedResponder r;
        r.modal([](QDialog* d) {
            auto* f = static_cast<OtherFindFrm*>(d);
            EXPECT_EQ(f->Text1[2]->text(), QStringLiteral("王"));
            f->Command1[0]->click();
            return int(QDialog::Accepted);
        });
        w->Command2[0]->click();
        EXPECT_EQ(listed(*w), QStringList({"001"}));
        // The menu brings the same window back.
        main.ShowOtherFrm();
        EXPECT_EQ(OtherFrm::Global().data(), w);
    }
}

TEST_F(ContactWindow, PickListsOverCategoryAndSexWriteIntoTheirBoxes)
{
    add(QStringLiteral("001"), QStringLiteral("王"), QStringLiteral("朋友"));
    add(QStringLiteral("002"), QStringLiteral("林"), QStringLiteral("同事"));
    auto w = open();
    QApplication::setActiveWindow(w.get());
    w->Command2[1]->click();
    // 新增 puts the focus into the category box: the list of the categories in use opens over it.
    QComboBox* pick = w->Combo1[0];
    ASSERT_TRUE(pick->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), pick);
    EXPECT_EQ(pick->count(), 2);
    EXPECT_EQ(pick->currentText(), QString());
    pick->setEditText(QStringLiteral("同學"));
    QTest::keyClick(pick, Qt::Key_Return);
    EXPECT_EQ(w->BoxText(0), QStringLiteral("同學"));
    EXPECT_EQ(QApplication::focusWidget(), w->Text1[2]);
    EXPECT_FALSE(pick->isVisible());
    // The sex box offers 男, 女, 其他 with 男 shown; saving with the list open (Alt+S) keeps its text.
    w->SetBoxText(2, QStringLiteral("陳"));
    w->Text1[5]->setFocus();
    ASSERT_TRUE(pick->isVisible());
    EXPECT_EQ(pick->count(), 3);
    EXPECT_EQ(pick->currentText(), QStringLiteral("男"));
    pick->setEditText(QStringLiteral("女"));
    save(*w);
    w->Command2[6]->click();
    EXPECT_EQ(rows(QStringLiteral("Select 類別, RV18A2, 性別 From RV18A Where RV18A1 = '003'")),
              QStringList({"同學|陳|女"}));
}

// A contact saved into another category than the one listed is shown with every category listed.
TEST_F(ContactWindow, SaveOutsideTheListedCategoryShowsTheContact)
{
    add(QStringLiteral("001"), QStringLiteral("王"), QStringLiteral("朋友"));
    add(QStringLiteral("002"), QStringLiteral("林"), QStringLiteral("家人"));
    auto w = open();
    w->Command3[3]->click();
    w->Combo2->setCurrentText(QStringLiteral("朋友"));
    emit w->Combo2->activated(w->Combo2->currentIndex());
    ASSERT_EQ(listed(*w), QStringList({"001"}));
    w->Command2[2]->click();
    w->SetBoxText(0, QStringLiteral("同事"));
    save(*w);
    EXPECT_TRUE(w->EditMode.isEmpty());
    EXPECT_EQ(w->Command3[3]->text(), QStringLiteral("不分類"));
    EXPECT_EQ(listed(*w).size(), 2);
    EXPECT_EQ(w->BoxText(1), QStringLiteral("001"));
    EXPECT_EQ(w->BoxText(0), QStringLiteral("同事"));
}

// A category first used by a saved contact, new or changed, is offered by the category view at
// once, and choosing it lists that contact.
TEST_F(ContactWindow, ANewCategoryIsOfferedByTheCategoryViewAsSoonAsSaved)
{
    add(QStringLiteral("001"), QStringLiteral("王"), QStringLiteral("朋友"));
    auto w = open();
    QApplication::setActiveWindow(w.get());
    const auto offered = [&w] {
        QStringList out;
        for (int i = 0; i < w->Combo2->count(); ++i)
            out << w->Combo2->itemText(i);
        return out;
    };
    ASSERT_FALSE(offered().contains(QStringLiteral("同學")));
    struct Case {
        int button;  // 1 add, 2 change
        const char* category;
    };
    for (const Case& c : {Case{1, "同學"}, Case{2, "同事"}}) {
        SCOPED_TRACE(c.category);
        w->Command2[c.button]->click();
        // Typed into the list of the categories in use, which opens over the category box.
        QComboBox* pick = w->Combo1[0];
        if (!pick->isVisible())
            w->Text1[0]->setFocus();
        ASSERT_TRUE(pick->isVisible());
        pick->setEditText(QString::fromUtf8(c.category));
        QTest::keyClick(pick, Qt::Key_Return);
        ASSERT_EQ(w->BoxText(0), QString::fromUtf8(c.category));
        if (c.button == 1)
            w->SetBoxText(2, QStringLiteral("林"));
        const QString number = w->BoxText(1);
        save(*w);
        if (!w->EditMode.isEmpty())
            w->Command2[6]->click();  // the add goes on with a next, untouched contact
        EXPECT_TRUE(offered().contains(QString::fromUtf8(c.category))) << offered().join('/').toStdString();
        if (w->Command3[3]->text() == QStringLiteral("不分類"))
            w->Command3[3]->click();
        w->Combo2->setCurrentText(QString::fromUtf8(c.category));
        emit w->Combo2->activated(w->Combo2->currentIndex());
        EXPECT_EQ(listed(*w), QStringList{number});
        w->Command3[3]->click();  // every category again
    }
}

// Every fault of the database layer a save can meet on a shared data folder is told in Chinese,
// with its number and what to do, and ends with "資料並未存檔。".
TEST_F(ContactWindow, ASaveFailureOfTheDatabaseIsToldInChinese)
{
    add(QStringLiteral("001"), QStringLiteral("王"));
    for (const testsupport::SaveFault& fault : testsupport::SaveFaults()) {
        auto w = open();
        w->Command2[2]->click();
        w->SetBoxText(2, QStringLiteral("王大"));
        testsupport::FaultInPlace held(fault, path, "UPDATE RV18A SET RV18A2 = '林';");
        ScriptedResponder r;
        r.answer(ui::Answer::OK);
        save(*w);
        held.letGo();
        ASSERT_FALSE(r.messages.empty()) << fault.name;
        testsupport::ExpectChineseFailure(r.last(), fault, QStringLiteral("資料並未存檔。"));
        EXPECT_EQ(w->EditMode, QStringLiteral("change")) << fault.name;
    }
}
