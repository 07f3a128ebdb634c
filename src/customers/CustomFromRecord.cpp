// The customer window's record cycle: the modes and the button bar, adding, changing and
// cancelling, the save and the delete, and what the record boxes do while the user types.
#include "customers/CustomFrom.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Rights.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "core/numbering/ListFillers.h"
#include "core/numbering/Numbering.h"
#include "core/numbering/Validators.h"
#include "platform/db/Probes.h"
#include "customers/CustomerDetailGrids.h"
#include "customers/CustomerEntryRules.h"
#include "customers/CustomerSave.h"
#include "records/RecordCycle.h"
#include "records/RecordExtras.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/ByteLimit.h"
#include "platform/widgets/Keys.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScopeGuard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>

namespace {

// The buttons each mode shows.
const std::vector<ButtonMode>& ButtonBar()
{
    static const std::vector<ButtonMode> bar = {
        {CustomFrom::kFind, ButtonMode::Browse},  {CustomFrom::kAdd, ButtonMode::Browse},
        {CustomFrom::kChange, ButtonMode::Browse}, {CustomFrom::kDelete, ButtonMode::Browse},
        {CustomFrom::kClose, ButtonMode::Browse},  {CustomFrom::kReload, ButtonMode::Browse},
        {CustomFrom::kSave, ButtonMode::Edit},     {CustomFrom::kCancel, ButtonMode::Edit},
        {CustomFrom::kDeleteRow, ButtonMode::Edit},
    };
    return bar;
}

}  // namespace

// ---- Wiring --------------------------------------------------------------------------------------

void CustomFrom::setupRecordCycle()
{
    // Categories, accounts, grades and the fixed lists: Enter hands the focus back to the box.
    picks_ = new PickList(Combo2, PickList::kEnterBackToBox, this);
    // Salespeople: Enter moves on to the receivables box.
    sales_ = new PickList(DataCombo1[1], 0, this);
    sales_->Left = [this] {
        boxes_->SetFocused(boxes_->IndexOf(sales_->TargetBox()), false);
        SetStatusText(QString());
    };
    DataCombo1[1]->installEventFilter(this);
}

bool CustomFrom::recordEvent(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut && type != QEvent::KeyPress)
        return false;
    if (watched == DataCombo1[1]) {
        if (type == QEvent::FocusIn)
            SetStatusText(DataCombo1[1]->toolTip());
        return false;
    }
    const auto it = std::find(Text1.begin(), Text1.end(), watched);
    if (it == Text1.end())
        return false;
    // The window coming back to the front is no entry into the box (RealFocusChange).
    return DispatchBoxEvent(int(it - Text1.begin()), event,
                            {.GotFocus = [this](int i) { Text1_GotFocus(i); },
                             .LostFocus = [this](int i) { Text1_LostFocus(i); },
                             .Key = [this](int i, QKeyEvent* k) { return Text1_Key(i, k); }});
}

// ---- Button bar ----------------------------------------------------------------------------------

ButtonErrorPolicy CustomFrom::ButtonErrors()
{
    // A required field left empty and a customer no longer there are said in the window's own
    // words; any other error is offered Abort, Retry and Ignore.
    return {.answer = [this](const db::DbError& e, const QString&) {
        if (e.Number() == 3314) {
            ui::MsgBox(LoadResString(324));
            return true;
        }
        if (e.Number() == 3021) {
            ui::MsgBox(LoadResString(325));
            DataGrid1[0]->setEnabled(true);
            TabStrip2->setEnabled(true);
            EditMode.clear();
            SetStatusText(QString());
            return true;
        }
        return false;
    }};
}

// ---- Modes ---------------------------------------------------------------------------------------

void CustomFrom::CommandSty(bool editing)
{
    const bool browsing = !editing;
    ApplyButtonModes(Command2, ButtonBar(), editing);
    Picture4->setEnabled(browsing);
    DataGrid1[0]->setEnabled(browsing);
}

void CustomFrom::EditEnabled(bool editing)
{
    Combo2->setEnabled(editing);
    DataCombo1[0]->setEnabled(!editing);
}

void CustomFrom::記錄初值() { Grids->ClearDeletedRowKeys(); }

void CustomFrom::AddNew()
{
    SetStatusText(QStringLiteral("有打 [*] 號的欄位為必須輸入才能存檔"));
    // Nothing of the customer shown before stays in a box the new row does not fill.
    boxes_->ClearUnbound();
    NewRecordFlag = true;
    EditEnabled(true);
    EditMode = QStringLiteral("addnew");
    NewRecordFlag = true;
    CustomerRs.AddNew();
    if (vb::Val(ReadSetting(QStringLiteral("CustomAutoNO"), QStringLiteral("Tessarine"), 0)) != 1) {
        SetBoxText(0, GetCustomerNewNo());
        Text1[0]->setFocus(Qt::OtherFocusReason);
    }
    FieldsChanged = false;
    SetStatusPanel(LoadResString(303), 0);
    Audit->StartAdd(gUserName, AuditToday());
    SetBoxText(18, QStringLiteral("隨貨附發票"));
    SetBoxText(21, QStringLiteral("次月結"));
    SetBoxText(22, QStringLiteral("60"));
    EditMode = QStringLiteral("addnew");
    ReadDeliveDate(QString());
    ReadMinDate(QString());
}

void CustomFrom::Modification()
{
    ButtonSteps(
        {[this] {
             SetStatusText(QStringLiteral("有打 [*] 號的欄位為必須輸入才能存檔"));
             NewRecordFlag = true;
             EditEnabled(true);
             EditMode = QStringLiteral("change");
             // Changing needs a customer to change; another computer may have changed it or its
             // detail rows since they were read, so editing starts from what is stored now.
             CustomerRs.value(QStringLiteral("總序"));
             ReReadCustomer();
         },
         [this] {
             SetStatusPanel(QStringLiteral("客戶") + LoadResString(327), 0);
             if (TabStrip2->currentIndex() + 1 == 3)
                 AddressCom->setVisible(true);
             Text1[1]->setFocus(Qt::OtherFocusReason);
             Audit->StartChange(gUserName, AuditToday());
             FieldsChanged = false;
         }},
        {.answer = [this](const db::DbError& e, const QString&) {
            if (e.Number() == 3260) {
                ui::MsgBox(ErrorText(e) + gCrLf + LoadResString(330));
                NewRecordFlag = false;
                EditMode.clear();
                EditEnabled(false);
                TabStrip2->setEnabled(true);
                return true;
            }
            if (e.Number() == 3167) {
                // Deleted on another computer: say so and show the customer the list now stands on.
                ui::MsgBox(ErrorText(e) + gCrLf + LoadResString(331));
                NewRecordFlag = false;
                EditMode.clear();
                EditEnabled(false);
                TabStrip2->setEnabled(true);
                if (CustomerListRs.IsOpen() && !CustomerListRs.Eof()) {
                    CustomerListRs.MoveNext();
                    if (CustomerListRs.Eof() && CustomerListRs.RecordCount() > 0)
                        CustomerListRs.MoveLast();
                    db::TryGoToRowOf(CustomerRs, CustomerListRs);
                }
                DataGrid1_RowColChange();
                if (CustomerListRs.RecordCount() == 0) {
                    RS2TEXT();
                    ReadDeliveDate(QString());
                    ReadMinDate(QString());
                    for (int i : {kFind, kChange, kDelete})
                        Command2[i]->setEnabled(false);
                }
                return true;
            }
            if (e.Number() == 3021) {
                ui::MsgBox(LoadResString(331));
                NewRecordFlag = true;
                EditEnabled(true);
                return true;
            }
            return false;
        }});
}

void CustomFrom::ReReadCustomer()
{
    {
        RecordList::Hold hold(List);
        CustomerRs.Resync();
    }
    RS2TEXT();
    SetBoxText(20, BillingMethodText(BoxText(14)));
    const QString code = db::Nz(CustomerRs.field(QStringLiteral("rv120")));
    ReadDeliveDate(code);
    ReadMinDate(code);
}

void CustomFrom::CancleModif()
{
    TabStrip2->setEnabled(true);
    // A change with no customer under it has nothing to return to.
    const std::optional<db::Bookmark> mark = db::TryBookmark(CustomerRs);
    {
        RecordList::Hold hold(List);
        if (CustomerRs.IsOpen())
            CustomerRs.CancelUpdate();
        if (!(EditMode == ModeText::Change))
            db::TryGoToRowOf(CustomerRs, CustomerListRs);
        else
            List.CancelChange();  // the customer alone read again, not the table
    }
    if (EditMode == ModeText::Change) {
        if (mark) {
            CustomerRs.setBookmark(*mark);
            CustomerListRs.setBookmark(*mark);
        }
    }
    const QString code = vb::Trim(db::Nz(CustomerRs.field(QStringLiteral("rv120"))));
    ReadDeliveDate(code);
    ReadMinDate(code);
    TabStrip2->setEnabled(true);
    EditMode.clear();
    記錄初值();
    // The unbound boxes show the stored record again.
    RS2TEXT();
    SetBoxText(20, BillingMethodText(BoxText(14)));
    SetStatusPanel(Option1->isChecked() ? QStringLiteral("客戶顯示全部資料") : QStringLiteral("客戶顯示查詢資料"), 0);
    AddressCom->hide();
}

void CustomFrom::Text2Rs()
{
    if (const auto code = InvoiceStatusCode(BoxText(18)))
        CustomerRs.setValue(QStringLiteral("發票狀況"), *code);
}

// ---- Save ----------------------------------------------------------------------------------------

void CustomFrom::SaveFile()
{
    const auto describe = [](const db::DbError& e) {
        return ErrorDescription(e) + QStringLiteral("(") + QString::number(e.Number()) + QStringLiteral(")");
    };
    const bool added = EditMode == ModeText::AddNew;
    QString code;
    db::Bookmark mark = 0;
    InsertedDetailKeys inserted;
    SaveCycle cycle;
    cycle.rs = &CustomerRs;
    cycle.list = &List;
    cycle.adding = added;
    cycle.failureText = SaveFailedText();
    // An open list's value and the grid editors' texts belong to the record saved.
    cycle.openLists = {picks_, sales_};
    cycle.refusals = {[this] { return !存檔檢查基本資料(); }, Grids->Man(), Grids->Delive(),
                      [this] { return SaveCheck_Custom(); }};
    cycle.stored = {Audit};
    cycle.intoRow = [this] { Text2Rs(); };
    cycle.transaction = [&](const std::function<void()>& intoRow, const std::function<void()>& writeRow) {
        // The code is trimmed once; the row and its details get the same text.
        code = vb::Trim(BoxText(0));
        if (BoxText(0) != code)
            SetBoxText(0, code);
        mark = db::TryBookmark(CustomerRs).value_or(mark);
        return SaveCustomerRows(gConn, code, Grids->Man()->ChangedRowSet(code), Grids->Delive()->ChangedRowSet(code),
                                intoRow, writeRow, &inserted);
    };
    cycle.failed = [](const SaveOutcome& out) { ui::MsgBox(out.message); };
    cycle.place = [&] {
        // The grids keep what they show when it is what was stored; else the save reads them.
        Grids->Man()->TakeSaved(code, inserted.contacts);
        Grids->Delive()->TakeSaved(code, inserted.deliveries);
        afterSave(added, code, mark);
    };
    cycle.mode = [this] { 記錄初值(); };
    const ButtonErrorPolicy errors = {.describe = describe};
    cycle.runSteps = [&](const RecordSteps& steps) { ButtonSteps(steps, errors); };
    ButtonSteps({[this] { TabStrip2->setEnabled(true); }, [&] { SaveRecord(cycle); }}, errors);
}

bool CustomFrom::存檔檢查基本資料()
{
    const QString message = MissingFieldsMessage([this](int box) { return BoxText(box); });
    if (message.isEmpty())
        return true;
    ui::MsgBox(message);
    return false;
}

bool CustomFrom::SaveCheck_Custom()
{
    if (boxes_->RefuseTooWide(WidthCheckedBoxes()) || boxes_->RefuseUnwritable(SaveFailedText()))
        return true;
    SetBoxText(11, QString::number(vb::Val(BoxText(11)), 'g', 15));
    if (vb::Trim(BoxText(0)).isEmpty() || vb::Trim(BoxText(1)).isEmpty() || vb::Trim(BoxText(2)).isEmpty()) {
        ui::MsgBox(LoadResString(319));
        return true;
    }
    return false;
}

void CustomFrom::afterSave(bool added, const QString& code, db::Bookmark mark)
{
    // The list's moves below show the saved customer's grids as the save left them.
    keepSavedGrids_ = true;
    const auto endKeep = qScopeGuard([this] { keepSavedGrids_ = false; });
    if (!added) {
        CustomerRs.MoveLast();
        LinkDataGrid();
        CustomerListRs.setBookmark(mark);
        EditMode.clear();
        NewRecordFlag = false;
        EditEnabled(false);
    } else {
        EditMode.clear();
        // The new customer takes its place in the list's order; only when the list cannot place
        // it is the table read again.
        bool shown = List.ShowAdded();
        if (!shown) {
            CustomerRs.Requery();
            ui::DoEvents();
            LinkDataGrid();
            shown = List.ShowRow(QStringLiteral("rv120"), code);
        }
        if (!shown) {
            // The list's category or find condition leaves the new customer out: show them all.
            Command1[0]->setText(QStringLiteral("不分類"));
            Combo3->setEnabled(false);
            FondCondition = FindCondition();
            Text6->clear();
            LinkMainRs();
            List.ShowRow(QStringLiteral("rv120"), code);
            SaveNote = QStringLiteral("新增的客戶不在原來的清單中,已改為顯示全部客戶");
            SetStatusText(SaveNote);
        }
        NewRecordFlag = false;
        EditEnabled(false);
    }
    // The window shows the saved customer with its stored detail rows.
    // The grids always hold the rows of the customer the boxes show.
    const QString shown = HasCurrentCustomer() ? db::Nz(CustomerRs.field(QStringLiteral("rv120"))) : code;
    RS2TEXT();
    SetBoxText(20, BillingMethodText(BoxText(14)));
    Grids->Delive()->ShowSaved(shown);
    Grids->Man()->ShowSaved(shown);
    AddressCom->hide();
    for (int i : {kFind, kChange, kDelete})
        Command2[i]->setEnabled(true);
}

// ---- Delete --------------------------------------------------------------------------------------

void CustomFrom::DeleteDateItem()
{
    EditMode.clear();
    SetStatusPanel(QStringLiteral("刪除客戶資料"), 0);
    if (ui::MsgBox(LoadResString(306), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    // The code of the customer being deleted, taken before its row goes.
    const QString code = vb::Trim(db::Nz(CustomerRs.field(QStringLiteral("rv120"))));
    const db::Bookmark mark = CustomerRs.bookmark();
    DeleteOutcome out;
    {
        RecordList::Hold hold(List);
        out = DeleteCustomerRows(gConn, code, [this] { CustomerRs.Delete(); });
        if (!out.deleted) {
            // The recordset forgot the row the database kept: read it again.
            if (db::RequeryQuietly(CustomerRs))
                db::TryGoTo(CustomerRs, mark);
        }
    }
    if (!out.deleted) {
        ui::MsgBox(out.message);
        return;
    }
    // The deleted customer has left the recordset and the list already: nothing is read again.
    LinkDataGrid();
    db::TryMoveLast(CustomerListRs);
    if (CustomerRs.RecordCount() == 0) {
        for (int i : {kFind, kChange, kDelete})
            Command2[i]->setEnabled(false);
        RS2TEXT();
        ReadDeliveDate(QString());
        ReadMinDate(QString());
    }
    SetStatusPanel(Option1->isChecked() ? QStringLiteral("顯示全部資料") : QStringLiteral("顯示查詢資料"), 0);
}

// ---- Record boxes --------------------------------------------------------------------------------

void CustomFrom::Text1_GotFocus(int index)
{
    if (EditMode.isEmpty())
        return;
    QWidget* box = Text1[size_t(index)];
    if (QLineEdit* line = Box(index))
        line->setCursorPosition(int(vb::Trim(line->text()).size()));
    boxes_->SetFocused(index, true);
    Combo2->setToolTip(QString());

    const PickKind kind = PickKindOf(index);
    if (kind != PickKind::None && !picks_->HandingBack() && !leave_.Returning()) {
        PickList* pick = kind == PickKind::Salespeople ? sales_ : picks_;
        QComboBox* list = pick->List();
        TrapDbErrors([&] {
            switch (kind) {
            case PickKind::Salespeople: {
                // Read again once anything was written to the file (another window or user
                // may have changed the staff); refilled only when the names have changed.
                const db::DataVersion version = gConn.Version();
                if (version == salesVersion_ && list->count() == salesNames_.size())
                    break;
                db::Recordset rs = gConn.ExecuteQuery(QStringLiteral(
                    "Select RV17A.RV17A2 From RV17,RV17A Where (RV17.RV171 Like '業務%' ) And "
                    "( RV17A.RV17A13 is null or RV17A.RV17A13='') And RV17.RV170=RV17A.RV17A0 "
                    "Order By RV17A.RV17A2"));
                QStringList names;
                for (; !rs.Eof(); rs.MoveNext())
                    names << vb::Nz(rs.value(0));
                if (names != salesNames_ || list->count() != names.size()) {
                    const QSignalBlocker block(list);
                    list->clear();
                    list->addItems(names);
                    salesNames_ = names;
                }
                salesVersion_ = version;
                break;
            }
            case PickKind::Categories:
                Combo2->setToolTip(QStringLiteral("輸入客戶的分類,您曾經建立過的客戶分類會顯示在這個下拉式清單內"));
                FillDistinctCombo(Combo2, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
                break;
            case PickKind::Accounts:
                FillInvoiceAccountCombo(Combo2);
                break;
            case PickKind::Grades:
                FillListFromLines(Combo2, GradeListText(ReadSetting(QStringLiteral("CustomType"), QStringLiteral("Tessarine"), 0)));
                SetStatusText(LoadResString(344));
                break;
            case PickKind::Stock: {
                const QSignalBlocker block(Combo2);
                Combo2->clear();
                Combo2->addItems(StockPickItems(index));
                break;
            }
            default:
                break;
            }
        });
        // Over the box: on the basic-data page, or shifted by the strip above the pages.
        QPoint at = box->pos();
        if (pick == sales_ || PickListOverStrip(index))
            at += Picture5->pos() - Picture3[1]->pos();
        if (pick == sales_)
            at.ry() += vb::TwipsToPixels(50);
        pick->Open(box, pick == sales_ ? Text1[11] : box, {},
                   QRect(at.x(), at.y(), box->width() + vb::TwipsToPixels(50), box->height()), true);
    }
    SetStatusText(box->toolTip());
}

void CustomFrom::Text1_LostFocus(int index)
{
    if (EditMode.isEmpty() || leave_.Returning())
        return;
    QWidget* box = Text1[size_t(index)];
    // A click on 放棄 is never held up by the box being left, nor is a change of tab page
    // (the box is hidden then; the save checks again).
    if (QApplication::focusWidget() == Command2[kCancel] || !box->isVisible()) {
        boxes_->SetFocused(index, false);
        return;
    }
    auto serial = [this] { return qint32(vb::Val(db::Nz(CustomerRs.field(QStringLiteral("總序"))))); };
    bool back = false;
    TrapDbErrors([&] {
        back = false;
        switch (index) {
        case 0: {
            const QString code = vb::Trim(vb::UCase(BoxText(0)));
            if (BoxText(0) != code)
                SetBoxText(0, code);
            back = CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("rv12"), QStringLiteral("RV120"), code,
                                    serial());
            break;
        }
        case 1: {
            if (BoxText(1) != vb::Trim(BoxText(1)))
                SetBoxText(1, vb::Trim(BoxText(1)));
            back = CheckDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("rv12"), QStringLiteral("RV121"),
                                  vb::Trim(BoxText(1)), serial());
            if (BoxText(2).isEmpty())
                SetBoxText(2, vb::Trim(BoxText(1)));
            break;
        }
        case 2:
            if (BoxText(2) != vb::Trim(BoxText(2)))
                SetBoxText(2, vb::Trim(BoxText(2)));
            break;
        case 7: {
            QString message;
            if (!vb::Trim(BoxText(7)).isEmpty() && !IsValidTaxNo(BoxText(7), message)) {
                ui::MsgBox(message);
                back = true;
            }
            break;
        }
        case 12:
            if (!ClosingDayAccepted(BoxText(12))) {
                ui::Beep();
                ui::MsgBox(LoadResString(349));
                back = true;
            }
            break;
        default:
            break;
        }
    });
    boxes_->SetFocused(index, false);
    if (back)
        returnFocus(index);
}

// Puts the focus back into a box a check refused, without running the leave checks of the box
// the focus was on its way to.
void CustomFrom::returnFocus(int box)
{
    leave_.Return(Text1[size_t(box)]);
    boxes_->SetFocused(box, true);
}

bool CustomFrom::Text1_Key(int index, QKeyEvent* key)
{
    const bool editing = !EditMode.isEmpty();
    const int code = key->key();
    auto focusBox = [this](int n) {
        // The hidden billing-method code box is passed over.
        for (int guard = 0; n >= 0 && n < kBoxes && Text1[size_t(n)]->isHidden() && guard < kBoxes; ++guard)
            n = CustomerEnterMap()(n);
        if (n >= 0 && n < kBoxes)
            Text1[size_t(n)]->setFocus(Qt::OtherFocusReason);
    };
    if (editing && (code == Qt::Key_F3 || code == Qt::Key_F4 || code == Qt::Key_F5)) {
        if (const auto text = StockTextFor(CustomerStockTexts(), index, code, [this](int box) { return BoxText(box); }))
            SetBoxText(index, BoxText(index) + *text);
        return true;
    }
    if (index != 16 && (code == Qt::Key_Down || code == Qt::Key_Up)) {
        const int next = code == Qt::Key_Down ? CustomerDownMap()(index) : CustomerUpMap()(index);
        if (next >= 0)
            Text1[size_t(next)]->setFocus(Qt::OtherFocusReason);
        return true;
    }
    const bool enter = IsEnter(key);
    if (!enter && key->text().isEmpty())
        return false;  // caret movement, selection and the like
    if (!editing)
        return true;  // browsing: every key is refused
    if (enter) {
        if (index == 16) {
            int pos = Remarks()->textCursor().position();
            if (!CaretAfterLastLine(Remarks(), pos))
                return false;  // a line break inside the remarks
        }
        focusBox(CustomerEnterMap()(index));
        return true;
    }
    if (index == 11 || index == 12) {
        const QString text = key->text();
        const int ascii = text.isEmpty() ? 0 : int(text.at(0).unicode());
        if (!NumericKeyFilter(ascii))
            return true;
    }
    return false;
}

