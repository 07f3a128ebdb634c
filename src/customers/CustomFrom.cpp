#include "customers/CustomFrom.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Rights.h"
#include "core/Settings.h"
#include "core/WindowHelpers.h"
#include "core/numbering/ListFillers.h"
#include "customers/CustomerDetailGrids.h"
#include "customers/CustomerNotes.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/FieldBinding.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/ByteLimit.h"
#include "platform/widgets/FlexGrid.h"
#include "records/RecordCycle.h"
#include "records/RecordExtras.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableView>

namespace {

using vb::Px;
using vb::Tw;

const QString kSection = QStringLiteral("Tessarine");
const QString kSortKey = QStringLiteral("CustomSort");
const QString kByName = QStringLiteral("簡稱");
const QString kByCode = QStringLiteral("代號");
const QString kAllCategories = QStringLiteral("不分類");
const QString kByCategory = QStringLiteral("分類顯示");

const QString kTip13 = QStringLiteral("將客戶分類,如A級客戶或B級客戶等,您也可以在選項裡面自己定義適合您使用的分類");

// Design sizes (twips).
constexpr int kListWidth = 2760;
constexpr int kAuditHeight = 330;
constexpr int kButtonHeight = 375;
constexpr int kButtonWidth = 1035;
constexpr int kStripHeight = 390;
constexpr int kRowHeight = 315;

// Where each box sits on the basic-data page (twips): label left, box left, row, box width.
// Two columns; the remarks box takes what is left of the page below the last row.
struct Place {
    int labelLeft, boxLeft, row, width;
};
constexpr int kColA = 60, kBoxA = 1080, kColB = 4020, kBoxB = 5040, kTopMargin = 60;
const Place kPlaces[24] = {
    {kColA, kBoxA, 0, 1800},        // 0 code
    {kColB, kBoxB, 0, 1800},        // 1 short name
    {kColA, kBoxA, 1, 5760},        // 2 full name
    {kColA, kBoxA, 2, 2700},        // 3 telephone
    {kColB, kBoxB, 2, 2700},        // 4 fax
    {kColA, kBoxA, 3, 1200},        // 5 postcode
    {kColB, kBoxB, 3, 1800},        // 6 person in charge
    {kColA, kBoxA, 4, 1200},        // 7 tax number
    {kColA, kBoxA, 5, 5760},        // 8 company address
    {kColA, kBoxA, 6, 5760},        // 9 invoice address
    {kColA, kBoxA, 7, 1800},        // 10 salesperson
    {kColA, kBoxA, 8, 1200},        // 11 receivables
    {kColB, kBoxB, 8, 900},         // 12 closing day
    {kColB, kBoxB, 7, 1800},        // 13 grade
    {kColA, kBoxA, 0, 450},         // 14 billing-method code (hidden)
    {kColB, kBoxB, 11, 2220},       // 15 web site
    {kColA, kBoxA, 12, 5760},       // 16 remarks
    {kColA, kBoxA, 9, 1800},        // 17 invoice recipient
    {kColB, kBoxB, 9, 1800},        // 18 invoice status
    {kColB, kBoxB, 4, 1800},        // 19 category
    {kColA, kBoxA, 10, 1800},       // 20 billing method
    {kColB, kBoxB, 10, 900},        // 21 payment terms
    {kBoxB + 1740, kBoxB + 960, 10, 720},  // 22 payment days, its label after it
    {kColA, kBoxA, 11, 1800},       // 23 account
};
int RowTop(int row) { return kTopMargin + row * kRowHeight; }

QString Str(const char* s) { return QString::fromUtf8(s); }

}  // namespace

// ---- The field table ---------------------------------------------------------------------------

const std::vector<RecordField>& CustomerFields()
{
    static const std::vector<RecordField> fields = {
        {0, "RV120", 0, 240, "*客戶代號", 14, true,
         "客戶代號不可重複,可用英文或數字或是混合,系統自動從00001開始,您可以在選項功能裡關閉自動跳號功能"},
        {1, "RV121", 8, 248, "*客戶簡稱", 10, true,
         "輸入客戶的簡稱,或該客戶的別稱,客戶簡稱通常取客戶全銜的前幾個字,這個欄位為必須輸入的"},
        {2, "客戶全銜", 1, 241, "*客戶全銜", 50, true,
         "輸入客戶完整的名稱  按下 F3: 股份有限公司 / F4: 有限公司 /F5 科技股份有限公司\""},
        {3, "RV123", 2, 242, "電話", 30, true, "輸入客戶的電話號碼"},
        {4, "RV124", 3, 243, "傳真", 30, true, "輸入客戶的傳真號碼"},
        {5, "RV125", 4, 244, "郵遞區號", 10, true, ""},
        {6, "RV126", 9, 249, "負責人", 20, true, ""},
        {7, "RV127", 5, 245, "統一編號", 10, true, "輸入客戶的統一編號, 您可以在選項裡面關閉檢查統一編號"},
        {8, "RV128", 6, 246, "公司地址", 50, true, "輸入客戶公司所在地的地址,按下 F3: 縣市區街路段巷弄號樓之\""},
        {9, "RV129", 7, 247, "發票地址", 50, true,
         "輸入客戶的發票地址,按下 F5 : 複製公司地址 / F3: 縣市區街路段巷弄號樓之\""},
        {10, "RV1210", 10, 250, "負責業務", 10, true, ""},
        {11, "RV1211", 11, 251, "應收帳款", 10, true, ""},
        {12, "RV1212", 14, 254, "結帳日", 10, true, "如客戶結帳日為25 日,則.26號交的貨算下月貨款"},
        {13, "級別", 13, 253, "級別", 10, true, kTip13},
        {14, "rv1214", -1, 0, "", 3, true, ""},
        {15, "RV1217", 28, 268, "網址 ", 50, true, "按下F3 : .com.tw,您可以在選項裡面取消網址檢查"},
        {16, "RV1213", 12, 252, "備註說明", 0, true, "輸入備註說明的內容.", RecordField::kMultiLine},
        {17, "發票對象", 31, 0, "發票對象", 10, true, ""},
        {18, "", 32, 0, "發票狀況", 10, false, ""},
        {19, "類別", 35, 0, "客戶分類", 20, true, ""},
        {20, "", 29, 0, "請款方式", 10, false, kTip13},
        {21, "付款條件方式", 30, 0, "付款條件", 10, true, kTip13},
        {22, "付款條件日", 33, 0, "日", 10, true, kTip13},
        {23, "帳戶別", 15, 0, "帳戶別", 20, true, ""},
    };
    return fields;
}

// ---- Construction --------------------------------------------------------------------------------

CustomFrom::CustomFrom(QWidget* parent, const QPixmap& titlePicture)
    : RecordWindowOf(parent, QStringLiteral("CustomFrom"), 11070, 7850)
{
    Claim(this);
    build(titlePicture);
    setupRecordCycle();
    FollowMode(EditMode, {boxes_, Grids->Man(), Grids->Delive()}, [this] { CommandSty(!EditMode.isEmpty()); });
    formLoad();
    loading_ = false;
}

CustomFrom::~CustomFrom() = default;

void CustomFrom::build(const QPixmap& titlePicture)
{
    const auto& fields = CustomerFields();

    BuildTitleAndList(titlePicture, 11070);

    // List panel.
    const QString categoryTip = QStringLiteral("按一下,切換是否依據客戶分類來顯示清單");
    const char* command1Captions[3] = {"不分類", "排序", "速查"};
    for (int i = 0; i < 3; ++i) {
        Command1[i] = ArrayButton(Picture4, this, QStringLiteral("Command1"), i, [this, i] { Command1_Click(i); });
        Command1[i]->setText(Str(command1Captions[i]));
        Command1[i]->setToolTip(categoryTip);
    }
    Combo1 = new QComboBox(Picture4);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Combo1->setToolTip(QStringLiteral("選擇排序的欄位"));
    Combo1->installEventFilter(this);
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    Combo3 = new QComboBox(Picture4);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    Combo3->setToolTip(QStringLiteral("輸入客戶分類的第一個字,以游標鍵移動,系統將只列表該分類客戶"));
    Combo3->setEnabled(false);
    Combo3->installEventFilter(this);
    connect(Combo3, &QComboBox::activated, this, [this] { Combo3_Click(); });
    quickFind_ = new QuickFindBox(Picture4, QStringLiteral("RV121"));
    DataCombo1[0] = quickFind_;
    DataCombo1[0]->setObjectName(QStringLiteral("DataCombo1_0"));
    DataCombo1[0]->setToolTip(QStringLiteral(
        "快速查詢,輸入代號或客戶名稱,當以客戶簡稱排序時.可輸入第一個字,然後按游標鍵移動選取, "));
    DataCombo1[0]->setAttribute(Qt::WA_Hover);
    DataCombo1[0]->installEventFilter(this);
    connect(DataCombo1[0], &QComboBox::editTextChanged, this, [this] { TessarineCustomData(); });
    DataGrid1[0] = ListView(Picture4, this, QStringLiteral("DataGrid1_0"), QStringLiteral("用滑鼠點一下可移動到該筆資料"));
    List.Attach(DataGrid1[0], {{QStringLiteral("RV120"), 1000, QStringLiteral("客戶代號")},
                               {QStringLiteral("RV121"), 1200, QStringLiteral("客戶")}});
    List.RowChanged = [this] { DataGrid1_RowColChange(); };
    Option1 = new QRadioButton(QStringLiteral("顯示所有資料"), Picture4);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->hide();

    // Tabs and pages.
    TabStrip2 = TabBar(this, QStringLiteral("TabStrip2"), {{"bascdata"}, {"man"}, {"devaddres"}},
                       [this](int) { TabStrip2_Click(); });
    Picture5 = new QWidget(this);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    TabPages(this, QStringLiteral("Picture3"), Picture3);

    // Detail grids and the strip's buttons.
    Grids = new CustomerDetailGrids(Picture3[2], Picture3[3], this);
    MailCom = new QPushButton(QStringLiteral("發信給聯絡人"), Picture5);
    MailCom->setObjectName(QStringLiteral("MailCom"));
    MailCom->setGeometry(Px(60), Px(30), Px(1500), Px(330));
    MailCom->hide();
    connect(MailCom, &QPushButton::clicked, this, [this] { Grids->MailCom_Click(); });
    AddressCom = new QPushButton(QStringLiteral("關聯公司地址"), Picture5);
    AddressCom->setObjectName(QStringLiteral("AddressCom"));
    AddressCom->setGeometry(Px(60), Px(30), Px(1500), Px(330));
    AddressCom->hide();
    connect(AddressCom, &QPushButton::clicked, this, [this] {
        if (Grids->AddressCom_Click(BoxText(1), BoxText(3), BoxText(4), BoxText(8)))
            AddressCom->hide();
    });

    // Record boxes and their labels.
    boxes_ = new RecordBoxes(this);
    QWidget* page = Picture3[1];
    boxes_->Build(fields, kBoxes, 36, [page](const RecordField& f) {
        const Place& p = kPlaces[f.box];
        BoxPlace at;
        at.page = page;
        at.box = QRect(Px(p.boxLeft), Px(RowTop(p.row)), Px(p.width), Px(285));
        at.label = QRect(Px(p.labelLeft), Px(RowTop(p.row)), Px(f.box == 22 ? 300 : 960), Px(285));
        at.labelAlign = (f.box == 22 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
        return at;
    }, this);
    boxes_->Changed = [this](int box) { Text1_Change(box); };
    Text1 = boxes_->Boxes();
    Label3 = boxes_->Labels();
    Text1[14]->hide();
    Command5[1] = ArrayButton(page, this, QStringLiteral("Command5"), 1, [this] { Command5_Click(1); });
    Command5[1]->setText(QStringLiteral("..."));
    Command5[1]->setToolTip(QStringLiteral("開啟瀏覽器連上這個網址"));
    Command5[1]->setGeometry(Px(kBoxB + 2220 + 30), Px(RowTop(11)), Px(660), Px(285));

    // Floating lists and the hidden hand-over box.
    Combo2 = new QComboBox(page);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->hide();
    Combo2->installEventFilter(this);
    DataCombo1[1] = new QComboBox(page);
    DataCombo1[1]->setObjectName(QStringLiteral("DataCombo1_1"));
    DataCombo1[1]->setToolTip(QStringLiteral(
        "選取本公司負責服務這家客戶的業務, 可從下拉式清單選取(必須先設定一個部門為業務開頭,如業務部,"
        "並且該部門有建立員工資料)"));
    DataCombo1[1]->hide();
    Text6 = new QLineEdit(this);
    Text6->setObjectName(QStringLiteral("Text6"));
    Text6->hide();

    // Action buttons.
    const char* buttonTips[11] = {"查詢資料", "新增一筆資料", "修改資料內容", "", "刪除這一筆資料",
                                  "儲存資料(可按 Alt + S 鍵存檔)", "放棄這一次的編輯", "", "",
                                  "重新載入資料庫", "放棄這一次的編輯"};
    Command2.assign(11, nullptr);
    for (int i = 0; i < 11; ++i) {
        Command2[i] = ArrayButton(this, this, QStringLiteral("Command2"), i, [this, i] { Command2_Click(i); });
        Command2[i]->setToolTip(Str(buttonTips[i]));
    }
    Command2[kReload]->setText(QStringLiteral("重整"));
    Command2[kDeleteRow]->setText(QStringLiteral("刪除一行"));
    for (int i : {kCopy, kSave, kCancel, kPrint, kDeleteRow})
        Command2[i]->hide();
    Grids->SetDeleteRowButton(Command2[kDeleteRow]);

    // Audit strip.
    Audit = new AuditStrip(this, {QStringLiteral("建檔者"), QStringLiteral("建檔日"), QStringLiteral("修改者"),
                                  QStringLiteral("修改日期")});
    Picture2 = Audit;
    Label1 = Audit->Captions;
    Label2 = Audit->Values;
}

// ---- Boxes ---------------------------------------------------------------------------------------

QLineEdit* CustomFrom::Box(int n) const { return boxes_->Line(n); }

QPlainTextEdit* CustomFrom::Remarks() const { return boxes_->Memo(16); }

QString CustomFrom::BoxText(int n) const { return boxes_->Text(n); }

void CustomFrom::SetBoxText(int n, const QString& text) { boxes_->SetText(n, text); }

bool CustomFrom::HasCurrentCustomer() const { return List.HasCurrent(); }

// ---- Load ----------------------------------------------------------------------------------------

void CustomFrom::formLoad()
{
    LoadLanguage();
    resize(Px(11070), Px(7850));

    Combo1->addItem(kByName);
    Combo1->addItem(kByCode);
    RestoreSortChoice(Combo1, kSortKey, kSection);

    SetGrid();
    Grids->SetManGrid();
    Grids->SetDeliveGrid();
    TrapDbErrors([&] { LinkMainRs(); });

    TrapDbErrors([&] {
        // Down the category's index: a long list holds only its order keys at open.
        FillDistinctCombo(Combo3, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
        if (Combo3->count() > 0)
            Combo3->setCurrentIndex(0);
    });

    quickFind_->setSource(CustomerRs);
    db::TryMoveLast(CustomerRs);
    NewRecordFlag = false;

    bool anyCustomer = false;
    TrapDbErrors([&] {
        if (CustomerRs.IsOpen()) {
            anyCustomer = CustomerRs.RecordCount() > 0;
            return;
        }
        db::Recordset count = gConn.ExecuteQuery(QStringLiteral("Select Count(*) From RV12"));
        anyCustomer = !count.Eof() && count.value(0).toLongLong() > 0;
    });
    for (int i : {kFind, kChange, kDelete})
        Command2[i]->setEnabled(anyCustomer);

    // An empty list moves nowhere, so the handler never showed the empty record's state.
    if (!HasCurrentCustomer()) {
        RS2TEXT();
        ReadDeliveDate(QString());
        ReadMinDate(QString());
        報告();
    }

    Combo2->raise();
    SetStatusPanel(QStringLiteral("客戶顯示全部"), 0);
}

void CustomFrom::LoadLanguage()
{
    setWindowTitle(LoadResString(132));
    boxes_->LoadCaptions();
    CaptionButtons(std::span(Command2).first(9), 270, ButtonFont(this));
    CaptionButtons(std::span(Command5).last(1), 282, ButtonFont(this));
    TabStrip2->setTabText(0, LoadResString(285));
    TabStrip2->setTabText(1, LoadResString(283));
    TabStrip2->setTabText(2, LoadResString(284));
    if (CustomerListRs.IsOpen()) {
        List.Model()->setHeaderData(CustomerListRs.FieldIndex(QStringLiteral("RV120")), Qt::Horizontal, LoadResString(295));
        List.Model()->setHeaderData(CustomerListRs.FieldIndex(QStringLiteral("RV121")), Qt::Horizontal, LoadResString(296));
    }
    TabStrip2->setCurrentIndex(0);
    SetStatusPanel(LoadResString(297), 0);
}

// The list shows two columns: the code and the short name.
void CustomFrom::SetGrid()
{
    List.SetCaption(0, QStringLiteral("客戶代號"));
    List.SetCaption(1, QStringLiteral("客戶"));
}

void CustomFrom::LinkDataGrid() { List.Relink(); }

void CustomFrom::LinkMainRs()
{
    QString order;
    if (Combo1->currentText() == kByName)
        order = QStringLiteral("Order by RV121");
    else if (Combo1->currentText() == kByCode)
        order = QStringLiteral("Order by RV120");
    QString filter;
    db::Params params;
    if (Command1[0]->text() == kByCategory && !Combo3->currentText().isEmpty()) {
        filter = QStringLiteral(" Where (類別= ?) ");
        params << Combo3->currentText();
    }

    GridsReady = false;
    db::Recordset rs;
    try {
        rs.Open(QStringLiteral("Select RV12.* From RV12 ") + filter + order, gConn, db::adOpenDynamic,
                db::adLockOptimistic, params);
    } catch (...) {
        GridsReady = true;
        throw;
    }
    CustomerRs = rs;
    if (CustomerRs.Eof())
        ui::MsgBox(QStringLiteral("第一次使用資料庫"));
    boxes_->Binding()->setRecordset(CustomerRs);
    RS2TEXT();
    LinkDataGrid();
    GridsReady = true;
    db::TryMoveLast(CustomerListRs);
    quickFind_->setSource(CustomerRs);
}

// ---- Browsing ------------------------------------------------------------------------------------

// The list moved to another customer (the kit has put CustomerRs on it).
void CustomFrom::DataGrid1_RowColChange()
{
    RS2TEXT();
    if (GridsReady) {
        ShowGrids(db::Nz(CustomerRs.field(QStringLiteral("rv120"))));
    }
    報告();
}

void CustomFrom::ShowGrids(const QString& code)
{
    // While a save ends the list may pass other customers; the save shows the grids itself.
    if (keepSavedGrids_)
        return;
    ReadDeliveDate(code);
    ReadMinDate(code);
}

void CustomFrom::RS2TEXT()
{
    auto text = [this](const char* column) { return dbmodel::DisplayText(db::ValueOrNull(CustomerRs, Str(column))); };
    if (!HasCurrentCustomer()) {
        SetBoxText(18, QString());
        Audit->Clear();
        return;
    }
    static const char* const kInvoice[] = {"隨貨附發票", "月結開發票", "隨訂單開發票", "不開發票"};
    const int status = int(vb::Val(text("發票狀況")));
    SetBoxText(18, status >= 1 && status <= 4 ? Str(kInvoice[status - 1]) : QStringLiteral("不詳"));
    Audit->Show(CustomerRs);
}

int CustomFrom::ContactRowCount() const { return Grids->ManRowCount(); }

void CustomFrom::ReadDeliveDate(const QString& code) { Grids->ReadDeliveDate(code); }

void CustomFrom::ReadMinDate(const QString& code) { Grids->ReadMinDate(code); }

void CustomFrom::報告()
{
    NotesText = CustomerNotesText(!EditMode.isEmpty(), [this](int box) { return BoxText(box); }, ContactRowCount());
    ShowNotes(NotesText, QStringLiteral("客戶管理"));
}

void CustomFrom::Text1_Change(int index)
{
    if (loading_ && !CustomerRs.IsOpen())
        return;
    if (!EditMode.isEmpty()) {
        FieldsChanged = true;
        if (index == 20)
            SetBoxText(14, BoxText(20) == QStringLiteral("一次請款") ? QStringLiteral("-1") : QStringLiteral("0"));
        報告();
    } else if (index == 14) {
        SetBoxText(20, vb::Val(BoxText(14)) == -1 ? QStringLiteral("一次請款") : QStringLiteral("分批請款"));
    }
}

// ---- Category, sort, tabs, web site --------------------------------------------------------------

void CustomFrom::Command1_Click(int index)
{
    if (index != 0)
        return;
    if (Command1[0]->text() == kAllCategories) {
        Command1[0]->setText(kByCategory);
        Combo3->setEnabled(true);
        ui::DoEvents();
        // Refilled and left empty: the list stays whole until a category is picked.
        TrapDbErrors([&] {
            FillDistinctCombo(Combo3, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
            Combo3->setCurrentIndex(-1);
        });
    } else {
        Command1[0]->setText(kAllCategories);
        Combo3->setEnabled(false);
        ui::DoEvents();
    }
    TrapDbErrors([&] { LinkMainRs(); });
}

void CustomFrom::Combo1_Click() { TrapDbErrors([&] { LinkMainRs(); }); }

void CustomFrom::Combo3_Click() { TrapDbErrors([&] { LinkMainRs(); }); }

void CustomFrom::TabStrip2_Click()
{
    const int selected = TabStrip2->currentIndex() + 1;
    for (int i = 1; i <= 3; ++i)
        Picture3[i]->setVisible(selected == i);
    MailCom->setVisible(selected == 2);
    AddressCom->setVisible(selected == 3 && !EditMode.isEmpty());
    // Find, modify and delete need a customer to act on.
    const bool customer = HasCurrentCustomer();
    if (selected == 2) {
        Command2[kChange]->setEnabled(customer);
        Command2[kDelete]->setEnabled(customer);
    } else {
        for (int i : {kFind, kChange, kDelete})
            Command2[i]->setEnabled(customer);
        Command2[kDeleteRow]->setEnabled(false);
    }
}

void CustomFrom::Command5_Click(int index)
{
    if (index != 1)
        return;
    const QString address = vb::Trim(BoxText(15));
    if (address.isEmpty()) {
        ui::MsgBox(QStringLiteral("網址是空的"));
        return;
    }
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    OpenWebPage(scheme.match(address).hasMatch() ? address : QStringLiteral("http://") + address);
}

// ---- Buttons -------------------------------------------------------------------------------------

void CustomFrom::Command2_Click(int index)
{
    switch (index) {
    case kFind: {
        SetStatusPanel(QStringLiteral("查詢客戶資料"), 0);
        CustomFond find(this, this, Image1->pixmap());
        ui::ShowModal(&find);
        break;
    }
    case kAdd:
        ButtonSteps({[this] {
            if (CheckRight(QStringLiteral("客戶"), QStringLiteral("新增"), true))
                AddNew();
        }});
        break;
    case kChange:
        if (CheckRight(QStringLiteral("客戶"), QStringLiteral("寫"), true))
            Modification();
        break;
    case kDelete:
        ButtonSteps({[this] {
            if (CheckRight(QStringLiteral("客戶"), QStringLiteral("刪除"), true))
                DeleteDateItem();
        }});
        break;
    case kSave:
        ButtonSteps({[] { SetStatusText(LoadResString(323)); }, [this] { SaveFile(); }, [this] { 報告(); },
                     [this] {
                         // What the save has to tell stays on the status line.
                         SetStatusText(SaveNote);
                         SaveNote.clear();
                     }});
        break;
    case kCancel:
        if (FieldsChanged && ui::MsgBox(LoadResString(322), ui::Buttons::YesNo) == ui::Answer::No)
            break;
        ButtonSteps({[this] { CancleModif(); }, [this] { EditEnabled(false); },
                     [] { SetStatusPanel(QStringLiteral("客戶顯示資料"), 0); }});
        break;
    case kClose:
        close();
        break;
    case kDeleteRow:
        Grids->刪除一行(TabStrip2->currentIndex() + 1);
        break;
    case kReload:
        TrapDbErrors([&] { LinkMainRs(); });
        Option1->setText(LoadResString(320));
        SetStatusPanel(QStringLiteral("客戶") + LoadResString(321), 0);
        SetStatusPanel(QStringLiteral("客戶顯示資料"), 1);
        break;
    default:
        break;
    }
}

// ---- Quick find and find ---------------------------------------------------------------------------

void CustomFrom::TessarineCustomData()
{
    const QString t = vb::Trim(DataCombo1[0]->currentText());
    if (t.isEmpty())
        return;
    for (;;) {
        try {
            db::Recordset rs = CustomerRs.Clone();
            if (!FindCodeOrName(rs, QStringLiteral("rv120"), QStringLiteral("rv121"), t)) {
                SetStatusText(LoadResString(310));
                return;
            }
            SetStatusText(LoadResString(311) + QStringLiteral(" [ ") +
                          dbmodel::DisplayText(rs.value(QStringLiteral("RV121"))) + QStringLiteral("]"));
            CustomerListRs.setBookmark(rs.bookmark());
            return;
        } catch (const db::DbError& e) {
            if (ui::MsgBox(ErrorText(e), ui::Buttons::AbortRetryIgnore) != ui::Answer::Retry)
                return;
        }
    }
}

void CustomFrom::SetQuickFindText(const QString& text) { DataCombo1[0]->setEditText(text); }

void CustomFrom::SetFindCondition(const FindCondition& condition)
{
    HoldFindCondition(FondCondition, Text6, condition, QStringLiteral("顯示查詢條件"));
    QString order;
    if (Combo1->currentText() == kByName)
        order = QStringLiteral(" Order by RV121");
    else if (Combo1->currentText() == kByCode)
        order = QStringLiteral(" Order by RV120");
    db::Recordset rs;
    if (!TrapDbErrors([&] {
            rs.Open(QStringLiteral("Select RV12.* From RV12  where ") + FondCondition.sql + order, gConn,
                    db::adOpenDynamic, db::adLockOptimistic, FondCondition.params);
        }))
        return;
    if (!rs.Eof()) {
        CustomerRs = rs;
        boxes_->Binding()->setRecordset(CustomerRs);
        quickFind_->setSource(CustomerRs);
        LinkDataGrid();
    } else {
        ui::MsgBox(QStringLiteral("查無資料"));
        Command2[kReload]->click();
    }
}

// ---- Window events -------------------------------------------------------------------------------

void CustomFrom::Form_Activate()
{
    ShowNotes(NotesText, QStringLiteral("客戶管理"));
}

void CustomFrom::Form_Unload()
{
    StoreSortChoice(Combo1, kSortKey, kSection);
    ShowNotes(QString(), QStringLiteral("專家視窗"));
}

void CustomFrom::Form_Resize()
{
    const int scaleWidth = Tw(width());
    const int scaleHeight = Tw(height());
    // The window's outer width decides, frame included.
    const int top = TitleStripTop(this, Picture1, kTitleStripHeight, 11200);

    const int buttonTop = scaleHeight - kAuditHeight - kButtonHeight - 100;
    const int listHeight = std::max(0, scaleHeight - top - kAuditHeight - kButtonHeight - 200);
    Picture4->setGeometry(0, Px(top), Px(kListWidth), Px(listHeight));
    const int rowH = 315, captionW = 840;
    Command1[1]->setGeometry(Px(20), Px(30), Px(captionW), Px(rowH));
    Combo1->setGeometry(Px(captionW + 40), Px(30), Px(kListWidth - captionW - 80), Px(rowH));
    Command1[0]->setGeometry(Px(20), Px(30 + 345), Px(captionW), Px(rowH));
    Combo3->setGeometry(Px(captionW + 40), Px(30 + 345), Px(kListWidth - captionW - 80), Px(rowH));
    Command1[2]->setGeometry(Px(20), Px(30 + 690), Px(captionW), Px(rowH));
    DataCombo1[0]->setGeometry(Px(captionW + 40), Px(30 + 690), Px(kListWidth - captionW - 80), Px(rowH));
    const int gridTop = 30 + 1035 + 30;
    DataGrid1[0]->setGeometry(Px(20), Px(gridTop), std::max(0, Picture4->width() - Px(20) - Px(40)),
                              std::max(0, Picture4->height() - Px(gridTop) - Px(40)));

    const int tabLeft = kListWidth;
    const int tabWidth = std::max(0, scaleWidth - tabLeft);
    const int tabHeight = std::max(300, Tw(TabStrip2->sizeHint().height()));
    TabStrip2->setGeometry(Px(tabLeft), Px(top), Px(tabWidth), Px(tabHeight));
    const int stripTop = top + tabHeight;
    Picture5->setGeometry(Px(tabLeft + 20), Px(stripTop), std::max(0, Px(tabWidth - 40)), Px(kStripHeight));
    const int pageTop = stripTop + kStripHeight;
    const int pageHeight = std::max(0, top + listHeight - pageTop - 40);
    for (int i = 1; i <= 3; ++i)
        Picture3[i]->setGeometry(Px(tabLeft + 20), Px(pageTop), std::max(0, Px(tabWidth - 40)), Px(pageHeight));
    // The detail grids fill their pages.
    Grids->ManGrid()->setGeometry(0, 0, Picture3[2]->width(), Picture3[2]->height());
    Grids->DeliveGrid()->setGeometry(0, 0, Picture3[3]->width(), Picture3[3]->height());
    // The remarks box grows with the page.
    QWidget* memo = Text1[16];
    memo->resize(std::max(0, Picture3[1]->width() - memo->x() - Px(100)),
                 std::max(Px(300), Picture3[1]->height() - memo->y() - Px(100)));

    // Buttons: browsing and editing sets share the places.
    const int lefts[11] = {0, 1, 2, 9, 3, 0, 1, 9, 5, 4, 2};
    for (int i = 0; i < 11; ++i)
        Command2[i]->setGeometry(Px(tabLeft + 60 + lefts[i] * (kButtonWidth + 60)), Px(buttonTop), Px(kButtonWidth),
                                 Px(kButtonHeight));
    Picture2->setGeometry(0, Px(scaleHeight - kAuditHeight), width(), Px(kAuditHeight));
}

// Hover help and the keys the category list refuses.
bool CustomFrom::eventFilter(QObject* watched, QEvent* event)
{
    if (recordEvent(watched, event))
        return true;
    const QEvent::Type type = event->type();
    auto* widget = qobject_cast<QWidget*>(watched);
    if (watched == Combo3 && type == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            return true;  // a category is picked from the list only
    }
    if (type == QEvent::FocusIn && (watched == Combo1 || watched == Combo2 || watched == Combo3 || watched == Command1[0]))
        SetStatusText(widget->toolTip());
    if (type == QEvent::HoverEnter || type == QEvent::HoverMove) {
        if (watched == DataGrid1[0]->viewport()) {
            SetStatusText(DataGrid1[0]->toolTip());
        } else if (watched == DataCombo1[0] || watched == Command5[1]) {
            SetStatusText(widget->toolTip());
        } else if (std::find(Command1.begin(), Command1.end(), watched) != Command1.end()) {
            if (!NewRecordFlag)
                SetStatusText(widget->toolTip());
        } else if (std::find(Command2.begin(), Command2.end(), watched) != Command2.end()) {
            SetStatusText(widget->toolTip());
        } else if (std::find(Text1.begin(), Text1.end(), watched) != Text1.end()) {
            if (!NewRecordFlag)
                SetStatusText(widget->toolTip());
        }
    }
    return QWidget::eventFilter(watched, event);
}
