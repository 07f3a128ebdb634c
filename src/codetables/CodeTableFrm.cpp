#include "codetables/CodeTableFrm.h"
#include "core/BoxColours.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/numbering/Numbering.h"
#include "platform/db/Probes.h"
#include "platform/widgets/ByteLimit.h"
#include "platform/dbmodel/FieldBinding.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/Keys.h"
#include "records/RecordExtras.h"
#include "records/RecordMode.h"
#include "records/RecordSave.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>

namespace {

using vb::Px;

// Design sizes (twips).
constexpr int kWidth = 7100, kHeight = 4800, kTitleHeight = 1155, kTitleWidth = 11070;
constexpr int kTop = 1275, kRow = 405, kBoxHeight = 315;
constexpr int kListLeft = 120, kListWidth = 3000, kListBottom = 3660;
constexpr int kLabelLeft = 3300, kLabelWidth = 1000, kBoxLeft = 4380;
constexpr int kButtonTop = 3780, kButtonWidth = 975, kButtonHeight = 375, kButtonStep = 1035;
const int kBoxWidths[] = {900, 1800, 2500};

const QString kByCode = QStringLiteral("代號");
const QString kByName = QStringLiteral("名稱");

}  // namespace

CodeTableFrm::CodeTableFrm(const CodeTableDef& def, const QPixmap& titlePicture, QWidget* parent)
    : RecordWindow(parent, kWidth, kHeight), def_(def)
{
    setObjectName(def.windowName);
    build(titlePicture);
    EditMode.changed = [this] { CommandSty(!EditMode.isEmpty()); };
    ButtonSteps({[this] { 連線資料庫(); }});
    CommandSty(false);
    setBoxesEditable();
}

CodeTableFrm::~CodeTableFrm() = default;

void CodeTableFrm::build(const QPixmap& titlePicture)
{
    setWindowTitle(def_.caption.text());
    resize(Px(kWidth), Px(kHeight));

    Image1 = TitlePicture(this, titlePicture);
    Image1->setGeometry(0, 0, Px(kTitleWidth), Px(kTitleHeight));

    // The list, with the sort choice and the type-ahead box above it where the table has them.
    int listTop = kTop;
    if (def_.sortAndFind) {
        Combo1 = new QComboBox(this);
        Combo1->setObjectName(QStringLiteral("Combo1"));
        Combo1->addItems({kByCode, kByName});
        Combo1->setCurrentIndex(0);
        Combo1->setGeometry(Px(kListLeft), Px(kTop), Px(1200), Px(kBoxHeight));
        connect(Combo1, &QComboBox::activated, this, [this] {
            if (!vb::Trim(Combo1->currentText()).isEmpty())
                ButtonSteps({[this] { 連線資料庫(); }});
        });
        Text2 = new QLineEdit(this);
        Text2->setObjectName(QStringLiteral("Text2"));
        Text2->setToolTip(QStringLiteral("輸入類別代號或類別名稱, 按enter鍵速查"));
        Text2->setGeometry(Px(kListLeft + 1260), Px(kTop), Px(1380), Px(kBoxHeight));
        connect(Text2, &QLineEdit::textChanged, this, [this] { TypeAhead(); });
        Command2 = new QPushButton(QStringLiteral("..."), this);
        Command2->setObjectName(QStringLiteral("Command2_0"));
        Command2->setGeometry(Px(kListLeft + 2680), Px(kTop), Px(320), Px(kBoxHeight));
        connect(Command2, &QPushButton::clicked, this, [this] { TypeAhead(); });
        listTop += kRow;
    }
    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setGeometry(Px(kListLeft), Px(listTop), Px(kListWidth), Px(kListBottom - listTop));
    DataGrid1->viewport()->installEventFilter(this);
    List.Attach(DataGrid1, {{def_.box(0).column, 1000, def_.gridCaptions[0].text()},
                            {def_.box(1).column, 1700, def_.gridCaptions[1].text()}});
    DataGrid1->horizontalHeader()->setStretchLastSection(true);
    // The boxes follow the list's row when the user clicks one; the list alone follows the keys.
    List.Follows = [this] { return mouseOnGrid_; };
    List.RowChanged = [] {};

    // The record boxes.
    binding_ = new dbmodel::FieldBinding(this);
    for (int i = 0; i < def_.boxCount(); ++i) {
        const CodeTableBox& b = def_.box(i);
        auto* label = new QLabel(b.caption.text(), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setGeometry(Px(kLabelLeft), Px(kTop + i * kRow), Px(kLabelWidth), Px(kBoxHeight));
        Label1.push_back(label);
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        // Typing stops at the box's width in bytes; a paste goes in whole and the save names the width.
        SetByteLimit(box, b.maxLength);
        box->setGeometry(Px(kBoxLeft), Px(kTop + i * kRow), Px(kBoxWidths[std::min(i, 2)]), Px(kBoxHeight));
        box->installEventFilter(this);
        colour(box, false);
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (!IsEditing)
                return;
            DataChanged = true;
            updateSaveButton();
        });
        Text1.push_back(box);
    }

    // The button bar.
    for (const CodeTableButtonDef& b : def_.buttons) {
        auto* button = new QPushButton(b.caption.text(), this);
        button->setObjectName(QStringLiteral("Command1_%1").arg(b.index));
        button->setGeometry(Px(kListLeft + b.place * kButtonStep), Px(kButtonTop), Px(kButtonWidth), Px(kButtonHeight));
        connect(button, &QPushButton::clicked, this, [this, role = b.role] { Click(role); });
        Command1[size_t(b.index)] = button;
    }
    if (QPushButton* save = Button(CodeTableButton::Save))
        save->setEnabled(false);
}

QPushButton* CodeTableFrm::Button(CodeTableButton role) const
{
    for (const CodeTableButtonDef& b : def_.buttons)
        if (b.role == role)
            return Command1[size_t(b.index)];
    return nullptr;
}

// ---- The list ----------------------------------------------------------------------------------

void CodeTableFrm::連線資料庫()
{
    List.Open(CodeTableListSql(def_, Combo1 ? Combo1->currentText() : QString()));
    if (TableRs.Eof()) {
        // Nothing to change or delete; the buttons stay off while the window is open.
        Button(CodeTableButton::Change)->setEnabled(false);
        Button(CodeTableButton::Delete)->setEnabled(false);
    }
    rebindGrid();
    binding_->setRecordset(TableRs);
    if (binding_->fieldOf(Text1[0]).isEmpty())
        for (int i = 0; i < def_.boxCount(); ++i)
            binding_->bind(Text1[size_t(i)], def_.box(i).column);
}

void CodeTableFrm::rebindGrid() { List.Relink(); }

void CodeTableFrm::syncGridTo(db::Bookmark mark)
{
    db::TryGoTo(GridRs, mark);  // a row the list leaves out: the list keeps its place
}

void CodeTableFrm::TypeAhead()
{
    const QString t = vb::Trim(Text2 ? Text2->text() : QString());
    if (t.isEmpty() || !EditMode.isEmpty() || !TableRs.IsOpen())
        return;
    // From the current row onwards, the first code that begins with the text; nothing found
    // leaves the window on its row.
    const int field = TableRs.FieldIndex(def_.box(0).column);
    const long n = TableRs.RecordCount();
    const long from = std::max(0L, TableRs.AbsolutePosition() - 1);
    for (long i = from; field >= 0 && i < n; ++i) {
        if (vb::Nz(TableRs.valueAt(i, field)).startsWith(t, Qt::CaseInsensitive)) {
            ButtonSteps({[&] { TableRs.SetAbsolutePosition(i + 1); }});
            return;
        }
    }
}

// ---- Modes -------------------------------------------------------------------------------------

void CodeTableFrm::CommandSty(bool editing)
{
    const bool browsing = !editing;
    for (const CodeTableButtonDef& b : def_.buttons) {
        QPushButton* button = Command1[size_t(b.index)];
        switch (b.role) {
        case CodeTableButton::Refresh:
            break;  // in view and usable in every mode
        case CodeTableButton::Save:
        case CodeTableButton::Cancel:
            button->setVisible(!browsing);
            break;
        default:
            button->setVisible(browsing);
            break;
        }
    }
}

void CodeTableFrm::setBoxesEditable()
{
    for (int i = 0; i < def_.boxCount(); ++i) {
        QLineEdit* box = Text1[size_t(i)];
        box->setReadOnly(!IsEditing || (i == 0 && codeLocked_));
        if (!IsEditing)
            colour(box, false);
    }
    // The list side waits while a row is being edited.
    DataGrid1->setEnabled(EditMode.isEmpty());
    if (Combo1)
        Combo1->setEnabled(EditMode.isEmpty());
    if (Text2) {
        Text2->setEnabled(EditMode.isEmpty());
        Command2->setEnabled(EditMode.isEmpty());
    }
}

void CodeTableFrm::updateSaveButton()
{
    if (QPushButton* save = Button(CodeTableButton::Save))
        save->setEnabled(CodeTableSaveEnabled(def_, Text1[0]->text(), Text1[1]->text()));
}

void CodeTableFrm::colour(QLineEdit* box, bool editing)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, editing ? BoxColours::Focused() : BoxColours::Grey());
    box->setPalette(p);
}

// A box that cannot take the focus (the code while changing a category) passes it on.
void CodeTableFrm::focusBox(int i)
{
    const int n = def_.boxCount();
    for (int k = 0; k < n; ++k) {
        QLineEdit* box = Text1[size_t(((i + k) % n + n) % n)];
        if (box->isEnabled()) {
            box->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

// ---- Buttons -----------------------------------------------------------------------------------

ButtonErrorPolicy CodeTableFrm::ButtonErrors()
{
    return {.answer = [](const db::DbError& e, const QString&) { return e.Number() == 3021; },
            .describe = [this](const db::DbError& e) { return ErrorWithNumber(e, def_.errorNumber.text()); },
            .abortEndsProgram = true};
}

void CodeTableFrm::Click(CodeTableButton role)
{
    switch (role) {
    case CodeTableButton::Exit:
        close();
        break;
    case CodeTableButton::Add:
        ButtonSteps({[this] { addNew(); }});
        break;
    case CodeTableButton::Change:
        ButtonSteps({[this] { change(); }});
        break;
    case CodeTableButton::Delete:
        ButtonSteps({[this] { deleteRow(); }});
        break;
    case CodeTableButton::Refresh:
        ButtonSteps({[this] { refresh(); }});
        break;
    case CodeTableButton::Save:
        ButtonSteps({[this] { save(); }}, SaveFailedText());
        break;
    case CodeTableButton::Cancel:
        ButtonSteps({[this] { cancel(); }});
        break;
    }
}

void CodeTableFrm::StartAdd()
{
    if (EditMode.isEmpty())
        Click(CodeTableButton::Add);
}

void CodeTableFrm::addNew()
{
    if (!TableRs.IsOpen())
        return;
    SavedBookmark = (!TableRs.Bof() && !TableRs.Eof()) ? TableRs.bookmark() : -1;
    EditMode = ModeText::AddNew;
    codeLocked_ = false;
    TableRs.AddNew();
    Text1[0]->setEnabled(true);
    IsEditing = true;
    setBoxesEditable();
    DataChanged = false;
    Text1[0]->setText(GetNextCode(gConn, def_.table, def_.box(0).column));
    if (!def_.proposedCodeIsChange)
        DataChanged = false;
    focusBox(0);
    Button(CodeTableButton::Save)->setEnabled(false);
}

void CodeTableFrm::change()
{
    if (TableRs.Bof() || TableRs.Eof())
        throw db::DbError(3021, QStringLiteral("No current record."));
    SavedBookmark = TableRs.bookmark();
    EditMode = ModeText::Change;
    if (def_.codeChangeable) {
        // A code that employees carry stays as it is.
        codeLocked_ = CodeInUse(gConn, def_, Text1[0]->text());
    } else {
        codeLocked_ = true;
        Text1[0]->setEnabled(false);  // until the next add
    }
    IsEditing = true;
    setBoxesEditable();
    DataChanged = false;
    Button(CodeTableButton::Save)->setEnabled(false);
    focusBox(1);
}

void CodeTableFrm::deleteRow()
{
    if (TableRs.Bof() || TableRs.Eof())
        throw db::DbError(3021, QStringLiteral("No current record."));
    if (CodeInUse(gConn, def_, Text1[0]->text())) {
        ui::MsgBox(InUseMessage(def_, Text1[1]->text()));
        return;
    }
    if (ui::MsgBox(def_.deleteQuestion.text(), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    TableRs.Delete();
    TableRs.Requery();
    rebindGrid();
    if (!TableRs.Eof() && !TableRs.Bof() && !GridRs.Eof() && !GridRs.Bof())
        TableRs.setBookmark(GridRs.bookmark());
}

void CodeTableFrm::refresh()
{
    // A row being added or changed is not re-read from under the user.
    if (!EditMode.isEmpty())
        return;
    TableRs.Requery();
    rebindGrid();
    if (!GridRs.Eof() && !GridRs.Bof())
        TableRs.setBookmark(GridRs.bookmark());
}

bool CodeTableFrm::codeIsDuplicate()
{
    const QVariant serial = db::NzValue(TableRs.field(QStringLiteral("總序")));
    return CheckNoDuplicate(QStringLiteral("tessarine.mdb"), def_.table, def_.box(0).column, vb::Trim(Text1[0]->text()),
                            qint32(vb::Val(serial.toString())));
}

bool CodeTableFrm::SaveCheck()
{
    std::vector<QString> texts;
    for (QLineEdit* box : Text1)
        texts.push_back(box->text());
    const CodeTableRefusal refusal = CodeTableSaveCheck(def_, texts);
    if (!refusal.message.isEmpty()) {
        ui::MsgBox(refusal.message, ui::Buttons::OK, refusal.question ? ui::Icon::Question : ui::Icon::None,
                   refusal.title);
        if (refusal.box >= 0) {
            QLineEdit* box = Text1[size_t(refusal.box)];
            box->setSelection(0, box->text().size());
            box->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
    // A code another row holds is refused here too, not only when its box is left.
    if (!codeLocked_ && codeIsDuplicate()) {
        focusBox(0);
        return true;
    }
    return false;
}

void CodeTableFrm::save()
{
    if (EditMode.isEmpty())
        return;
    if (SaveCheck())
        return;
    binding_->push();
    TableRs.Update();
    // Written: the list and the mode follow.
    const db::Bookmark mark = TableRs.bookmark();
    rebindGrid();
    syncGridTo(mark);
    IsEditing = false;
    DataChanged = false;
    if (EditMode == ModeText::AddNew) {
        EditMode.clear();
        addNew();  // straight on with the next code
        return;
    }
    EditMode.clear();
    codeLocked_ = false;
    setBoxesEditable();
}

void CodeTableFrm::cancel()
{
    if (EditMode.isEmpty())
        return;
    if (def_.beepOnCancel)
        ui::Beep();
    if (DataChanged && ui::MsgBox(def_.cancelQuestion.text(), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    IsEditing = false;
    DataChanged = false;
    EditMode.clear();
    codeLocked_ = false;
    TableRs.CancelUpdate();
    TableRs.Requery();
    rebindGrid();
    if (SavedBookmark >= 0) {
        db::TryGoTo(TableRs, SavedBookmark);  // the row gone meanwhile: the window stays on the first row
        syncGridTo(TableRs.Eof() || TableRs.Bof() ? -1 : TableRs.bookmark());
    }
    setBoxesEditable();
    Button(CodeTableButton::Save)->setEnabled(false);
}

// ---- Boxes -------------------------------------------------------------------------------------

// The code box was left while adding, or changed while changing: a code another row holds
// takes the focus back (the message is CheckNoDuplicate's).  Leaving for 放棄 checks nothing.
void CodeTableFrm::codeLeft()
{
    if (checking_ || !IsEditing || codeLocked_)
        return;
    if (QApplication::focusWidget() == Button(CodeTableButton::Cancel))
        return;
    checking_ = true;
    bool duplicate = false;
    try {
        duplicate = codeIsDuplicate();
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorDescription(e) + def_.errorNumber.text() + QString::number(e.Number()));
    }
    checking_ = false;
    if (duplicate) {
        Text1[0]->setFocus(Qt::OtherFocusReason);
        colour(Text1[0], true);
    }
}

bool CodeTableFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DataGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            mouseOnGrid_ = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            mouseOnGrid_ = false;
        return QWidget::eventFilter(watched, event);
    }
    const auto it = std::find(Text1.begin(), Text1.end(), watched);
    if (it == Text1.end())
        return QWidget::eventFilter(watched, event);
    const int i = int(it - Text1.begin());
    QLineEdit* box = *it;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (IsEditing) {
            colour(box, true);
            box->setCursorPosition(vb::Trim(box->text()).size());
        }
        break;
    case QEvent::FocusOut:
        colour(box, false);
        if (i == 0 && !box->isReadOnly() &&
            (EditMode == ModeText::AddNew || (EditMode == ModeText::Change && DataChanged)))
            codeLeft();
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEditing && IsEnter(key)) {
            focusBox(i + 1);
            return true;
        }
        if (def_.arrowsMove && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            focusBox(key->key() == Qt::Key_Up ? i - 1 : i + 1);
            return true;
        }
        if (IsEditing && i == 0 && codeLocked_ && !def_.lockedCodeHint.isEmpty() && !key->text().isEmpty()) {
            ui::Beep();
            SetStatusText(def_.lockedCodeHint);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Window ------------------------------------------------------------------------------------

void CodeTableFrm::Form_Activate()
{
    if (def_.helpCaption.isEmpty())
        return;
    SetHelpPanelText(QString());
    SetHelpPanelCaption(def_.helpCaption);
}

void CodeTableFrm::Form_Unload()
{
    // A row being added or changed is given up with the window.
    if (TableRs.IsOpen() && TableRs.EditMode() != db::adEditNone)
        TableRs.CancelUpdate();
}

// ---- Openers -----------------------------------------------------------------------------------

QPointer<CodeTableFrm>& DevrItemFrm()
{
    static QPointer<CodeTableFrm> instance;
    return instance;
}

QPointer<CodeTableFrm>& Dipartmant1FRM()
{
    static QPointer<CodeTableFrm> instance;
    return instance;
}

namespace {

CodeTableFrm* Open(QPointer<CodeTableFrm>& slot, const CodeTableDef& def, bool addMode, const QPixmap& titlePicture)
{
    if (!slot) {
        slot = new CodeTableFrm(def, titlePicture);
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    ShowInMainWindow(slot);
    if (addMode)
        slot->StartAdd();
    return slot;
}

}  // namespace

CodeTableFrm* OpenDevrItemFrm(bool addMode, const QPixmap& titlePicture)
{
    return Open(DevrItemFrm(), VendorCategoryDef(), addMode, titlePicture);
}

CodeTableFrm* OpenDipartmant1FRM(bool addMode, const QPixmap& titlePicture)
{
    return Open(Dipartmant1FRM(), DepartmentDef(), addMode, titlePicture);
}
