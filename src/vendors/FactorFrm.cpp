#include "vendors/FactorFrm.h"

#include "core/BoxColours.h"
#include "core/Globals.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/FieldBinding.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/ui/Ui.h"
#include "records/DetailGrid.h"
#include "records/RecordCycle.h"
#include "records/RecordExtras.h"
#include "vendors/VendorEntryRules.h"
#include "vendors/VendorFields.h"
#include "vendors/VendorSave.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>

namespace {

using vb::Px;
using vb::Tw;

const QString kMainSection = QStringLiteral("Tessarine");
const QString kFactorySection = QStringLiteral("Factory");
const QString kSortKey = QStringLiteral("FactoryShowSRT");
const QString kInactiveKey = QStringLiteral("已無往來廠商");
const QString kViewKey = QStringLiteral("FactoryShowAllButton");
const QString kByCategory = QStringLiteral("分類顯示");
const QString kAll = QStringLiteral("不分類");
const QString kHelpCaption = QStringLiteral("廠商管理");

// Design sizes (twips).
constexpr int kDesignWidth = 11070, kDesignHeight = 7850;
constexpr int kAuditHeight = 495;
constexpr int kListWidth = 2895;
constexpr int kHeaderHeight = 975;
constexpr int kTabRow = 320;
constexpr int kButtonWidth = 1035, kButtonHeight = 375;
constexpr int kBoxHeight = 285, kRowStep = 330;
constexpr int kRemarksTop = 3660, kRemarksLeft = 1140;

// Where a box sits (twips): on the header or page 1, label left and width, box left and width,
// top.  Two columns on page 1; the remarks box below them grows with the page.
struct Place {
    int labelLeft, labelWidth, boxLeft, boxWidth, top;
};
constexpr int kColA = 60, kBoxA = 1140, kColB = 3960, kBoxB = 5040, kFieldLabelW = 1020;
constexpr int kWide = 6600, kHalf = 2700, kWithButton = 2340;
int Row(int r) { return 60 + r * kRowStep; }
Place PlaceOf(int box)
{
    switch (box) {
    // Header: category code, its name and the status; the number and the short name.
    case 0: return {kColA, kFieldLabelW, kBoxA, 1300, 60};
    case 9: return {2520, 960, 3540, 1500, 60};
    case 16: return {5160, 720, 5940, 1300, 60};
    case 1: return {kColA, kFieldLabelW, kBoxA, 1300, 480};
    case 2: return {2520, 960, 3540, 1500, 480};
    // Page 1.
    case 3: return {kColA, kFieldLabelW, kBoxA, kWide, Row(0)};
    case 4: return {kColA, kFieldLabelW, kBoxA, kHalf, Row(1)};
    case 5: return {kColB, kFieldLabelW, kBoxB, kHalf, Row(1)};
    case 13: return {kColA, kFieldLabelW, kBoxA, kHalf, Row(2)};
    case 14: return {kColB, kFieldLabelW, kBoxB, kHalf, Row(2)};
    case 6: return {kColA, kFieldLabelW, kBoxA, kHalf, Row(3)};
    case 7: return {kColB, kFieldLabelW, kBoxB, kHalf, Row(3)};
    case 11: return {kColA, kFieldLabelW, kBoxA, kWide, Row(4)};
    case 12: return {kColA, kFieldLabelW, kBoxA, kWide, Row(5)};
    case 17: return {kColA, kFieldLabelW, kBoxA, kWithButton, Row(6)};
    case 18: return {kColB, kFieldLabelW, kBoxB, kWithButton, Row(6)};
    case 8: return {kColA, kFieldLabelW, kBoxA, kHalf, Row(7)};
    case 23: return {kColB, kFieldLabelW, kBoxB, kHalf, Row(7)};
    case 10: return {kColA, kFieldLabelW, kBoxA, kHalf, Row(8)};
    case 15: return {kColB, kFieldLabelW, kBoxB, kHalf, Row(8)};
    case 20: return {kColA, kFieldLabelW, kBoxA, 900, Row(9)};
    case 21: return {kColB, kFieldLabelW, kBoxB, 1500, Row(9)};
    case 22: return {kColA, kFieldLabelW, kBoxA, 900, Row(10)};
    case 24: return {kColB, kFieldLabelW, kBoxB, 1500, Row(10)};
    case 19: return {kColA, kFieldLabelW, kRemarksLeft, kWide, kRemarksTop};
    default: return {0, 0, 0, 0, 0};
    }
}

std::vector<ListColumn> ListColumns()
{
    std::vector<ListColumn> out;
    for (const VendorListColumn& c : VendorListColumns())
        out.push_back({c.column, c.widthTwips, c.captionId ? LoadResString(c.captionId) : c.caption});
    return out;
}

}  // namespace

// ---- Construction --------------------------------------------------------------------------------

// The design size is the outer size, frame included; the window opens at the top left.
FactorFrm::FactorFrm(QWidget* parent, const QPixmap& titlePicture)
    : RecordWindowOf(parent, QStringLiteral("FactorFrm"), kDesignWidth, kDesignHeight, FirstPlace::TopLeft)
{
    Claim(this);
    build(titlePicture);
    FollowMode(EditMode, {boxes_, ManGrid}, [this] { CommandSty(!EditMode.isEmpty()); });
    formLoad();
    loading_ = false;
}

FactorFrm::~FactorFrm() = default;

void FactorFrm::build(const QPixmap& titlePicture)
{
    BuildTitleAndList(titlePicture, 10800);

    // List panel.
    const char* label5[2] = {"排序:", "速查:"};
    for (int i = 0; i < 2; ++i) {
        Label5[i] = new QLabel(QString::fromUtf8(label5[i]), Picture4);
        Label5[i]->setObjectName(QStringLiteral("Label5_%1").arg(i));
        Label5[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    Combo1 = new QComboBox(Picture4);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    Check1 = new QCheckBox(QStringLiteral("不含無往來"), Picture4);
    Check1->setObjectName(QStringLiteral("Check1"));
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    const char* tips3[6] = {"重新從資料庫讀取類別資料,當您使用查詢功能以後,按此鍵回到依據烈別顯示",
                            "不分類別顯示所有廠商資料.方便您從左方的清單中輸入廠商編號或簡稱尋找", "", "",
                            "連接到這個網址", "寫一封電子郵件到這個e-mail信箱"};
    for (int i : {0, 1, 4, 5}) {
        Command3[i] = ArrayButton(i <= 1 ? this : nullptr, this, QStringLiteral("Command3"), i,
                                  [this, i] { Command3_Click(i); });
        Command3[i]->setToolTip(QString::fromUtf8(tips3[i]));
    }
    Command3[1]->setParent(Picture4);
    Command3[1]->setText(kByCategory);
    Command3[0]->setText(QStringLiteral("重整"));
    for (int i = 0; i < 2; ++i) {
        DataCombo2[i] = i == 0 ? new QComboBox(Picture4) : (vendorFind_ = new QuickFindBox(Picture4, QStringLiteral("RV112")));
        DataCombo2[i]->setObjectName(QStringLiteral("DataCombo2_%1").arg(i));
        DataCombo2[i]->setEditable(true);
        DataCombo2[i]->setInsertPolicy(QComboBox::NoInsert);
        DataCombo2[i]->setCompleter(nullptr);
        DataCombo2[i]->setAttribute(Qt::WA_Hover);
        DataCombo2[i]->installEventFilter(this);
    }
    connect(DataCombo2[0], &QComboBox::editTextChanged, this, [this] {
        if (!settingCategoryText_)
            Brisklookfactorytype();
    });
    connect(DataCombo2[1], &QComboBox::editTextChanged, this, [this] { BrisklookOtherDate(); });
    DataGrid1[1] = ListView(Picture4, this, QStringLiteral("DataGrid1_1"), QStringLiteral("用滑鼠點一下可移動到該筆資料"));
    List.Attach(DataGrid1[1], ListColumns());
    List.Follows = [this] { return ListSyncArmed; };
    List.RowChanged = [this] { DataGrid1_RowColChange(); };
    Option1 = new QRadioButton(QStringLiteral("查詢狀態"), Picture4);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->hide();

    // Tabs, header and pages.
    TabStrip1 = TabBar(this, QStringLiteral("TabStrip1"),
                       {{"BasicData", QStringLiteral("基本資料")}, {"次類別", QStringLiteral("次類別")},
                        {"聯絡人", QStringLiteral("聯絡人")}},
                       [this](int) { TabStrip1_Click(); });
    Picture5 = new QWidget(this);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    TabPages(this, QStringLiteral("Picture3"), Picture3);
    buildRecord();

    // Trade flags on page 2: three columns of four.
    for (int i = 0; i < kVendorFlags; ++i) {
        Check2[i] = new QCheckBox(VendorFlags()[i].caption, Picture3[2]);
        Check2[i]->setObjectName(QStringLiteral("Check2_%1").arg(i));
        Check2[i]->setGeometry(Px(120 + (i / 4) * 2640), Px(120 + (i % 4) * 420), Px(2580), Px(330));
        Check2[i]->setEnabled(false);
        boxes_->Binding()->bind(Check2[i], VendorFlags()[i].column);
        connect(Check2[i], &QCheckBox::clicked, this, [this, i] { Check2_Click(i); });
    }

    // Contacts on page 3.
    ManGrid = new DetailGrid(VendorContactsDef(), Picture3[3], this);
    ManGrid->SetChangeHook([this] {
        if (EditMode.isEmpty())
            return;
        DataChanged = true;
        saveButtonRule();
    });

    // Button bar.
    for (int i : {kFind, kAdd, kChange, kClose, kDelete, kSave, kCancel, kDeleteRow})
        Command2[i] = ArrayButton(this, this, QStringLiteral("Command2"), i, [this, i] { Command2_Click(i); });
    Command2[kDeleteRow]->setText(QStringLiteral("刪除一行"));
    for (int i : {kSave, kCancel, kDeleteRow})
        Command2[i]->hide();
    ManGrid->SetDeleteRowButton(Command2[kDeleteRow]);
    Command3[0]->setParent(this);

    // Audit strip.
    Picture2 = new AuditStrip(this, {"建檔者", "建檔日期", "修改者", "修改日期"});
    Label1 = Picture2->Captions;
    Label2 = Picture2->Values;

    FactoryFondText = new QLineEdit(this);
    FactoryFondText->setObjectName(QStringLiteral("FactoryFondText"));
    FactoryFondText->hide();
}

void FactorFrm::buildRecord()
{
    boxes_ = new RecordBoxes(this);
    boxes_->Build(
        VendorFields(), kBoxes, 36,
        [this](const RecordField& f) {
            const Place p = PlaceOf(f.box);
            const bool top = VendorPageOf(f.box) == VendorPage::Top;
            BoxPlace place;
            place.page = top ? Picture5 : Picture3[1];
            place.box = QRect(Px(p.boxLeft), Px(p.top), Px(p.boxWidth), Px(f.box == 19 ? 900 : kBoxHeight));
            place.label = QRect(Px(p.labelLeft), Px(p.top), Px(p.labelWidth) - Px(60), Px(kBoxHeight));
            return place;
        },
        this, QStringLiteral("Label4"));
    boxes_->Changed = [this](int box) { Text1_Change(box); };
    Text1 = boxes_->Boxes();
    Label4 = boxes_->Labels();
    Text1[16]->setEnabled(true);

    // The web and mail buttons beside their boxes.
    for (int i : {4, 5}) {
        const int box = i == 4 ? 17 : 18;
        const Place p = PlaceOf(box);
        Command3[i]->setParent(Picture3[1]);
        Command3[i]->setText(QStringLiteral("..."));
        Command3[i]->setGeometry(Px(p.boxLeft + p.boxWidth + 30), Px(p.top), Px(kHalf - kWithButton - 30), Px(kBoxHeight));
    }

    // The lists laid over boxes while editing.
    DataCombo1 = new QComboBox(Picture5);
    DataCombo1->setObjectName(QStringLiteral("DataCombo1"));
    Combo2 = new QComboBox(Picture5);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo3 = new QComboBox(Picture3[1]);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    for (QComboBox* list : {DataCombo1, Combo2, Combo3}) {
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setCompleter(nullptr);
        list->hide();
    }
    // The category picker takes the typing over box 0; leaving it (Enter, Tab, a click
    // elsewhere) or saving while it is open takes the category it names.
    CategoryList = new PickList(DataCombo1, PickList::kChooseOnly | PickList::kTabFromBox, this);
    CategoryList->Left = [this] { DataCombo1_LostFocus(); };
    StatusList = new PickList(Combo2, PickList::kWriteThrough, this);
    SharedList = new PickList(Combo3, PickList::kWriteThrough, this);
}

QString FactorFrm::BoxText(int n) const { return boxes_->Text(n); }

void FactorFrm::SetBoxText(int n, const QString& text) { boxes_->SetText(n, text); }

bool FactorFrm::HasCurrentVendor() const { return List.HasCurrent(); }

// ---- Load ----------------------------------------------------------------------------------------

void FactorFrm::formLoad()
{
    LoadLanguage();
    Picture3[1]->raise();
    resize(Px(kDesignWidth), Px(kDesignHeight));

    Combo1->addItems(VendorSortItems());
    RestoreSortChoice(Combo1, kSortKey, kMainSection);

    ListSyncArmed = true;
    // The list is read once, for the view the settings choose (below).
    開啟廠商類別();
    {
        const QSignalBlocker block(Check1);
        Check1->setChecked(vb::Val(ReadSetting(kInactiveKey, kFactorySection, 0)) != 0);
    }
    Command3[1]->setText(vb::Val(ReadSetting(kViewKey, kFactorySection, 0)) == 0 ? kByCategory : kAll);
    分類狀況();
    TabStrip1->raise();
}

void FactorFrm::LoadLanguage()
{
    setWindowTitle(LoadResString(351));
    boxes_->LoadCaptions();
    const QFont buttonFont = ButtonFont(this);
    CaptionButtons(std::span(Command2).first(7), 390, buttonFont);
    Command2[kDeleteRow]->setFont(buttonFont);
    CaptionButtons(std::span(Command3).first(1), 397, buttonFont);
    TabStrip1->setTabText(0, LoadResString(285));
    for (size_t c = 0; c < VendorListColumns().size(); ++c)
        if (VendorListColumns()[c].captionId)
            List.SetCaption(int(c), LoadResString(VendorListColumns()[c].captionId));
    SetStatusPanel(QStringLiteral("廠商") + LoadResString(381), 0);
}

// ---- The list ------------------------------------------------------------------------------------

QString FactorFrm::ViewCategoryCode() const
{
    return Command3[1]->text() == kByCategory ? CurrentCategoryCode() : QString();
}

QString FactorFrm::CurrentCategoryCode() const
{
    if (db::HasCurrentRow(FactoryTypeRs))
        return vb::Trim(vb::Nz(FactoryTypeRs.value(QStringLiteral("RV10"))));
    return {};
}

void FactorFrm::bindRecord()
{
    boxes_->Binding()->setRecordset(FactoryRs());
    vendorFind_->setSource(FactoryRs());
}

void FactorFrm::LinkGridData1(const QString& categoryCode)
{
    const db::Statement q = LinkGridData1Query(categoryCode, Check1->isChecked(), Combo1->currentText());
    TabStrip1->setCurrentIndex(0);
    TabStrip1_Click();
    // A statement the database refuses is reported; the list stays as it was.
    TrapDbErrors([&] {
        RecordList::Hold hold(List);
        List.Open(q.sql, q.params);
    });
    bindRecord();
    LineDataGridMain();
    const bool any = HasCurrentVendor();
    Command2[kChange]->setEnabled(any);
    Command2[kDelete]->setEnabled(any);
    SetBoxText(9, any ? 取得廠商類別名稱(vb::Nz(FactoryRs().value(QStringLiteral("RV110")))) : QString());
}

void FactorFrm::LineDataGridMain()
{
    {
        RecordList::Hold hold(List);
        List.Relink();
    }
    ShowRecordSide();
}

void FactorFrm::SetFindCondition(const FindCondition& condition)
{
    HoldFindCondition(FondCondition, FactoryFondText, condition, QStringLiteral("廠商顯示查詢條件"));
    if (FondCondition.isEmpty())
        return;
    const db::Statement q = FondSubQuery(FondCondition);
    if (!TrapDbErrors([&] {
            RecordList::Hold hold(List);
            List.Open(q.sql, q.params);
        }))
        return;
    bindRecord();
    // The found vendor comes with its own contacts.
    ShowRecordSide();
    const bool any = HasCurrentVendor();
    Command2[kChange]->setEnabled(any);
    Command2[kDelete]->setEnabled(any);
}

void FactorFrm::ReadMinDate(const QString& vendorNumber) { ManGrid->Load(vb::Trim(vendorNumber)); }

void FactorFrm::ShowRecordSide()
{
    Picture2->Show(FactoryRs());
    const QString number = vb::Nz(db::ValueOrNull(FactoryRs(), QStringLiteral("RV111")));
    TrapDbErrors([&] { ReadMinDate(number); });
    報告();
}

void FactorFrm::DataGrid1_RowColChange()
{
    ShowRecordSide();
    ListSyncArmed = false;
}

void FactorFrm::報告()
{
    ReportText = VendorReportText(!EditMode.isEmpty(), [this](int box) { return BoxText(box); });
    ShowNotes(ReportText, kHelpCaption);
}

// ---- Tabs, sort, filter, flags -------------------------------------------------------------------

void FactorFrm::TabStrip1_Click()
{
    const int tab = TabStrip1->currentIndex() + 1;
    if (tab == shownTab_)
        return;
    shownTab_ = tab;
    for (int i = 1; i <= 3; ++i)
        Picture3[i]->setVisible(i == tab);
    if (tab == 1 || tab == 2) {
        const bool code = !vb::Trim(BoxText(0)).isEmpty();
        Command2[kChange]->setEnabled(code);
        Command2[kDelete]->setEnabled(code);
    }
    Command2[kDeleteRow]->setEnabled(false);
}

void FactorFrm::Combo1_Click() { LinkGridData1(ViewCategoryCode()); }

void FactorFrm::Check1_Click()
{
    if (loading_ || !EditMode.isEmpty())
        return;
    LinkGridData1(ViewCategoryCode());
}

void FactorFrm::Check2_Click(int)
{
    if (EditMode.isEmpty())
        return;
    DataChanged = true;
    saveButtonRule();
}

// ---- Categories and the view ---------------------------------------------------------------------

void FactorFrm::fillCategoryPickers()
{
    QStringList names;
    const int field = FactoryTypeRs.IsOpen() ? FactoryTypeRs.FieldIndex(QStringLiteral("RV11")) : -1;
    for (long i = 0; field >= 0 && i < FactoryTypeRs.RecordCount(); ++i)
        names << vb::Nz(FactoryTypeRs.valueAt(i, field));
    settingCategoryText_ = true;
    for (QComboBox* picker : {DataCombo1, DataCombo2[0]}) {
        const QSignalBlocker block(picker);
        picker->clear();
        picker->addItems(names);
        picker->setCurrentIndex(-1);
    }
    const QString current = vb::Nz(db::ValueOrNull(FactoryTypeRs, QStringLiteral("RV11")));
    DataCombo2[0]->setEditText(current);
    settingCategoryText_ = false;
}

void FactorFrm::開啟廠商類別()
{
    TrapDbErrors([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("Select RV1.* From RV1 "), gConn, db::adOpenStatic, db::adLockReadOnly);
        FactoryTypeRs = rs;
    });
    fillCategoryPickers();
    if (!loading_)
        LinkGridData1(ViewCategoryCode());
}

QString FactorFrm::取得廠商類別名稱(const QString& code)
{
    try {
        db::Recordset rs = gConn.ExecuteQuery(QStringLiteral("Select RV1.* From RV1 Where RV10 = ?"), {code});
        return rs.Eof() ? QString() : vb::Nz(rs.value(QStringLiteral("RV11")));
    } catch (const db::DbError&) {
        return {};
    }
}

void FactorFrm::setViewColour()
{
    const bool byCategory = Command3[1]->text() == kByCategory;
    QPalette p = DataCombo2[0]->palette();
    p.setColor(QPalette::Base, byCategory ? palette().color(QPalette::Base) : BoxColours::Record());
    DataCombo2[0]->setPalette(p);
    DataCombo2[0]->setEnabled(byCategory);
}

void FactorFrm::分類狀況()
{
    Command3[1]->setText(Command3[1]->text() == kAll ? kByCategory : kAll);
    LinkGridData1(ViewCategoryCode());
    setViewColour();
}

void FactorFrm::Command3_Click(int index)
{
    switch (index) {
    case 0: {
        Command2[kAdd]->setEnabled(true);
        DataCombo1->setEnabled(true);
        Option1->setChecked(false);
        // The categories are read again: one made since the window opened is offered now.
        TrapDbErrors([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("Select RV1.* From RV1 "), gConn, db::adOpenStatic, db::adLockReadOnly);
            FactoryTypeRs = rs;
        });
        fillCategoryPickers();
        Command3[1]->setText(kAll);
        LinkGridData1(QString());
        setViewColour();
        SetStatusPanel(QStringLiteral("廠商") + LoadResString(321), 0);
        break;
    }
    case 1:
        分類狀況();
        break;
    case 4:
    case 5: {
        const int box = index == 4 ? 17 : 18;
        if (vb::Trim(BoxText(box)).isEmpty()) {
            ui::MsgBox(index == 4 ? QStringLiteral("網址是空的") : QStringLiteral("郵件地址是空的"));
            break;
        }
        if (index == 4)
            OpenWebPage(WithScheme(BoxText(box), QStringLiteral("http://")));
        else
            shellsvc::OpenUrl(WithScheme(BoxText(box), QStringLiteral("mailto:")));
        break;
    }
    default:
        break;
    }
}

// ---- Type-ahead ----------------------------------------------------------------------------------

void FactorFrm::Brisklookfactorytype()
{
    const QString t = vb::Trim(DataCombo2[0]->currentText());
    if (t.isEmpty() || !FactoryTypeRs.IsOpen())
        return;
    TrapDbErrors([&] {
        if (!FindCodeOrName(FactoryTypeRs, QStringLiteral("rv10"), QStringLiteral("rv11"), t)) {
            SetStatusText(LoadResString(310));
            return;
        }
        SetStatusText(LoadResString(404) + QStringLiteral("[ ") + vb::Nz(FactoryTypeRs.value(QStringLiteral("RV11"))) +
                      QStringLiteral(" ]"));
        LinkGridData1(vb::Trim(vb::Nz(FactoryTypeRs.value(QStringLiteral("RV10")))));
    });
}

void FactorFrm::BrisklookOtherDate()
{
    const QString t = vb::Trim(DataCombo2[1]->currentText());
    if (t.isEmpty() || !FactoryRs().IsOpen() || !EditMode.isEmpty())
        return;
    TrapDbErrors([&] {
        db::Recordset rs = FactoryRs().Clone();
        if (!FindCodeOrName(rs, QStringLiteral("rv111"), QStringLiteral("rv112"), t)) {
            SetStatusText(LoadResString(310));
            ListSyncArmed = false;
            return;
        }
        SetStatusText(LoadResString(406) + QStringLiteral("[ ") + vb::Nz(rs.value(QStringLiteral("RV112"))) +
                      QStringLiteral("]"));
        {
            RecordList::Hold hold(List);
            FactoryRs().setBookmark(rs.bookmark());
            FactoryGridRs().setBookmark(rs.bookmark());
        }
        // The found vendor's contacts and audit come with it.
        ShowRecordSide();
    });
}

// ---- Window events -------------------------------------------------------------------------------

void FactorFrm::Form_Activate() { ShowNotes(ReportText, kHelpCaption); }

void FactorFrm::Form_Unload()
{
    StoreSortChoice(Combo1, kSortKey, kMainSection);
    WriteSetting(kInactiveKey, Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), kFactorySection, 0);
    WriteSetting(kViewKey, Command3[1]->text() == kAll ? QStringLiteral("0") : QStringLiteral("1"), kFactorySection, 0);
    SetHelpPanelText(QString());
    SetHelpPanelCaption(QStringLiteral("專家視窗"));
}

void FactorFrm::Form_Resize()
{
    const int innerWidth = Tw(width());
    const int innerHeight = Tw(height());
    // The title picture goes once the window is as wide as the picture.
    const int top = TitleStripTop(this, Picture1, kTitleStripHeight, Tw(Image1->width()) - 1);

    // List panel and its controls.
    const int listHeight = std::max(0, innerHeight - top - kAuditHeight - kButtonHeight - 200);
    Picture4->setGeometry(0, Px(top), Px(kListWidth), Px(listHeight));
    const int rowH = 315, captionW = 600, inner = kListWidth - 60;
    Label5[0]->setGeometry(Px(20), Px(30), Px(captionW), Px(rowH));
    Combo1->setGeometry(Px(captionW + 40), Px(30), Px(inner - captionW - 20), Px(rowH));
    Command3[1]->setGeometry(Px(20), Px(375), Px(1100), Px(rowH));
    Check1->setGeometry(Px(1180), Px(375), Px(inner - 1160), Px(rowH));
    DataCombo2[0]->setGeometry(Px(20), Px(720), Px(inner), Px(rowH));
    Label5[1]->setGeometry(Px(20), Px(1065), Px(captionW), Px(rowH));
    DataCombo2[1]->setGeometry(Px(captionW + 40), Px(1065), Px(inner - captionW - 20), Px(rowH));
    const int gridTop = 1440;
    DataGrid1[1]->setGeometry(Px(20), Px(gridTop), std::max(0, Picture4->width() - Px(20) - Px(40)),
                              std::max(0, Picture4->height() - Px(gridTop) - Px(40)));

    // Tab strip, header, pages.
    const int tabLeft = kListWidth;
    const int tabWidth = std::max(0, innerWidth - tabLeft);
    TabStrip1->setGeometry(Px(tabLeft), Px(top), Px(tabWidth), Px(kTabRow));
    Picture5->setGeometry(Px(tabLeft), Px(top + kTabRow), std::max(0, Px(tabWidth - 40)), Px(kHeaderHeight));
    const int pageTop = top + kTabRow + kHeaderHeight;
    const int pageHeight = std::max(0, top + listHeight - pageTop - 40);
    for (int i = 1; i <= 3; ++i)
        Picture3[i]->setGeometry(Px(tabLeft), Px(pageTop), std::max(0, Px(tabWidth - 40)), Px(pageHeight));
    ManGrid->Grid()->setGeometry(0, 0, Picture3[3]->width(), Picture3[3]->height());
    // The remarks box takes the page's width and height left to it.
    QWidget* memo = Text1[19];
    memo->resize(std::max(Px(300), Picture3[1]->width() - memo->x() - Px(100)),
                 std::max(Px(300), Picture3[1]->height() - memo->y() - Px(100)));

    // Buttons: the browse and edit sets share the places.
    const int buttonTop = innerHeight - kAuditHeight - kButtonHeight - 100;
    const struct {
        QPushButton* button;
        int slot;
    } places[] = {{Command2[kFind], 0}, {Command2[kAdd], 1}, {Command2[kChange], 2}, {Command2[kDelete], 3}, {Command3[0], 4},
                 {Command2[kClose], 6}, {Command2[kSave], 0}, {Command2[kCancel], 1}, {Command2[kDeleteRow], 2}};
    for (const auto& s : places)
        s.button->setGeometry(Px(tabLeft + 60 + s.slot * (kButtonWidth + 60)), Px(buttonTop), Px(kButtonWidth),
                              Px(kButtonHeight));
    Picture2->setGeometry(0, Px(innerHeight - kAuditHeight), width(), Px(kAuditHeight));
}

// Hover help, the list's mouse arming, and the record boxes' events.
bool FactorFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (!ManGrid)  // still being built
        return QWidget::eventFilter(watched, event);
    if (recordEvent(watched, event))
        return true;
    const QEvent::Type type = event->type();
    auto* widget = qobject_cast<QWidget*>(watched);
    if (watched == DataGrid1[1]->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            ListSyncArmed = true;
        } else if (type == QEvent::MouseButtonRelease && ListSyncArmed) {
            // A click on the row the keys had moved to loads that vendor too.
            TrapDbErrors([&] {
                if (EditMode.isEmpty() && HasCurrentVendor() && !FactoryGridRs().Bof() && !FactoryGridRs().Eof() &&
                    FactoryGridRs().bookmark() != FactoryRs().bookmark()) {
                    FactoryRs().setBookmark(FactoryGridRs().bookmark());
                    DataGrid1_RowColChange();
                }
            });
        }
        else if (type == QEvent::HoverEnter || type == QEvent::HoverMove)
            SetStatusText(DataGrid1[1]->toolTip());
        return QWidget::eventFilter(watched, event);
    }
    if (type == QEvent::HoverEnter || type == QEvent::HoverMove) {
        const bool bar = std::find(Command2.begin(), Command2.end(), watched) != Command2.end();
        const bool three = std::find(Command3.begin(), Command3.end(), watched) != Command3.end();
        const bool typeAhead = watched == DataCombo2[0] || watched == DataCombo2[1];
        if (bar || three || typeAhead)
            SetStatusText(widget->toolTip());
        else if (boxes_->IndexOf(watched) >= 0 && !IsEditing)
            SetStatusText(widget->toolTip());
    }
    return QWidget::eventFilter(watched, event);
}
