#include "contacts/DBtable_fm.h"
#include "core/ErrorText.h"

#include "contacts/MemberStatements.h"
#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/numbering/ListFillers.h"
#include "core/numbering/Numbering.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/FieldBinding.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "records/FieldTable.h"
#include "records/RecordCycle.h"
#include "records/RecordExtras.h"
#include "records/RecordSave.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableView>

using namespace member_design;

namespace {

using vb::Px;
using vb::Tw;
QRect PxRect(const QRect& twips)
{
    return QRect(Px(twips.left()), Px(twips.top()), Px(twips.width()), Px(twips.height()));
}

const QString kNumberColumn = QStringLiteral("會員編號");
const QString kKeyColumn = QStringLiteral("總序");
const QString kMemoColumn = QStringLiteral("備註");
const QString kNormal = QStringLiteral("一般");
const QString kQuery = QStringLiteral("查詢");

// The button bar: caption, left, width (twips); the navigation buttons are 375 square.
struct BarPlace {
    const char* caption;
    int left;
    int width;
};
const BarPlace kBar[15] = {
    {"新增(&N)", 0, 855},     {"修改(&E)", 900, 855},     {"刪除(&D)", 1800, 855}, {"<<", 6300, 375},
    {"<", 6660, 375},         {">", 7020, 375},           {">>", 7380, 375},       {"關閉(&X)", 9300, 855},
    {"存檔(&S)", 60, 855},    {"放棄(&C)", 960, 855},     {"查詢(&F)", 2700, 855}, {"開始查詢(&Y)", 60, 1095},
    {"取消(&C)", 1200, 855},  {"列印(&P)", 3600, 855},    {"關聯(&C)", 2400, 855},
};
constexpr int kCommand1Left = 8280, kCommand1Width = 975;
constexpr int kButtonTop = 22, kButtonHeight = 435, kNavTop = 60;

// 新增, 修改, 刪除, 關閉, 查詢 and 列印 while browsing; 存檔 and 放棄 while adding or changing.
const std::vector<ButtonMode> kModes = {
    {DBtable_fm::kNew, ButtonMode::Browse},   {DBtable_fm::kChange, ButtonMode::Browse},
    {DBtable_fm::kDelete, ButtonMode::Browse}, {DBtable_fm::kClose, ButtonMode::Browse},
    {DBtable_fm::kEnterQuery, ButtonMode::Browse},  {DBtable_fm::kPrint, ButtonMode::Browse},
    {DBtable_fm::kSave, ButtonMode::Edit},     {DBtable_fm::kCancel, ButtonMode::Edit},
};

}  // namespace

// ---- Construction --------------------------------------------------------------------------------

DBtable_fm::DBtable_fm(QWidget* parent, const QPixmap& titlePicture) : RecordWindow(parent, kWidth, kHeight)
{
    setObjectName(QStringLiteral("DBtable_fm"));
    // 自訂座標: the design size first, then the window takes the whole inner area.
    MaximiseAfterFirstShow();
    build(titlePicture);
    EditMode.changed = [this] {
        if (!boxes_)
            return;
        boxes_->SetReadOnly(EditMode.isEmpty());
        // Criteria go into the boxes only: the memo stays the current member's.
        MemoFieldTxt->setReadOnly(EditMode.isEmpty() || EditMode == ModeText::Find);
        if (EditMode != ModeText::Find)
            CommandSty(!EditMode.isEmpty());
    };
    formLoad();
    loading_ = false;
}

DBtable_fm::~DBtable_fm() = default;

void DBtable_fm::build(const QPixmap& titlePicture)
{
    TopPicture = new QWidget(this);
    TopPicture->setObjectName(QStringLiteral("TopPicture"));
    Image1 = TitlePicture(TopPicture, titlePicture);
    ChangFlagOpt = new QRadioButton(QStringLiteral("更改旗標"), TopPicture);
    ChangFlagOpt->setObjectName(QStringLiteral("ChangFlagOpt"));
    ChangFlagOpt->setAutoExclusive(false);
    ChangFlagOpt->setFocusPolicy(Qt::NoFocus);
    ChangFlagOpt->setAttribute(Qt::WA_TransparentForMouseEvents);
    ChangFlagOpt->setGeometry(Px(9600), Px(720), Px(1200), Px(300));

    Picture1 = new QWidget(this);
    // Named apart from the main window's own areas, whose look the skin gives by name.
    Picture1->setObjectName(QStringLiteral("FieldPane"));
    Picture1->setMouseTracking(true);
    Picture1->installEventFilter(this);
    Command4[0] = new QPushButton(QStringLiteral("..."), Picture1);
    Command4[0]->setObjectName(QStringLiteral("Command4_0"));
    Command4[0]->hide();
    connect(Command4[0], &QPushButton::clicked, this, [this] { Command4_Click(0); });
    Combo2 = new QComboBox(Picture1);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    pick_ = new PickList(Combo2, PickList::kWriteThrough, this);
    Combo2->installEventFilter(this);  // Tab leaves the list as Enter does
    pick_->Left = [this] {
        if (PickTarget)
            boxes_->SetFocused(PickTarget, false);
    };

    // The grid pane: filter, sort and quick find above the list.
    Picture4 = new QWidget(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Picture4->setMouseTracking(true);
    Picture4->installEventFilter(this);
    const char* const kCaptions[4] = {"排序欄位", "過濾欄位", "快速查詢", "過濾條件"};
    const QPoint kAt[4] = {{120, 540}, {120, 240}, {2460, 540}, {2460, 240}};
    for (int i = 0; i < 4; ++i) {
        Label2[size_t(i)] = new QLabel(QString::fromUtf8(kCaptions[i]), Picture4);
        Label2[size_t(i)]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        const int right = kAt[i].x() == 120 ? 960 : 3300;
        Label2[size_t(i)]->setGeometry(Px(kAt[i].x()), Px(kAt[i].y() - 45), Px(right - kAt[i].x() - 30), Px(285));
    }
    for (int i = 0; i < 2; ++i) {
        Combo1[size_t(i)] = new QComboBox(Picture4);
        Combo1[size_t(i)]->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        Combo1[size_t(i)]->setGeometry(Px(960), Px(i == 0 ? 180 : 480), Px(1395), Px(300));
        connect(Combo1[size_t(i)], &QComboBox::currentIndexChanged, this, [this, i] {
            if (!loading_)
                ButtonSteps({[this, i] { Combo1_Click(i); }});
        });
    }
    Combo3 = new QComboBox(Picture4);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    Combo3->setEditable(true);
    Combo3->setInsertPolicy(QComboBox::NoInsert);
    Combo3->setCompleter(nullptr);
    Combo3->setGeometry(Px(3300), Px(180), Px(1935), Px(300));
    connect(Combo3, &QComboBox::editTextChanged, this, [this] {
        if (!loading_)
            Combo3_Change();
    });
    Text1[1] = new QLineEdit(Picture4);
    Text1[1]->setObjectName(QStringLiteral("Text1_1"));
    Text1[1]->setGeometry(Px(3300), Px(480), Px(1935), Px(315));
    connect(Text1[1], &QLineEdit::textChanged, this, [this] { Command3_Click(1); });
    for (int i = 0; i < 2; ++i) {
        Command3[size_t(i)] = new QPushButton(QStringLiteral("..."), Picture4);
        Command3[size_t(i)]->setObjectName(QStringLiteral("Command3_%1").arg(i));
        Command3[size_t(i)]->setGeometry(Px(5220), Px(i == 0 ? 120 : 480), Px(375), Px(375));
        connect(Command3[size_t(i)], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }
    DataGrid1 = new QTableView(Picture4);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    List.RowChanged = [this] {
        if (EditMode.isEmpty())
            showAudit();
    };

    // The status bar with the audit values.
    Picture3 = new AuditStrip(this, {QStringLiteral("建檔者"), QStringLiteral("建檔日期"), QStringLiteral("修改者"),
                                     QStringLiteral("修改日期")});
    Picture3->setObjectName(QStringLiteral("Picture3_1"));
    // Places in the strip's order: 建檔者, 建檔日期, 修改者, 修改日期.
    Picture3->Place({AuditPlace{4020, 4740, 1170}, AuditPlace{1920, 2760, 1230}, AuditPlace{8040, 8700, 1500},
                     AuditPlace{5940, 6780, 1230}},
                    120, 255);
    CreatTxt = {Picture3->Values[1], Picture3->Values[0], Picture3->Values[3], Picture3->Values[2]};
    for (QLabel* l : Picture3->Captions)
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label3[0] = new QLabel(QStringLiteral("狀態:"), Picture3);
    Label3[0]->setObjectName(QStringLiteral("Label3_0"));
    Label3[0]->setGeometry(0, Px(120), Px(480), Px(255));
    Label3[1] = new QLabel(kNormal, Picture3);
    Label3[1]->setObjectName(QStringLiteral("Label3_1"));
    Label3[1]->setGeometry(Px(480), Px(120), Px(1410), Px(255));

    // The button bar.
    Picture2 = new QWidget(this);
    Picture2->setObjectName(QStringLiteral("ButtonBar"));
    for (int i = 0; i < 15; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kBar[i].caption), Picture2);
        b->setObjectName(QStringLiteral("Command2_%1").arg(i));
        const bool nav = i >= kFirst && i <= kLast;
        b->setGeometry(Px(kBar[i].left), Px(nav ? kNavTop : kButtonTop), Px(kBar[i].width),
                       Px(nav ? 375 : kButtonHeight));
        connect(b, &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        Command2[size_t(i)] = b;
    }
    for (int i : {kRunQuery, kLeaveQuery, kRelate})
        Command2[size_t(i)]->hide();
    Command1 = new QPushButton(QStringLiteral("資料重整"), Picture2);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Px(kCommand1Left), Px(kButtonTop), Px(kCommand1Width), Px(kButtonHeight));
    connect(Command1, &QPushButton::clicked, this, [this] { ButtonSteps({[this] { Command1_Click(); }}); });
}

// ---- Load ----------------------------------------------------------------------------------------

void DBtable_fm::formLoad()
{
    resize(Px(kWidth - kFrameWidth), Px(kHeight - kFrameHeight));
    Image1->setGeometry(0, 0, Px(kWidth), Px(kTitleHeight));
    setWindowTitle(gTableSetName);
    TableName = gTableSetName;
    LOAD_SET();
}

bool DBtable_fm::LOAD_SET()
{
    if (vb::Trim(TableName).isEmpty()) {
        ui::MsgBox(QStringLiteral("無抬頭項目"));
        FailLoad();
        return false;
    }
    bool built = false;
    ButtonSteps({[this, &built] {
        GetFields(TableName, gConn);
        built = true;
    }});
    if (!built) {
        FailLoad();
        return false;
    }
    ButtonSteps({[this] { ReConnObj(); }});
    const bool any = List.HasCurrent();
    Command2[kChange]->setEnabled(any);
    Command2[kDelete]->setEnabled(any);
    CommandSty(false);
    Command2[kSave]->setEnabled(false);
    顯示訊息();
    return true;
}

// The columns come from the catalogue: nothing of the table is read to build the window.
void DBtable_fm::GetFields(const QString& table, db::Connection& conn)
{
    std::vector<MemberColumn> columns;
    for (const db::ColumnInfo& c : conn.Columns(table))
        columns.push_back({c.name, c.adoType, c.definedSize});
    if (columns.empty())
        throw db::DbError(3078, QStringLiteral("找不到資料表 ") + table);
    layout_ = StackMemberFields(columns, MemberPaneHeightAtLoad());
    LastFieldIndex = layout_.LastFieldIndex();
    FieldNames.clear();
    FieldTypes.clear();
    for (const MemberColumn& c : layout_.columns) {
        FieldNames.push_back(c.name);
        FieldTypes.push_back(c.adoType);
    }
    buildFields();
    for (QComboBox* combo : Combo1) {
        const QSignalBlocker block(combo);
        combo->clear();
        for (const QString& name : FieldNames)
            combo->addItem(name);
        combo->setCurrentIndex(0);
    }
    SetGrid();
}

void DBtable_fm::buildFields()
{
    std::vector<RecordField> fields;
    for (int i = 0; i <= LastFieldIndex; ++i)
        fields.push_back({i, FieldNames[size_t(i)], i, 0, FieldNames[size_t(i)], layout_.maxLength[size_t(i)], true,
                          QString()});
    const int memo = LastFieldIndex + 1;
    const bool hasMemo = gConn.ColumnExists(TableName, kMemoColumn);
    fields.push_back({memo, hasMemo ? kMemoColumn : QString(), memo, 0, QStringLiteral("備註:"), 0, hasMemo, QString(),
                      RecordField::kMultiLine});
    boxes_ = new RecordBoxes(this);
    boxes_->Build(
        fields, memo + 1, memo + 1,
        [this, memo](const RecordField& f) {
            if (f.box == memo)
                return BoxPlace{Picture1, PxRect({3660, 480, 2595, 2055}), PxRect({3660, 240, 915, 240}),
                                Qt::AlignLeft | Qt::AlignVCenter};
            // A label as high as its box, so the caption is never cut at the foot.
            QRect label = PxRect(layout_.labels[size_t(f.box)]);
            label.setHeight(std::max(Px(kBox0.height()), fontMetrics().height() + 2));
            return BoxPlace{Picture1, PxRect(layout_.boxes[size_t(f.box)]), label, Qt::AlignLeft | Qt::AlignTop};
        },
        this, QStringLiteral("Fields_name"), QStringLiteral("Fields_Text"));
    boxes_->SetIdleColor(BoxColours::Grey());
    boxes_->Changed = [this](int box) {
        if (box <= LastFieldIndex)
            Fields_Text_Change(box);
        else if (!EditMode.isEmpty() && EditMode != ModeText::Find)
            ChangFlagOpt->setChecked(true);
    };
    for (int i = 0; i <= LastFieldIndex; ++i) {
        Fields_Text.push_back(boxes_->Line(i));
        Fields_name.push_back(boxes_->Labels()[size_t(i)]);
        Fields_Text.back()->setMouseTracking(true);
    }
    MemoFieldTxt = boxes_->Memo(memo);
    MemoFieldTxt->setObjectName(QStringLiteral("MemoFieldTxt"));
    MemoFieldTxt->setTabChangesFocus(true);
    Label4 = boxes_->Labels()[size_t(memo)];
    Label4->setObjectName(QStringLiteral("Label4"));
    if (!layout_.mailButton.isEmpty()) {
        Command4[0]->setGeometry(PxRect(layout_.mailButton));
        Command4[0]->show();
        Command4[0]->raise();
    }
}

int DBtable_fm::GetfieldIndex(const QString& name) const { return layout_.FieldIndex(name); }

// One list column per box, 120 twips per byte of the box.
void DBtable_fm::SetGrid()
{
    std::vector<ListColumn> columns;
    for (int i = 0; i <= LastFieldIndex; ++i)
        columns.push_back({FieldNames[size_t(i)], layout_.maxLength[size_t(i)] * 120, FieldNames[size_t(i)]});
    List.Attach(DataGrid1, columns);
}

// ---- Layout --------------------------------------------------------------------------------------

void DBtable_fm::Form_Resize()
{
    bool maximized = false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        maximized = sub->isMaximized();
    const MemberPanes p = PlaceMemberPanes(Tw(width()), Tw(height()), maximized, kFieldPaneFinalWidth);
    TopPicture->setVisible(p.titleShown);
    TopPicture->setGeometry(PxRect(p.title));
    Picture1->setGeometry(PxRect(p.fieldPane));
    Picture4->setGeometry(PxRect(p.gridPane));
    Picture4->raise();
    DataGrid1->setGeometry(PxRect(p.grid));
    Picture3->setGeometry(PxRect(p.statusBar));
    Picture2->setGeometry(PxRect(p.buttonBar));
}

void DBtable_fm::Form_Unload()
{
    if (Unloaded)
        Unloaded();
}

// ---- The list ------------------------------------------------------------------------------------

void DBtable_fm::ReConnObj()
{
    const QString f = Combo1[0]->currentText();
    const QString v = Combo3->currentText();
    int type = 0;
    if (!vb::Trim(f).isEmpty() && !vb::Trim(v).isEmpty()) {
        if (Combo1[0]->currentIndex() < 0) {
            const QSignalBlocker block(Combo1[0]);
            Combo1[0]->setCurrentIndex(0);
        }
        type = FieldTypes[size_t(std::max(0, Combo1[0]->currentIndex()))];
    }
    const db::Statement q = MemberListQuery(TableName, Combo1[0]->currentText(), type, v, Combo1[1]->currentText());
    {
        RecordList::Hold hold(List);
        List.Open(q.sql, q.params);
    }
    boxes_->Binding()->setRecordset(MainRs());
    boxes_->ClearWriteFailures();
    showAudit();
    List.ShowCurrent();
}

void DBtable_fm::showAudit() { Picture3->LoadRecord(MainRs()); }

void DBtable_fm::讀入查詢清單(const QString& field, QComboBox* combo)
{
    {
        const QSignalBlocker block(combo);
        combo->clear();
    }
    if (field.isEmpty())
        return;
    ui::WaitCursor wait;
    const QString typed = combo->currentText();
    FillDistinctCombo(combo, field, TableName, gConn);
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(-1);
    combo->setEditText(typed);
}

void DBtable_fm::顯示訊息()
{
    SetStatusText(MemberListDescription(Combo1[0]->currentText(), Combo3->currentText(), Combo1[1]->currentText()));
}

void DBtable_fm::Combo1_Click(int index)
{
    ReConnObj();
    if (index == 0) {
        const bool hadValue = !Combo3->currentText().isEmpty();
        讀入查詢清單(Combo1[0]->currentText(), Combo3);
        // A new filter column starts with no value: the list is shown whole again.
        if (hadValue) {
            {
                const QSignalBlocker block(Combo3);
                Combo3->setEditText(QString());
            }
            ReConnObj();
        }
    }
    顯示訊息();
}

void DBtable_fm::Combo3_Change()
{
    顯示訊息();
    Command3_Click(0);
}

void DBtable_fm::Command3_Click(int index)
{
    if (index == 0)
        ButtonSteps({[this] { ReConnObj(); }});
    else if (index == 1)
        quickFind();
}

void DBtable_fm::quickFind()
{
    const QString t = Text1[1]->text();
    if (vb::Trim(t).isEmpty() || !EditMode.isEmpty())
        return;
    ButtonSteps({[&] {
        const int k = std::max(0, Combo1[1]->currentIndex());
        const long row = MemberQuickFindRow(GridRs(), Combo1[1]->currentText(), FieldTypes[size_t(k)], t);
        if (row < 0)
            return;  // no match: the current member stays
        GridRs().SetAbsolutePosition(row + 1);
    }});
}

void DBtable_fm::Command1_Click()
{
    Label3[1]->setText(kNormal);
    QueryMode = false;
    ReConnObj();
}

// ---- Buttons -------------------------------------------------------------------------------------

ButtonErrorPolicy DBtable_fm::ButtonErrors()
{
    return {.describe = [](const db::DbError& e) { return ErrorText(e); }};
}

void DBtable_fm::Command2_Click(int index)
{
    switch (index) {
    case kNew: ButtonSteps({[this] { AddNew(); }}); break;
    case kChange: ButtonSteps({[this] { startEdit(); }}); break;
    case kDelete: ButtonSteps({[this] { deleteRow(); }}); break;
    case kFirst:
    case kPrevious:
    case kNext:
    case kLast: ButtonSteps({[this, index] { move(index); }}); break;
    case kClose: close(); break;
    case kSave: FileSave(); break;
    case kCancel: cancel(); break;
    case kEnterQuery: ButtonSteps({[this] { enterQuery(); }}); break;
    case kRunQuery: runQuery(); break;
    case kLeaveQuery: ButtonSteps({[this] { leaveQuery(); }}); break;
    default: break;  // 列印 has nothing to do here
    }
}

void DBtable_fm::CommandSty(bool editing)
{
    ApplyButtonModes({Command2.begin(), Command2.end()}, kModes, editing);
    for (int i = kFirst; i <= kLast; ++i)
        Command2[size_t(i)]->setEnabled(!editing);
    Command1->setVisible(!editing);
    Command2[kCancel]->setEnabled(editing);
    enableList(!editing);
}

// The filter, the sort, the find and the list stay as they are while a member is being edited or
// criteria are typed.
void DBtable_fm::enableList(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Combo1[0], Combo1[1], Combo3, Command3[0], Command3[1], Text1[1],
                                                       DataGrid1})
        w->setEnabled(enabled);
}

void DBtable_fm::SaveChecked(bool& ok) { ok = true; }

void DBtable_fm::AddNew()
{
    // The number is read first: when it cannot be (a locked file), no new member is left pending.
    const bool numbered = std::find(FieldNames.begin(), FieldNames.end(), kNumberColumn) != FieldNames.end();
    const QString n = numbered ? GetYearMonthNo(TableName, kNumberColumn, gConn, 0) : QString();
    EditMode = ModeText::AddNew;
    ChangFlagOpt->setChecked(false);
    boxes_->ClearWriteFailures();
    MainRs().AddNew();
    for (int i = 0; i <= LastFieldIndex; ++i) {
        if (FieldNames[size_t(i)] == kNumberColumn)
            Fields_Text[size_t(i)]->setText(n.isEmpty() ? QString() : QString::number(qint64(vb::Val(n))));
    }
    Picture3->StartAdd(gUserName, AuditToday());
    Fields_Text[0]->setFocus(Qt::OtherFocusReason);
}

void DBtable_fm::startEdit()
{
    if (!List.HasCurrent())
        return;  // no member to change
    GridRs().setBookmark(MainRs().bookmark());
    EditMode = ModeText::Edit;
    ChangFlagOpt->setChecked(false);
    boxes_->ClearWriteFailures();
    Picture3->StartChange(gUserName, AuditToday());
    Fields_Text[0]->setFocus(Qt::OtherFocusReason);
}

void DBtable_fm::FileSave()
{
    bool ok = false;
    SaveChecked(ok);
    if (!ok || (EditMode != ModeText::AddNew && EditMode != ModeText::Edit))
        return;
    const ModeText::Mode mode = EditMode.mode();
    const qint64 serial = mode == ModeText::Edit ? qint64(vb::Val(vb::Nz(db::ValueOrNull(MainRs(), kKeyColumn)))) : 0;
    SaveCycle cycle;
    cycle.rs = &MainRs();
    cycle.list = &List;
    cycle.adding = mode == ModeText::AddNew;
    cycle.failureText = SaveFailedText();
    // A pick list still open hands its text over first; a value its column cannot hold ("." or
    // "1.2.3" in a number) is named and nothing is saved.
    cycle.openLists = {pick_};
    cycle.refusals = {boxes_};
    cycle.stored = {Picture3};
    cycle.intoRow = [this] {
        if (MainRs().FieldIndex(kMemoColumn) >= 0)
            MainRs().setValue(kMemoColumn, MemoFieldTxt->toPlainText());
    };
    // No transaction: a failed Update leaves the row pending and the window in its mode, to be
    // corrected and saved again.
    cycle.place = [this, mode, serial] {
        // The list follows moves only while browsing: the mode is left first.
        EditMode.clear();
        Command2[kSave]->setEnabled(false);
        ChangFlagOpt->setChecked(false);
        // The saved member takes its place in the list's order without a new read of the
        // table; only when the list cannot place it (its filter leaves it out) are the members
        // read again.
        bool placed = false;
        ButtonSteps({[this, &placed] {
                         placed = List.ShowAdded();
                         if (placed)
                             return;
                         RecordList::Hold hold(List);
                         MainRs().MoveLast();
                         MainRs().Requery();
                         List.Relink();
                         boxes_->Binding()->setRecordset(MainRs());
                     },
                     [this, mode, serial, &placed] {
                         if (placed || (mode == ModeText::Edit && List.ShowRow(kKeyColumn, QString::number(serial))))
                             return;
                         if (GridRs().RecordCount() > 0)
                             GridRs().MoveLast();
                     }});
    };
    cycle.mode = [this, mode] {
        showAudit();
        Command2[kChange]->setEnabled(List.HasCurrent());
        Command2[kDelete]->setEnabled(List.HasCurrent());
        if (mode == ModeText::AddNew)
            Command2[kNew]->click();
    };
    // The row is stored by then: what goes wrong after it is no failed save.
    cycle.runSteps = [this](const RecordSteps& steps) { ButtonSteps(steps); };
    ButtonSteps({[&] { SaveRecord(cycle); }}, SaveFailedText());
}

void DBtable_fm::cancel()
{
    Command2[kSave]->setEnabled(false);
    ChangFlagOpt->setChecked(false);
    pick_->List()->hide();
    const bool changing = EditMode == ModeText::Edit;
    EditMode.clear();
    boxes_->ClearWriteFailures();
    // A change given up leaves the member as stored now (changed or deleted on another computer
    // meanwhile), so that the next change starts from what the file holds.
    ButtonSteps({[this, changing] { changing ? List.CancelChange() : MainRs().CancelUpdate(); }});
    if (MainRs().IsOpen()) {
        db::TryMoveLast(MainRs());
        boxes_->LoadRecord(MainRs());
        List.ShowCurrent();
    }
    showAudit();
}

void DBtable_fm::deleteRow()
{
    if (!List.HasCurrent())
        return;
    if (ui::MsgBox(QStringLiteral("確定刪除? "), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    {
        RecordList::Hold hold(List);
        MainRs().Delete();
        // The member has left the recordset and the list: nothing is read again.
        if (MainRs().RecordCount() > 0)
            MainRs().MoveFirst();
        boxes_->LoadRecord(MainRs());
    }
    List.ShowCurrent();
    showAudit();
    Command2[kChange]->setEnabled(List.HasCurrent());
    Command2[kDelete]->setEnabled(List.HasCurrent());
}

void DBtable_fm::move(int index)
{
    if (MainRs().RecordCount() == 0)
        return;
    switch (index) {
    case kFirst: MainRs().MoveFirst(); break;
    case kPrevious:
        MainRs().MovePrevious();
        if (MainRs().Bof()) {
            MainRs().MoveFirst();
            ui::MsgBox(QStringLiteral("已經在第一筆"));
        }
        break;
    case kNext:
        MainRs().MoveNext();
        if (MainRs().Eof()) {
            MainRs().MoveLast();
            ui::MsgBox(QStringLiteral("已經在最後一筆"));
        }
        break;
    case kLast: MainRs().MoveLast(); break;
    default: break;
    }
    GridRs().setBookmark(MainRs().bookmark());
    showAudit();
}

// ---- Query by form -------------------------------------------------------------------------------

void DBtable_fm::bindBoxes(bool bound)
{
    for (int i = 0; i <= LastFieldIndex; ++i) {
        if (bound)
            boxes_->Binding()->bind(Fields_Text[size_t(i)], FieldNames[size_t(i)]);
        else
            boxes_->Binding()->unbind(Fields_Text[size_t(i)]);
    }
}

void DBtable_fm::enterQuery()
{
    QueryMode = true;
    bindBoxes(false);
    EditMode = ModeText::Find;
    for (QLineEdit* box : Fields_Text)
        box->clear();
    for (int i = kNew; i <= kEnterQuery; ++i)
        Command2[size_t(i)]->hide();
    Command1->hide();
    Command2[kRunQuery]->show();
    Command2[kLeaveQuery]->show();
    Command2[kRunQuery]->setEnabled(false);
    Label3[1]->setText(kQuery);
    enableList(false);
}

void DBtable_fm::runQuery()
{
    CommitPickLists({pick_});
    std::vector<MemberCriterion> boxes;
    for (int i = 0; i <= LastFieldIndex; ++i)
        boxes.push_back({FieldNames[size_t(i)], Fields_Text[size_t(i)]->text()});
    const FindCondition condition = MemberFormCondition(boxes);
    if (condition.isEmpty())
        return;
    db::Recordset rs;
    bool opened = false;
    ButtonSteps({[&] {
        const db::Statement q = MemberFormQuery(TableName, condition);
        rs.Open(q.sql, gConn, db::adOpenDynamic, db::adLockOptimistic, q.params);
        opened = true;
    }});
    if (!opened || rs.Eof())
        return;  // nothing matches: the criteria stay for another try
    Command2[kRunQuery]->hide();
    Command2[kLeaveQuery]->hide();
    EditMode.clear();
    {
        RecordList::Hold hold(List);
        List.Rs = rs;
        List.Relink();
    }
    bindBoxes(true);
    boxes_->Binding()->setRecordset(MainRs());
    showAudit();
    List.ShowCurrent();
}

void DBtable_fm::leaveQuery()
{
    pick_->List()->hide();
    bindBoxes(true);
    EditMode.clear();
    Command2[kRunQuery]->hide();
    Command2[kLeaveQuery]->hide();
    Command1_Click();
}

// ---- Mail ------------------------------------------------------------------------------------------

void DBtable_fm::Command4_Click(int index)
{
    if (index != 0)
        return;
    const int i = GetfieldIndex(QStringLiteral("電子信箱"));
    const QString address = vb::Trim(Fields_Text[size_t(i)]->text());
    if (address.isEmpty()) {
        ui::MsgBox(QStringLiteral("郵件地紙是空的"));
        return;
    }
    shellsvc::OpenUrl(QStringLiteral("mailto:") + address);
}
