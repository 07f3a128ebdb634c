// The employee window: building, the list and its filters, the finds, the record cycle and the save.
#include "staff/PersonnelFrm.h"
#include "core/BoxColours.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/numbering/Numbering.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/FieldBinding.h"
#include "records/FieldTable.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/ByteLimit.h"
#include "records/RecordCycle.h"
#include "records/RecordExtras.h"
#include "records/RecordSave.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "codetables/CodeTableFrm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>

namespace {

using vb::Px;

// Which buttons of the bar browsing shows and which editing shows (重整 and 備用 never show).
const std::vector<ButtonMode> kBarModes = {
    {PersonnelFrm::kNew, ButtonMode::Browse},    {PersonnelFrm::kChange, ButtonMode::Browse},
    {PersonnelFrm::kDelete, ButtonMode::Browse}, {PersonnelFrm::kExit, ButtonMode::Browse},
    {PersonnelFrm::kSave, ButtonMode::Edit},     {PersonnelFrm::kCancel, ButtonMode::Edit},
};

const QString kAll = QStringLiteral("不分部門");
const QString kByDepartment = QStringLiteral("部門分類");
const QString kByName = QStringLiteral("姓名");
const QString kEmployee = QStringLiteral("員工");
const QString kRequiredHint = QStringLiteral("有打 [*] 號的欄位為必須輸入才能存檔");

// Design sizes (twips).
constexpr int kWidth = 11070, kHeight = 7850;
constexpr int kStripHeight = 495, kButtonWidth = 975, kButtonHeight = 435, kListWidth = 2955;
constexpr int kRow = 360, kBoxHeight = 300;

// Where a box sits on its page (twips): label left, box left, row, box width (label width 1000).
struct Place {
    int labelLeft, boxLeft, row, width;
};
constexpr int kA = 60, kBoxA = 1100, kB = 3500, kBoxB = 4540;
const Place kText1Places[20] = {
    {kA, kBoxA, 0, 900},     {kB, kBoxB, 0, 1500},   {kA, kBoxA, 1, 1800},  {kA, kBoxA, 2, 1800},
    {kB, kBoxB, 2, 1500},    {kB, kBoxB, 1, 1500},   {kA, kBoxA, 3, 1800},  {kB, kBoxB, 3, 1500},
    {kA, kBoxA, 4, 1800},    {kB, kBoxB, 4, 1500},   {kA, kBoxA, 5, 1800},  {kB, kBoxB, 5, 1500},
    {kA, kBoxA, 6, 1500},    {kB, kBoxB, 6, 1500},   {kA, kBoxA, 7, 1800},  {kA, kBoxA, 8, 4940},
    {kA, kBoxA, 9, 4600},    {kA, kBoxA, 0, 6600},   {kA, kBoxA, 1, 6600},  {kA, kBoxA, 2, 6600},
};

QString S(const char* s) { return QString::fromUtf8(s); }

}  // namespace

PersonnelFrm::PersonnelFrm(QWidget* parent, const QPixmap& titlePicture)
    : RecordWindowOf(parent, QStringLiteral("PersonnelFrm"), kWidth, kHeight)
{
    Claim(this);
    build(titlePicture);
    built_ = true;
    FollowMode(EditMode, {boxes_.begin(), boxes_.end()}, [this] { CommandSty(editing()); });
    formLoad();
    loading_ = false;
}

PersonnelFrm::~PersonnelFrm() = default;

// ---- Building ----------------------------------------------------------------------------------

void PersonnelFrm::build(const QPixmap& titlePicture)
{
    resize(Px(kWidth), Px(kHeight));
    BuildTitleAndList(titlePicture, kWidth);

    // The list panel.
    Picture4->setGeometry(0, 0, Px(kListWidth), Px(kHeight));
    auto label = [&](const QString& text, QWidget* parent, int x, int y, int w) {
        auto* l = new QLabel(text, parent);
        l->setGeometry(Px(x), Px(y), Px(w), Px(kBoxHeight));
        return l;
    };
    auto combo = [&](int i, QWidget* parent) {
        auto* c = new QComboBox(parent);
        c->setObjectName(QStringLiteral("DataCombo1_%1").arg(i));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        c->setAttribute(Qt::WA_Hover);
        c->installEventFilter(this);
        DataCombo1[size_t(i)] = c;
        return c;
    };
    combo(0, Picture4)->setToolTip(QStringLiteral("選取部門以顯示該部門的員工資料"));
    DataCombo1[0]->setGeometry(Px(20), Px(30), Px(kListWidth - 60), Px(kBoxHeight));
    DataCombo1[0]->setEnabled(false);
    connect(DataCombo1[0], &QComboBox::editTextChanged, this, [this] {
        if (!loading_)
            Brisklookworkman(vb::Trim(DataCombo1[0]->currentText()));
    });
    label(S("排序:"), Picture4, 20, 390, 600)->setObjectName(QStringLiteral("Label3_0"));
    Combo2 = new QComboBox(Picture4);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setToolTip(QStringLiteral("排序的方式"));
    Combo2->setGeometry(Px(640), Px(390), Px(1000), Px(kBoxHeight));
    connect(Combo2, &QComboBox::activated, this, [this] { LinkDataGWorkMan(); });
    Check2 = new QCheckBox(QStringLiteral("包含離職"), Picture4);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setToolTip(QStringLiteral("包含已經離職之員工資料"));
    Check2->setGeometry(Px(1700), Px(390), Px(1200), Px(kBoxHeight));
    connect(Check2, &QCheckBox::clicked, this, [this] { LinkDataGWorkMan(); });
    for (int i : {5, 7})
        Command3[size_t(i)] = ArrayButton(Picture4, this, QStringLiteral("Command3"), i, [this, i] { Command3_Click(i); });
    Command3[7]->setText(kAll);
    Command3[7]->setToolTip(QStringLiteral("顯示全部資料或以部門分類顯示"));
    Command3[7]->setGeometry(Px(20), Px(750), Px(1200), Px(kBoxHeight + 30));
    label(S("速查:"), Picture4, 1260, 780, 600)->setObjectName(QStringLiteral("Label3_1"));
    // The employee find offers the names of the list as it stands when it is opened.
    DataCombo1[1] = new QuickFindBox(Picture4, QStringLiteral("RV17A2"));
    DataCombo1[1]->setObjectName(QStringLiteral("DataCombo1_1"));
    DataCombo1[1]->setAttribute(Qt::WA_Hover);
    DataCombo1[1]->installEventFilter(this);
    DataCombo1[1]->setToolTip(QStringLiteral("快速尋找,可輸入員工代號或員工姓名來查詢"));
    DataCombo1[1]->setGeometry(Px(1860), Px(765), Px(kListWidth - 1900), Px(kBoxHeight));
    connect(DataCombo1[1], &QComboBox::editTextChanged, this,
            [this] { BRisklookworkmanType(vb::Trim(DataCombo1[1]->currentText())); });
    DataGrid1 = ListView(Picture4, this, QStringLiteral("DataGrid1_1"));
    DataGrid1->setGeometry(Px(20), Px(1140), Px(kListWidth - 60), Px(kHeight));
    List.Attach(DataGrid1, {{QStringLiteral("RV17A1"), 1200, LoadResString(649)},
                            {QStringLiteral("RV17A2"), 1400, LoadResString(650)}});
    DataGrid1->horizontalHeader()->setStretchLastSection(true);
    // The record follows the list when the user clicks a row (the keys move the list alone).
    List.Follows = [this] { return mouseOnGrid_; };
    List.RowChanged = [this] {
        Command2[kChange]->setEnabled(true);
        Command2[kDelete]->setEnabled(true);
    };

    // Tabs and pages.
    TabStrip1 = TabBar(this, QStringLiteral("TabStrip1"), {{"Basic"}, {"adress"}, {"Other", QStringLiteral("其他資料")}},
                       [this](int) { TabStrip1_Click(); });
    TabPages(this, QStringLiteral("Picture2"), Picture2);
    Picture2[0] = new QWidget(this);
    Picture2[0]->setObjectName(QStringLiteral("Picture2_0"));
    buildPages();

    // The button bar.
    struct Bar {
        int index;
        const char* caption;
        const char* tip;
        int left;
    };
    const Bar bar[] = {
        {kRefresh, "重整", "", 0},
        {kNew, "新增(&N)", "新增加一位員工資料", 120},
        {kChange, "修改(&G)", "編輯修改這位員工資料", 1080},
        {kSpare, "備用", "", 0},
        {kDelete, "刪除(&D)", "刪除這個員工資料(通常只要輸入離職日期即可)", 2040},
        {kSave, "存檔(&S)", "儲存這筆資料", 120},
        {kCancel, "放棄(&C)", "放棄編輯這筆資料,您的編修內容將不會被儲存.", 1080},
        {kExit, "離開(&X)", "結束離開員工資料管理", 9600},
    };
    for (const Bar& b : bar) {
        QPushButton* button = ArrayButton(this, this, QStringLiteral("Command2"), b.index, [this, i = b.index] { Command2_Click(i); });
        button->setText(S(b.caption));
        button->setToolTip(S(b.tip));
        button->setGeometry(Px(b.left), 0, Px(kButtonWidth), Px(kButtonHeight));
        Command2[size_t(b.index)] = button;
    }
    Command2[kRefresh]->hide();
    Command2[kSpare]->hide();
    ApplyButtonModes({Command2.begin(), Command2.end()}, kBarModes, false);
}

void PersonnelFrm::buildPages()
{
    auto makeLabel = [&](const QString& text, QWidget* page, int x, int row, int w) {
        auto* l = new QLabel(text, page);
        l->setGeometry(Px(x), Px(90 + row * kRow), Px(w), Px(kBoxHeight));
        Labels.push_back(l);
        return l;
    };
    auto place = [&](QWidget* box, QWidget* page, int x, int row, int w, int h = kBoxHeight) {
        box->setGeometry(Px(x), Px(90 + row * kRow), Px(w), Px(h));
    };
    auto rect = [](int x, int row, int w, int h = kBoxHeight) {
        return QRect(Px(x), Px(90 + row * kRow), Px(w), Px(h));
    };
    // Each box array is one field table of the kit; the boxes follow WorkmanRs.
    const char* prefixes[] = {"Text1", "Text2", "Text3"};
    const int counts[] = {20, 11, 7};
    for (int a = 0; a < 3; ++a) {
        const auto array = BoxArray(a);
        std::vector<RecordField> fields;
        for (const PersonnelField& f : PersonnelFields())
            if (f.box.array == array)
                fields.push_back({f.box.index, f.column, f.box.index, f.captionId, f.caption, f.maxLength, true, f.tip,
                                  f.multiLine ? int(RecordField::kMultiLine) : 0});
        auto* boxes = new RecordBoxes(this);
        boxes->Build(
            fields, counts[a], counts[a],
            [&](const RecordField& f) {
                const PersonnelField& pf = PersonnelFieldOf({array, f.box});
                BoxPlace p;
                p.page = Picture2[size_t(pf.page)];
                p.labelAlign = Qt::AlignLeft | Qt::AlignVCenter;
                const int i = f.box;
                if (array == BoxArray::Text1) {
                    const Place& at = kText1Places[i];
                    p.box = rect(at.boxLeft, at.row, at.width, pf.multiLine ? 2400 : kBoxHeight);
                    p.label = rect(at.labelLeft, at.row, 1000);
                } else if (array == BoxArray::Text2) {
                    const bool right = i % 2 == 1 && i < 10;
                    const int row = i < 10 ? i / 2 : 5;
                    // The right column's captions run to six characters ("保證人身分證").
                    p.box = rect(right ? kBoxB + 200 : kBoxA, row, i == 10 ? 6600 : (i >= 8 ? 2300 : 1800),
                                 i == 10 ? 2000 : kBoxHeight);
                    p.label = rect(right ? kB : kA, row, right ? 1200 : 1000);
                } else {
                    p.box = rect(kBoxA, i, 1800);
                    p.label = rect(kA, i, 1000);
                }
                return p;
            },
            this, QStringLiteral("Label2_") + QString::fromLatin1(prefixes[a]), QString::fromLatin1(prefixes[a]));
        boxes->LoadCaptions();
        boxes->Changed = [this, array](int i) { boxChanged({array, i}); };
        for (QLabel* l : boxes->Labels())
            if (l)
                Labels.push_back(l);
        for (int i = 0; i < counts[a]; ++i) {
            QWidget* box = boxes->Box(i);
            if (array == BoxArray::Text1)
                Text1[size_t(i)] = box;
            else if (array == BoxArray::Text2)
                Text2[size_t(i)] = box;
            else
                Text3[size_t(i)] = static_cast<QLineEdit*>(box);
        }
        boxes_[size_t(a)] = boxes;
    }
    QWidget* basic = Picture2[1];
    PartnameLab = new QLabel(basic);
    PartnameLab->setObjectName(QStringLiteral("PartnameLab"));
    PartnameLab->setGeometry(Px(kBoxA + 960), Px(90), Px(1400), Px(kBoxHeight));
    makeLabel(QStringLiteral("建檔日期"), basic, kB, 7, 1000);
    CreatDatetext = new QLineEdit(basic);
    CreatDatetext->setObjectName(QStringLiteral("CreatDatetext"));
    CreatDatetext->setReadOnly(true);
    CreatDatetext->setToolTip(PersonnelFieldOf({BoxArray::Text1, 13}).tip);
    place(CreatDatetext, basic, kBoxB, 7, 1500);
    QPalette created = CreatDatetext->palette();
    created.setColor(QPalette::Base, BoxColours::Record());
    CreatDatetext->setPalette(created);
    Check1 = new QCheckBox(basic);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setEnabled(false);
    place(Check1, basic, kBoxA + 1560, 6, 300);
    Command3[5]->setParent(basic);
    Command3[5]->setText(QStringLiteral("..."));
    place(Command3[5], basic, kBoxA + 4660, 9, 280);
    Command3[5]->setEnabled(false);
    Command3[5]->show();
    Picture3 = new QLabel(basic);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setFrameShape(QFrame::Box);
    Picture3->setAlignment(Qt::AlignCenter);
    Picture3->setGeometry(Px(6300), Px(90), Px(1500), Px(1900));

    // The floating editors, on the window itself.  What is typed or picked in the pick list goes
    // into its box at once; the department picker fills code, name and number when it is left.
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1_0"));
    pickList_ = new PickList(Combo1, PickList::kWriteThrough | PickList::kTabFromBox, this);
    pickList_->Focused = [] { SetStatusText(QStringLiteral("移動游標鍵選取")); };
    pickList_->Left = [] { SetStatusText(QString()); };
    Combo1->setEnabled(false);
    DataCombo1[2] = new QComboBox(this);
    DataCombo1[2]->setObjectName(QStringLiteral("DataCombo1_2"));
    picker_ = new PickList(DataCombo1[2], PickList::kChooseOnly | PickList::kTabFromBox, this);
    DataCombo1[2]->installEventFilter(this);
    picker_->Focused = [] { SetStatusText(LoadResString(676)); };
    picker_->Left = [this] { FondworkmanType(); };
    DateMaskTXT = new MaskedDateBox(this);
    DateMaskTXT->setToolTip(DateFormatTip());
    DateMaskTXT->installEventFilter(this);
}

void PersonnelFrm::LoadLanguage()
{
    setWindowTitle(LoadResString(600));
    TabStrip1->setTabText(0, LoadResString(645));
    TabStrip1->setTabText(1, LoadResString(646));
    const int bar[] = {1, 2, 3, 4, 5, 6, 7};
    for (int i : bar)
        Command2[size_t(i)]->setText(LoadResString(630 + i));
    List.SetCaption(0, LoadResString(649));
    List.SetCaption(1, LoadResString(650));
}

void PersonnelFrm::formLoad()
{
    LoadLanguage();
    selectTab(1);
    CommandSty(false);
    Combo2->addItems({kByName, QStringLiteral("編號")});
    Combo2->setCurrentIndex(0);
    ButtonSteps({[this] {
        DepartRs.Open(QStringLiteral("Select RV17.* From RV17"), gConn, db::adOpenStatic, db::adLockReadOnly);
    }});
    const QSignalBlocker block0(DataCombo1[0]);
    QStringList names;
    if (DepartRs.IsOpen()) {
        const int f = DepartRs.FieldIndex(QStringLiteral("RV171"));
        for (long i = 0; f >= 0 && i < DepartRs.RecordCount(); ++i)
            names << vb::Nz(DepartRs.valueAt(i, f));
    }
    DataCombo1[0]->addItems(names);
    DataCombo1[2]->addItems(names);
    DataCombo1[0]->setEditText(names.isEmpty() ? QString() : names.first());
    LinkDataGWorkMan();
    Combo1->addItems(GenderItems());
    SetStatusPanel(kEmployee + LoadResString(681), 0);
}

// ---- The list ----------------------------------------------------------------------------------

void PersonnelFrm::LinkDataGWorkMan()
{
    if (editing())
        return;
    const QString dept = DepartRs.IsOpen() ? db::Nz(DepartRs.field(QStringLiteral("RV170"))) : QString();
    const db::Statement q = WorkmanListQuery(Command3[7]->text() == kAll, dept, Check2->isChecked(),
                                        Combo2->currentText() == kByName);
    try {
        List.Open(q.sql, q.params);
        EditButtonsFollowList();
        for (RecordBoxes* boxes : boxes_)
            boxes->Binding()->setRecordset(WorkmanRs);
        static_cast<QuickFindBox*>(DataCombo1[1])->setSource(WorkmanRs);
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorDescription(e), ui::Buttons::OK, ui::Icon::Question, QString::number(e.Number()));
        Command2[kChange]->setEnabled(false);
        Command2[kDelete]->setEnabled(false);
    }
    // The label beside the department box names the shown employee's department (the listed
    // department while the list is empty).
    if (WorkmanRs.IsOpen() && !WorkmanRs.Bof() && !WorkmanRs.Eof())
        PartnameLab->setText(取得部門名稱(vb::Trim(Text(0))));
    else
        PartnameLab->setText(DepartRs.IsOpen() ? db::Nz(DepartRs.field(QStringLiteral("RV171"))) : QString());
}

void PersonnelFrm::LinkDbgridWkmRs() { List.Relink(); }

void PersonnelFrm::EditButtonsFollowList()
{
    const bool any = EmployeeGridClone.IsOpen() && EmployeeGridClone.RecordCount() > 0;
    Command2[2]->setEnabled(any);
    Command2[4]->setEnabled(any);
}

void PersonnelFrm::showPhoto()
{
    const QString path = vb::Trim(Text(16));
    QPixmap picture;
    if (!path.isEmpty() && picture.load(path))
        Picture3->setPixmap(picture.scaled(Picture3->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        Picture3->clear();
}

void PersonnelFrm::Command3_Click(int index)
{
    if (index == 7) {
        const bool toDepartments = Command3[7]->text() == kAll;
        Command3[7]->setText(toDepartments ? kByDepartment : kAll);
        DataCombo1[0]->setEnabled(toDepartments);
        LinkDataGWorkMan();
    } else if (index == 5) {
        TargetBox = {BoxArray::Text1, 16};
        const QString file = ui::GetOpenFileName(QStringLiteral("選取圖檔"), QString(),
                                                 QStringLiteral("Bmp Files (*.bmp);;Jpg Files (*.jpg)"));
        if (!file.isEmpty())
            SetBoxText({BoxArray::Text1, 16}, file);
    }
}

void PersonnelFrm::selectTab(int page)
{
    if (TabStrip1->currentIndex() != page - 1)
        TabStrip1->setCurrentIndex(page - 1);
    else
        TabStrip1_Click();
}

void PersonnelFrm::TabStrip1_Click()
{
    const int selected = TabStrip1->currentIndex() + 1;
    for (int i = 1; i <= 4; ++i)
        Picture2[size_t(i)]->setVisible(i == selected);
}

// ---- Finds -------------------------------------------------------------------------------------


void PersonnelFrm::Brisklookworkman(const QString& text)
{
    if (text.isEmpty() || !DepartRs.IsOpen())
        return;
    bool found = false;
    ButtonSteps({[&] { found = FindCodeOrName(DepartRs, QStringLiteral("rv170"), QStringLiteral("rv171"), vb::Trim(text)); }});
    if (!found) {
        SetStatusPanel(LoadResString(310), 0);
        return;
    }
    ButtonSteps({[&] {
        SetStatusPanel(LoadResString(404) + QStringLiteral("[ ") + vb::Nz(DepartRs.value(QStringLiteral("RV171"))) +
                           QStringLiteral(" ]"),
                       0);
        LinkDataGWorkMan();
    }});
}

void PersonnelFrm::BRisklookworkmanType(const QString& text)
{
    if (text.isEmpty() || !WorkmanRs.IsOpen() || editing())
        return;
    db::Recordset rs = WorkmanRs.Clone();
    bool found = false;
    ButtonSteps({[&] { found = FindCodeOrName(rs, QStringLiteral("rv17A1"), QStringLiteral("rv17A2"), text); }});
    if (!found) {
        SetStatusText(LoadResString(654));
        return;
    }
    ButtonSteps({[&] {
        SetStatusText(LoadResString(655) + vb::Nz(rs.value(QStringLiteral("RV17A2"))));
        EmployeeGridClone.setBookmark(rs.bookmark());
        WorkmanRs.setBookmark(rs.bookmark());
    }});
}

QString PersonnelFrm::取得部門名稱(const QString& code)
{
    db::Recordset rs;
    rs.Open(QStringLiteral("Select RV171 From RV17 Where RV170 = ?"), gConn, db::adOpenStatic, db::adLockReadOnly,
            {code});
    return rs.Eof() ? QString() : vb::Nz(rs.value(0));
}

void PersonnelFrm::FondworkmanType()
{
    const QString typed = vb::Trim(DataCombo1[2]->currentText());
    db::Recordset rs;
    rs.Open(QStringLiteral("Select rv170, rv171 From RV17 Where (rv170 = ?) Or (rv171 = ?)"), gConn, db::adOpenStatic,
            db::adLockReadOnly, {typed, typed});
    if (rs.Eof())
        return;  // no such department: the record keeps its department and number
    const QString code = vb::UCase(vb::Nz(rs.value(0)));
    const bool changed = vb::Trim(Text(0)).compare(code, Qt::CaseInsensitive) != 0;
    SetBoxText({BoxArray::Text1, 0}, code);
    PartnameLab->setText(vb::Nz(rs.value(1)));
    // The number follows a new department (or a new record), never an unchanged one.
    if (EditMode == ModeText::AddNew || changed)
        SetBoxText({BoxArray::Text1, 1}, NewWorkmanNumberText(gConn, code, WorkmanAutoNumbering()));
}

// ---- The bar -----------------------------------------------------------------------------------

ButtonErrorPolicy PersonnelFrm::ButtonErrors()
{
    // No current row and a locked record are said in the window's own words; any other data
    // error is offered Abort (which ends the program), Retry and Ignore.
    return {
        .answer =
            [](const db::DbError& e, const QString& failure) {
                if (e.Number() == 3021) {
                    ui::MsgBox(LoadResString(673));
                    return true;
                }
                if (e.Number() == 3260) {
                    const QString text = ErrorText(e) + QChar(10) + LoadResString(674);
                    ui::MsgBox(failure.isEmpty() ? text : text + gCrLf + failure);
                    return true;
                }
                return false;
            },
        .describe = [](const db::DbError& e) { return ErrorWithNumber(e, LoadResString(675)); },
        .abortEndsProgram = true};
}

void PersonnelFrm::Command2_Click(int index)
{
    switch (index) {
    case kNew:
        ButtonSteps({[this] { AddNew(); }});
        break;
    case kChange:
        ButtonSteps({[this] { 修改(); }});
        break;
    case kDelete:
        deleteRow();
        break;
    case kSave:
        ButtonSteps({[this] { FileSave(); }}, SaveFailedText());
        break;
    case kCancel:
        cancel();
        break;
    case kExit:
        close();
        break;
    default:
        break;
    }
}

void PersonnelFrm::CommandSty(bool editing)
{
    報告();
    ApplyButtonModes({Command2.begin(), Command2.end()}, kBarModes, editing);
    Command3[7]->setEnabled(!editing);
}

void PersonnelFrm::EDITTrueORFalse(bool browse)
{
    DataGrid1->setEnabled(browse);
    DataCombo1[1]->setEnabled(browse);
    Combo1->setEnabled(!browse);
    Command3[5]->setEnabled(!browse);
}

void PersonnelFrm::AddNew()
{
    SetStatusText(kRequiredHint);
    QString dept;
    auto currentDepartment = [&] {
        return DepartRs.IsOpen() && !DepartRs.Bof() && !DepartRs.Eof();
    };
    if (!currentDepartment()) {
        // The user may just have been sent to create one: read the departments again first.
        DepartRs.Requery();
        const QSignalBlocker block0(DataCombo1[0]);
        QStringList names;
        const int f = DepartRs.FieldIndex(QStringLiteral("RV171"));
        for (long i = 0; f >= 0 && i < DepartRs.RecordCount(); ++i)
            names << vb::Nz(DepartRs.valueAt(i, f));
        DataCombo1[0]->clear();
        DataCombo1[0]->addItems(names);
        DataCombo1[2]->clear();
        DataCombo1[2]->addItems(names);
        if (!names.isEmpty()) {
            DepartRs.MoveFirst();
            DataCombo1[0]->setEditText(names.first());
            PartnameLab->setText(names.first());
        }
    }
    if (!currentDepartment()) {
        if (ui::MsgBox(LoadResString(663), ui::Buttons::YesNo) != ui::Answer::Yes)
            return;
        ui::MsgBox(LoadResString(664));
        // Minimized first, so that the department window opened after it keeps the focus.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->showMinimized();
        OpenDipartmant1FRM(true, Image1->pixmap());
        return;
    }
    dept = vb::Nz(DepartRs.value(QStringLiteral("RV170")));
    WorkmanRs.AddNew();
    SetBoxText({BoxArray::Text1, 0}, dept);
    SetBoxText({BoxArray::Text1, 1}, NewWorkmanNumberText(gConn, dept, WorkmanAutoNumbering()));
    EDITTrueORFalse(false);
    EditMode = ModeText::AddNew;
    selectTab(1);
    DataChanged = false;
    SetStatusPanel(kEmployee + LoadResString(665), 0);
    HintsOff = false;
    CreatDatetext->setText(vb::Format(ui::Today(), QStringLiteral("yyyy/mm/dd")));
    TargetBox = {BoxArray::Text1, 0};
    NextBox = {BoxArray::Text1, 1};
    SaveButtonStyle();
    focusBox(TargetBox);
}

void PersonnelFrm::修改()
{
    if (WorkmanRs.Bof() || WorkmanRs.Eof())
        throw db::DbError(3021, LoadResString(673));
    EDITTrueORFalse(false);
    SetStatusText(LoadResString(666));
    EditMode = ModeText::Change;
    HintsOff = true;
    DataChanged = false;
    SaveButtonStyle();
    SetStatusPanel(kEmployee + LoadResString(667), 0);
    switch (TabStrip1->currentIndex() + 1) {
    case 1:
        focusBox({BoxArray::Text1, 1});
        break;
    case 2:
        focusBox({BoxArray::Text1, 17});
        break;
    case 3:
        focusBox({BoxArray::Text2, 0});
        break;
    default:
        break;
    }
}

void PersonnelFrm::deleteRow()
{
    if (WorkmanRs.Bof() || WorkmanRs.Eof()) {
        ui::MsgBox(LoadResString(673));
        return;
    }
    if (ui::MsgBox(LoadResString(668), ui::Buttons::YesNo, ui::Icon::None, LoadResString(669)) != ui::Answer::Yes)
        return;
    ButtonSteps({[this] { WorkmanRs.Delete(); }, [this] { LinkDataGWorkMan(); }});
}

void PersonnelFrm::cancel()
{
    if (!editing())
        return;
    if (DataChanged && ui::MsgBox(LoadResString(672), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    {
        const LeaveGuard::Hold hold(guard_);
        DateMaskTXT->hide();
        Combo1->hide();
        DataCombo1[2]->hide();
        maskCovers_ = false;
    }
    if (WorkmanRs.IsOpen())
        WorkmanRs.CancelUpdate();
    for (RecordBoxes* boxes : boxes_)
        boxes->ClearWriteFailures();
    EDITTrueORFalse(true);
    EditMode.clear();
    EditButtonsFollowList();
    HintsOff = false;
    DataChanged = false;
    CreatDatetext->clear();
    for (RecordBoxes* boxes : boxes_)
        boxes->LoadRecord(WorkmanRs);
    SetStatusPanel(kEmployee + LoadResString(671), 0);
}

void PersonnelFrm::SaveButtonStyle()
{
    Command2[kSave]->setEnabled(SaveButtonEnabled([this](int i) { return Text(i); }));
}

void PersonnelFrm::報告()
{
    ReportText = PersonnelChecklist(editing(), [this](int i) { return Text(i); });
    SetHelpPanelText(ReportText);
    SetHelpPanelCaption(QStringLiteral("員工資料"));
}

void PersonnelFrm::FileSave()
{
    if (!editing())
        return;
    const bool added = EditMode == ModeText::AddNew;
    QString number;
    bool placed = false;
    SaveCycle cycle;
    cycle.rs = &WorkmanRs;
    cycle.adding = added;
    cycle.failureText = SaveFailedText();
    // What a floating editor still holds goes into its box first (Alt+S leaves no box).
    cycle.openLists = {picker_, pickList_};
    cycle.refusals = {
        [this] {
            if (!DateMaskTXT->isVisible())
                return false;
            maskLeft();
            return DateMaskTXT->isVisible();  // the mask holds no date; it said so
        },
        [this] {
            const WorkmanRefusal refusal = SaveCheck_Workman([this](int i) { return Text(i); });
            if (!refusal)
                return false;
            if (refusal.width) {
                ui::MsgBox(refusal.message, ui::Buttons::OK, ui::Icon::Question, LoadResString(660));
                QWidget* box = Text1[size_t(refusal.box)];
                if (auto* line = qobject_cast<QLineEdit*>(box))
                    line->selectAll();
                focusBox({BoxArray::Text1, refusal.box});
            } else {
                ui::MsgBox(refusal.message);
            }
            return true;
        },
        [this] {
            // A number another employee holds is refused here too, not only when its box is left.
            const QVariant serial = db::NzValue(WorkmanRs.field(QStringLiteral("總序")));
            if (CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("RV17A"), QStringLiteral("RV17A1"),
                                 vb::Trim(Text(1)), qint32(vb::Val(serial.toString())))) {
                focusBox({BoxArray::Text1, 1});
                return true;
            }
            // The dates in their stored shape before the boxes go into the row.
            for (int box : {7, 12, 13})
                if (const auto date = ReadDate(Text(box), kEmployeeDateForm))
                    SetBoxText({BoxArray::Text1, box}, DateText(*date));
            return false;
        },
        [this] {
            // A typed value its column cannot take refuses the save, naming the box.
            // (The box gets the focus with its text as typed; the date mask stays away from it.)
            const LeaveGuard::Hold hold(guard_);
            for (RecordBoxes* boxes : boxes_)
                if (boxes->RefuseSave(SaveFailedText()))
                    return true;
            return false;
        }};
    cycle.intoRow = [&] {
        // chk0 follows the hire date of this record, whatever the check box last showed.
        WorkmanRs.setValue(QStringLiteral("chk0"), EmployedFlag(Text(12)));
        if (added) {
            if (const auto created = ReadDate(CreatDatetext->text(), kEmployeeDateForm))
                WorkmanRs.setValue(QStringLiteral("建檔日期"), QDateTime(*created, QTime()));
        }
        number = Text(1);
    };
    // No transaction and no list held: a failed Update goes to the button's steps.
    cycle.place = [&] { placed = showSaved(added, number); };
    cycle.mode = [&] { endSave(added, placed); };
    SaveRecord(cycle);
}

bool PersonnelFrm::showSaved(bool added, const QString& number)
{
    DataChanged = false;
    EditMode.clear();
    try {
        // A new employee takes its place in the list's order; otherwise the list is read again.
        if (added && !List.ShowAdded())
            WorkmanRs.Requery();
        LinkDbgridWkmRs();
        if (!added)
            BRisklookworkmanType(number);
        return true;
    } catch (const db::DbError&) {
        return false;  // the row is written; the list catches up at its next reading
    }
}

void PersonnelFrm::endSave(bool added, bool placed)
{
    try {
        if (placed && added) {
            AddNew();
            return;
        }
        if (placed) {
            報告();
            EditButtonsFollowList();
            Combo1->setEnabled(false);
            SetStatusPanel(kEmployee + LoadResString(671), 0);
            HintsOff = false;
            EDITTrueORFalse(true);
            return;
        }
    } catch (const db::DbError&) {
        // As a list that could not be read: the window browses.
    }
    報告();
    EDITTrueORFalse(true);
}

// ---- Window ------------------------------------------------------------------------------------

void PersonnelFrm::Form_Activate()
{
    SetHelpPanelText(ReportText);
    SetHelpPanelCaption(QStringLiteral("員工資料"));
    報告();
}

void PersonnelFrm::Form_Unload()
{
    closing_ = true;
    if (WorkmanRs.IsOpen() && WorkmanRs.EditMode() != db::adEditNone)
        WorkmanRs.CancelUpdate();
    ShowNotes(QString(), QStringLiteral("專家視窗"));
}

void PersonnelFrm::Form_Resize()
{
    // The title strip and the bottom strip are aligned to the edges: full width, always.  The
    // title picture shows only while the window is no wider than the picture.
    // (The picture is 11070 twips wide; it is cut to the strip rather than reaching past it.)
    const int top = Px(TitleStripTop(this, Picture1, kTitleStripHeight, kWidth));
    Image1->resize(std::min(Px(kWidth), Picture1->width()), Image1->height());
    Picture2[0]->setGeometry(0, height() - Px(kStripHeight), width(), Px(kStripHeight));
    // A size that cannot be set (the window made very small) leaves that control as it was.
    const int clientHeight = height();
    const int clientWidth = width();
    const int bottom = Picture2[0]->height() + Command2[0]->height();
    for (int i : {1, 2, 4, 5, 6, 7})
        Command2[size_t(i)]->move(Command2[size_t(i)]->x(), clientHeight - bottom - Px(100));

    Picture4->move(Picture4->x(), top);
    const int panelHeight = clientHeight - Picture4->y() - bottom - Px(200);
    if (panelHeight >= 0)
        Picture4->resize(Picture4->width(), panelHeight);
    const int gridHeight = Picture4->height() - DataGrid1->y() - Px(20);
    if (gridHeight >= 0)
        DataGrid1->resize(DataGrid1->width(), gridHeight);
    DataGrid1->move(Px(20), DataGrid1->y());
    const int gridWidth = Picture4->width() - DataGrid1->x() - Px(40);
    if (gridWidth >= 0)
        DataGrid1->resize(gridWidth, DataGrid1->height());

    TabStrip1->move(Picture4->width(), top);
    TabStrip1->resize(TabStrip1->width(), Picture4->height());
    const int tabWidth = clientWidth - TabStrip1->x();
    if (tabWidth >= 0)
        TabStrip1->resize(tabWidth, TabStrip1->height());
    const QRect tab = TabStrip1->geometry();
    for (int i = 1; i <= 4; ++i) {
        QWidget* page = Picture2[size_t(i)];
        page->move(tab.x() - Px(20), tab.y() + Px(300));
        const int pageHeight = tab.y() + tab.height() - page->y() - Px(40);
        if (pageHeight >= 0)
            page->resize(page->width(), pageHeight);
        const int pageWidth = tab.width() - Px(40);
        if (pageWidth >= 0)
            page->resize(pageWidth, page->height());
    }
}
