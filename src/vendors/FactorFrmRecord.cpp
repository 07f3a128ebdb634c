// The vendor window's record cycle: the button bar, adding (numbered by category), changing,
// cancelling, deleting and saving, and what the record boxes do while the user types.
#include "vendors/FactorFrm.h"
#include "codetables/CodeTableFrm.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "core/numbering/Numbering.h"
#include "core/numbering/Validators.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/FieldBinding.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/Keys.h"
#include "records/DetailGrid.h"
#include "records/RecordCycle.h"
#include "vendors/FactorFond.h"
#include "vendors/VendorEntryRules.h"
#include "vendors/VendorFields.h"
#include "vendors/VendorNumbering.h"
#include "vendors/VendorSave.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>

namespace {

const QString kRequiredHint = QStringLiteral("有打 [*] 號的欄位為必須輸入才能存檔");
const QString kShowing = QStringLiteral("廠商顯示資料");
const QString kNotSaved = QStringLiteral("資料並未儲存。");

// The vendor window answers every data error of its buttons itself: a duplicate number in its
// own words, anything else with its number in the title.
const ButtonErrorPolicy kButtonErrors = {.answer = [](const db::DbError& e, const QString& failureText) {
    if (e.Number() == 3022) {
        ui::MsgBox(LoadResString(416));
        return true;
    }
    // "Perhaps you typed wrong data" only where typed data can be the cause.
    QString text = ErrorDescription(e);
    if (CausedByTypedData(e))
        text = LoadResString(417) + gCrLf + text;
    if (!failureText.isEmpty())
        text += gCrLf + failureText;
    ui::MsgBox(text, ui::Buttons::OK, ui::Icon::Question, LoadResString(418) + QString::number(e.Number()));
    return true;
}};

}  // namespace

// ---- Button bar ----------------------------------------------------------------------------------

ButtonErrorPolicy FactorFrm::ButtonErrors() { return kButtonErrors; }

void FactorFrm::Command2_Click(int index)
{
    switch (index) {
    case kFind: {
        FactorFond* find = FactorFond::Global();
        if (!find)
            find = new FactorFond(this, Image1->pixmap());
        ui::ShowModal(find);
        delete find;  // unloaded: the next opening starts empty
        break;
    }
    case kAdd:
        ButtonSteps({[this] { AddNew(); }});
        break;
    case kChange:
        ButtonSteps({[this] { 修改(); }});
        break;
    case kClose:
        close();
        break;
    case kDelete:
        ButtonSteps({[this] { 刪除(); }});
        break;
    case kSave:
        ButtonSteps({[this] { FileSave(); }, [this] { 報告(); }}, kNotSaved);
        break;
    case kCancel:
        ButtonSteps({[this] { CancelEdit(); }});
        break;
    case kDeleteRow:
        ManGrid->DeleteRow();
        break;
    default:
        break;
    }
}

void FactorFrm::CommandSty(bool editing)
{
    const bool browse = !editing;
    static const std::vector<ButtonMode> kBar = {
        {kFind, ButtonMode::Browse},   {kAdd, ButtonMode::Browse}, {kChange, ButtonMode::Browse},
        {kClose, ButtonMode::Browse},  {kDelete, ButtonMode::Browse}, {kSave, ButtonMode::Edit},
        {kCancel, ButtonMode::Edit},   {kDeleteRow, ButtonMode::Edit},
    };
    ApplyButtonModes(std::vector<QPushButton*>(Command2.begin(), Command2.end()), kBar, editing);
    Command3[0]->setVisible(browse);
    Picture4->setEnabled(browse);
    for (QCheckBox* flag : Check2)
        flag->setEnabled(!browse);
}

void FactorFrm::CommandEnable(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(Command3[0]), static_cast<QWidget*>(Command3[1]),
                       static_cast<QWidget*>(DataCombo2[1]), static_cast<QWidget*>(Combo1)})
        w->setEnabled(enabled);
    // The category box stays off in the view of all vendors.
    DataCombo2[0]->setEnabled(enabled && Command3[1]->text() == QStringLiteral("分類顯示"));
}

void FactorFrm::saveButtonRule()
{
    Command2[kSave]->setEnabled(!vb::Trim(BoxText(1)).isEmpty() && !vb::Trim(BoxText(2)).isEmpty());
}

// ---- Add, change, cancel, delete -----------------------------------------------------------------

void FactorFrm::AddNew()
{
    if (TabStrip1->tabData(TabStrip1->currentIndex()).toString() == QStringLiteral("次類別"))
        TabStrip1->setCurrentIndex(0);
    const bool category = FactoryTypeRs.IsOpen() && !FactoryTypeRs.Bof() && !FactoryTypeRs.Eof();
    if (!category) {
        // No category to number a vendor in: the window stays in browse mode.
        SetStatusPanel(kShowing, 0);
        if (ui::MsgBox(LoadResString(410), ui::Buttons::YesNo) == ui::Answer::No)
            return;
        ui::MsgBox(LoadResString(411));
        // Minimized first, so that the category window opened after it keeps the focus.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->showMinimized();
        else
            showMinimized();
        ui::DoEvents();
        OpenDevrItemFrm(true, Image1->pixmap());
        return;
    }
    CurrentTypeCode = vb::Nz(FactoryTypeRs.value(QStringLiteral("RV10")));

    SetStatusText(kRequiredHint);
    SetStatusPanel(QStringLiteral("廠商") + LoadResString(408), 0);
    FactoryRs().AddNew();
    EditMode = QStringLiteral("addnew");
    IsEditing = true;
    boxes_->ClearWriteFailures();
    Picture2->StartAdd(gUserName, AuditToday());
    ReadMinDate(QString());
    ManGrid->ClearDeletedRowKeys();

    SetBoxText(0, CurrentTypeCode);
    ui::DoEvents();
    if (vb::Val(ReadSetting(QStringLiteral("FacotryAutoNO"), QStringLiteral("Tessarine"), 0)) != 1)
        SetBoxText(1, GetfactoryNewNo(BoxText(0)));
    else
        SetBoxText(1, vb::Trim(BoxText(0)) + QStringLiteral("-"));
    SetBoxText(16, QStringLiteral("尚未核准"));
    Text1[0]->setFocus(Qt::OtherFocusReason);
    CommandEnable(false);
    DataChanged = false;
    saveButtonRule();
    報告();
}

void FactorFrm::修改()
{
    if (!HasCurrentVendor())
        return;
    IsEditing = true;
    EditMode = QStringLiteral("change");
    boxes_->ClearWriteFailures();
    ManGrid->ClearDeletedRowKeys();
    SetStatusText(kRequiredHint);
    DataChanged = false;
    Command2[kSave]->setEnabled(false);
    if (TabStrip1->currentIndex() == 0)
        Text1[2]->setFocus(Qt::OtherFocusReason);
    CommandEnable(false);
    SetStatusPanel(QStringLiteral("廠商修改資料"), 0);
    報告();
}

void FactorFrm::CancelEdit()
{
    const ModeText::Mode was = EditMode.mode();
    if (DataChanged && ui::MsgBox(LoadResString(415), ui::Buttons::YesNo) == ui::Answer::No)
        return;
    const std::optional<db::Bookmark> mark = db::TryBookmark(FactoryRs());
    {
        RecordList::Hold hold(List);
        EditMode.clear();
        if (FactoryRs().IsOpen())
            FactoryRs().CancelUpdate();
        boxes_->ClearWriteFailures();
        ManGrid->ClearDeletedRowKeys();
        if (was == ModeText::Change && mark)
            db::TryGoTo(FactoryRs(), *mark);
        boxes_->LoadRecord(FactoryRs());
        List.ShowCurrent();
    }
    for (QComboBox* list : {DataCombo1, Combo2, Combo3})
        list->hide();
    IsEditing = false;
    DataChanged = false;
    CommandEnable(true);
    SetBoxText(9, 取得廠商類別名稱(vb::Trim(BoxText(0))));
    // The stored contacts come back: cell edits of the abandoned edit are gone.
    ShowRecordSide();
    DataGrid1[1]->viewport()->update();
    SetStatusPanel(kShowing, 0);
}

void FactorFrm::刪除()
{
    SetStatusPanel(QStringLiteral("廠商") + LoadResString(413), 0);
    if (ui::MsgBox(LoadResString(412), ui::Buttons::YesNo) == ui::Answer::No) {
        SetStatusPanel(QString(), 0);
        return;
    }
    const QString number = vb::Trim(BoxText(1));
    const db::Statement contacts = VendorContactsDeleteStatement(number);
    DeleteOutcome out;
    {
        RecordList::Hold hold(List);
        out = DeleteInTransaction(gConn, QStringLiteral("刪除失敗,資料並未刪除"), [this] { FactoryRs().Delete(); },
                                  {contacts});
    }
    if (!out.deleted) {
        ui::MsgBox(out.message);
        // The list shows what the table holds: the vendor is still there.
        TrapDbErrors([&] {
            RecordList::Hold hold(List);
            FactoryRs().Requery();
            List.Relink();
            List.ShowRow(QStringLiteral("RV111"), number);
        });
        ShowRecordSide();
        return;
    }
    {
        // The deleted vendor has left the recordset and the list already: nothing is read again.
        RecordList::Hold hold(List);
        List.Relink();
        ListSyncArmed = true;
        if (db::TryMoveLast(FactoryRs()))
            List.ShowCurrent();
    }
    ShowRecordSide();
    if (!HasCurrentVendor()) {
        Command2[kChange]->setEnabled(false);
        Command2[kDelete]->setEnabled(false);
    }
    SetStatusPanel(kShowing, 0);
}

// ---- Save ----------------------------------------------------------------------------------------

bool FactorFrm::CheckSaveFACTOR()
{
    const qint32 own = qint32(vb::Val(vb::Nz(db::ValueOrNull(FactoryRs(), QStringLiteral("總序")))));
    return RefuseVendorNumber([this](int box) { return BoxText(box); }, own) ||
           boxes_->RefuseTooWide(VendorWidthCheckedBoxes(), VendorTooWideMessage);
}

void FactorFrm::FileSave()
{
    if (EditMode.isEmpty())
        return;
    const bool added = EditMode == ModeText::AddNew;
    QString number;
    SaveCycle cycle;
    cycle.rs = &FactoryRs();
    cycle.list = &List;
    cycle.adding = added;
    cycle.failureText = kNotSaved;
    // What an open list holds counts, however the save was started (Alt+S too).
    cycle.openLists = {CategoryList, StatusList, SharedList};
    // A value its column cannot take (a letter in the closing day) is named before anything is
    // written (the boxes' refusal); the contacts' open editor after it.
    cycle.refusals = {[this] { return CheckSaveFACTOR(); }, boxes_, ManGrid};
    cycle.intoRow = [&] {
        if (added)
            Picture2->Write(FactoryRs());
        else
            Picture2->WriteChange(FactoryRs(), gUserName, AuditToday());
    };
    cycle.transaction = [&](const std::function<void()>& intoRow, const std::function<void()>& writeRow) {
        number = vb::Trim(BoxText(1));
        SetStatusPanel(QStringLiteral("廠商") + LoadResString(414), 0);
        return SaveInTransaction(gConn, kNotSaved, intoRow,
                                 DetailStatements(VendorContactsDef(), number, ManGrid->RowSet()), writeRow);
    };
    cycle.failed = [](const SaveOutcome& out) { ui::MsgBox(out.message); };
    cycle.place = [&] {
        ManGrid->ClearDeletedRowKeys();
        showSaved(added, number);
    };
    cycle.mode = [this] { endEdit(); };
    SaveRecord(cycle);
}

void FactorFrm::showSaved(bool added, const QString& number)
{
    bool placed = false;
    const bool done = ui::RunSteps(
        {[&] {
             // A new vendor takes its place in the list's order; otherwise the list is read again.
             if (added && List.ShowAdded()) {
                 placed = true;
                 return;
             }
             RecordList::Hold hold(List);
             FactoryRs().Requery();
             List.Relink();
         },
         [&] {
             // A saved vendor outside the listed ones (a find's result, another category, a
             // status the list leaves out) brings a list again: a new vendor the current
             // category's, a changed one the view's.
             if (!placed && !List.ShowRow(QStringLiteral("RV111"), number)) {
                 LinkGridData1(added ? CurrentCategoryCode() : ViewCategoryCode());
                 List.ShowRow(QStringLiteral("RV111"), number);
             }
             ListSyncArmed = true;
         }},
        [](const std::exception& e) { return ErrorText(e); });
    Q_UNUSED(done);
}

void FactorFrm::endEdit()
{
    // Whatever the placing reached, the data is stored: the window is back in browse mode.
    EditMode.clear();
    IsEditing = false;
    DataChanged = false;
    for (QComboBox* list : {DataCombo1, Combo2, Combo3})
        list->hide();
    CommandEnable(true);
    ShowRecordSide();
    const bool any = HasCurrentVendor();
    Command2[kChange]->setEnabled(any);
    Command2[kDelete]->setEnabled(any);
    SetStatusPanel(kShowing, 0);
}

// ---- Field entry ---------------------------------------------------------------------------------

void FactorFrm::Text1_Change(int index)
{
    if (index == 0)
        SetBoxText(9, 取得廠商類別名稱(vb::Trim(BoxText(0))));
    if (EditMode.isEmpty() || loading_)
        return;
    DataChanged = true;
    saveButtonRule();
    報告();
}

void FactorFrm::Text1_GotFocus(int index)
{
    const QString tip = Text1[size_t(index)]->toolTip();
    SetStatusText(tip);
    if (EditMode.isEmpty())
        return;
    if (index == 9)
        Text1[1]->setFocus(Qt::OtherFocusReason);
    boxes_->SetFocused(index, true);
    if (QLineEdit* line = boxes_->Line(index))
        line->setCursorPosition(int(vb::Trim(line->text()).size()));
    SetStatusText(tip);
    if (index == 0) {
        if (guard_.Returning())
            return;
        // The picker shows the box's code, selected: what is typed replaces it.
        CategoryList->Open(Text1[0], Text1[1], {}, {}, true);
        DataCombo1->lineEdit()->selectAll();
        return;
    }
    const VendorPick pick = VendorPickOf(index);
    if (pick == VendorPick::None)
        return;
    PickList* list = pick == VendorPick::Status ? StatusList : SharedList;
    if (guard_.Returning() || list->HandingBack())
        return;
    const QStringList items = VendorPickItems(index);
    // A blank status takes the list's first entry; the other boxes stay blank.
    if (pick == VendorPick::Status && vb::Trim(BoxText(index)).isEmpty())
        SetBoxText(index, items.value(0));
    list->Open(Text1[size_t(index)], Text1[size_t(VendorPickNextBox(index))], items);
}

void FactorFrm::Text1_LostFocus(int index)
{
    if (EditMode.isEmpty() || guard_.Returning())
        return;
    boxes_->SetFocused(index, false);
    // Leaving for 放棄 checks nothing: the edit is being given up.
    if (QApplication::focusWidget() == Command2[kCancel])
        return;
    QString message;
    switch (index) {
    case 1: {
        QString bare = BoxText(1);
        bare.remove(QLatin1Char('-'));
        if (BoxText(0) == bare) {
            ui::MsgBox(LoadResString(427));
            guard_.Return(Text1[1]);
            return;
        }
        const qint32 own = qint32(vb::Val(vb::Nz(db::ValueOrNull(FactoryRs(), QStringLiteral("總序")))));
        if (CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("RV11"), QStringLiteral("RV111"),
                             vb::Trim(BoxText(1)), own))
            guard_.Return(Text1[1]);
        return;
    }
    case 7:
        if (!vb::Trim(BoxText(7)).isEmpty() && !IsValidTaxNo(BoxText(7), message)) {
            ui::MsgBox(message);
            guard_.Return(Text1[7]);
        }
        return;
    case 18:
        IsValidEmail(BoxText(18), message);
        if (!vb::Trim(message).isEmpty()) {
            ui::MsgBox(message);
            guard_.Return(Text1[18]);
        }
        return;
    default:
        return;
    }
}

bool FactorFrm::Text1_Key(int index, QKeyEvent* key)
{
    const bool editing = !EditMode.isEmpty();
    const int code = key->key();
    auto focusBox = [this](int n) {
        if (n >= 0 && n < kBoxes)
            Text1[size_t(n)]->setFocus(Qt::OtherFocusReason);
    };
    // Keys going down: arrows and the function-key aids, in every mode (box 20 takes none).
    if (index != 20) {
        if (code == Qt::Key_Up || code == Qt::Key_Down) {
            focusBox(code == Qt::Key_Up ? VendorUpMap()(index) : VendorDownMap()(index));
            return true;
        }
        if (code == Qt::Key_F3 || code == Qt::Key_F4 || code == Qt::Key_F5) {
            if (const auto text = StockTextFor(VendorStockTexts(), index, code, [this](int box) { return BoxText(box); })) {
                if (editing) {
                    SetBoxText(index, BoxText(index) + *text);
                } else {
                    // Browsing: the box shows the aid, the stored row never gets it.
                    const QSignalBlocker block(Text1[size_t(index)]);
                    SetBoxText(index, BoxText(index) + *text);
                }
            }
            return true;
        }
    }
    // Character keys.
    const QString text = key->text();
    const bool enter = IsEnter(key);
    const bool backspace = code == Qt::Key_Backspace;
    const bool printable = !text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier);
    if (!enter && !backspace && !printable)
        return false;
    if (!editing)
        return !enter ? false : true;  // the boxes are read-only while browsing
    if (enter) {
        if (index == 19) {
            int position = boxes_->Memo(19)->textCursor().position();
            if (!CaretAfterLastLine(boxes_->Memo(19), position))
                return false;  // a line break inside the remarks
        }
        focusBox(VendorEnterMap()(index));
    }
    if (index == 2 && printable)
        SetBoxText(3, BoxText(3) + PrintableOnly(text));
    if (VendorDigitsOnly(index) && !NumericKeyFilter(enter ? 13 : backspace ? 8 : text.at(0).unicode()))
        return true;
    if (VendorRefusesEveryKey(index)) {
        ui::Beep();
        return true;
    }
    if (VendorBoxFull(BoxText(index), VendorMaxLength(index))) {
        ui::Beep();
        return true;
    }
    return enter;  // an Enter that moved the focus adds nothing
}

// ---- Pick lists ----------------------------------------------------------------------------------

void FactorFrm::DataCombo1_LostFocus()
{
    if (EditMode.isEmpty())
        return;
    const QString before = vb::Trim(BoxText(0));
    FontFactoryType();
    // A fresh number of the picked category: always for a new vendor, for a changed one
    // only when the category really changed.
    if (EditMode == ModeText::AddNew || vb::Trim(BoxText(0)) != before)
        TrapDbErrors([&] { SetBoxText(1, GetfactoryNewNo(BoxText(0))); });
}

// The category the picker's text names (the exact code, a code beginning with it, a name
// beginning with it) goes into box 0 and its name into box 9; it becomes the current category.
// The picker itself hides when it loses the focus.
void FactorFrm::FontFactoryType()
{
    const QString t = vb::Trim(DataCombo1->currentText());
    if (t.isEmpty() || !FactoryTypeRs.IsOpen())
        return;
    TrapDbErrors([&] {
        // The exact code first, so "A1" is not taken for "A10".
        const long exact = FindRow(FactoryTypeRs, QStringLiteral("RV10"), [&t](const QVariant& v) {
            return vb::Trim(vb::Nz(v)).compare(t, Qt::CaseInsensitive) == 0;
        });
        if (exact >= 0) {
            FactoryTypeRs.SetAbsolutePosition(exact + 1);
        } else if (!FindCodeOrName(FactoryTypeRs, QStringLiteral("rv10"), QStringLiteral("rv11"), t)) {
            SetStatusText(LoadResString(310));
            return;
        }
        SetBoxText(0, vb::Nz(FactoryTypeRs.value(QStringLiteral("RV10"))));
        SetBoxText(9, vb::Nz(FactoryTypeRs.value(QStringLiteral("RV11"))));
        settingCategoryText_ = true;
        DataCombo2[0]->setEditText(vb::Nz(FactoryTypeRs.value(QStringLiteral("RV11"))));
        settingCategoryText_ = false;
    });
}

// ---- Events of the record boxes and pick lists ---------------------------------------------------

bool FactorFrm::recordEvent(QObject* watched, QEvent* event)
{
    const int index = boxes_->IndexOf(watched);
    if (index < 0)
        return false;
    // A box that lays a list over itself and gets the focus back as its window becomes active
    // again (after a save refused its value) opens its list, as on any entry while editing.
    if (event->type() == QEvent::FocusIn && !EditMode.isEmpty() && VendorPickOf(index) != VendorPick::None &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason) {
        Text1_GotFocus(index);
        return false;
    }
    return DispatchBoxEvent(index, event,
                            {.GotFocus = [this](int i) { Text1_GotFocus(i); },
                             .LostFocus = [this](int i) { Text1_LostFocus(i); },
                             .Key = [this](int i, QKeyEvent* k) { return Text1_Key(i, k); }});
}
