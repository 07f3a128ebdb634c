#include "output/CustomPrintMsgFrm.h"
#include "core/ErrorText.h"

#include "contacts/ContactListRpt.h"
#include "contacts/MemberBirthday.h"
#include "contacts/MemberListRpt.h"
#include "core/Globals.h"
#include "core/WindowHelpers.h"
#include "core/numbering/ListFillers.h"
#include "core/update/Excel.h"
#include "customers/CustomerListRpt.h"
#include "output/OutputWindows.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "platform/db/Probes.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "staff/StaffListRpt.h"
#include "vendors/FactoryListRpt.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <functional>

namespace {

using vb::Px;

const QString kNoData = QStringLiteral("無資料 ");

// Text of the first row's field, "" when the query has no row.
QString FirstText(db::Recordset& rs, const QString& field)
{
    if (rs.Bof() && rs.Eof())
        return QString();
    rs.MoveFirst();
    return db::Nz(rs.field(field));
}

db::Recordset OpenList(const db::Statement& q)
{
    db::Recordset rs;
    rs.Open(q.sql, gConn, db::adOpenStatic, db::adLockReadOnly, q.params);
    return rs;
}

std::optional<QString> Lookup(const QString& sql, const QString& name, const QString& field)
{
    db::Recordset rs;
    rs.Open(sql, gConn, db::adOpenStatic, db::adLockReadOnly, {name});
    if (rs.Bof() && rs.Eof())
        return std::nullopt;
    return FirstText(rs, field);
}

// The combo's items: the non-empty values of one field of the query, in its order; the text
// shown is the first row's value ("" for an empty table).
void FillNameList(QComboBox* combo, const QString& sql, const QString& field)
{
    db::Recordset rs;
    rs.Open(sql, gConn, db::adOpenStatic, db::adLockReadOnly);
    ListTarget box(combo);
    box.clear();
    const int index = rs.FieldIndex(field);
    for (long r = 0; r < rs.RecordCount(); ++r) {
        const QString text = vb::Nz(rs.valueAt(r, index));
        if (!text.isEmpty())
            box.add(text);
    }
    box.show();
    combo->setEditText(FirstText(rs, field));
}

}  // namespace

// ---- Statements ----------------------------------------------------------------------------------

db::Statement CustomerListQuery(bool all, const QString& from, const QString& to, const QString& sortText)
{
    const QString order = CustomerOrderBy(sortText);
    db::Statement q{QStringLiteral("Select RV12.* From RV12 "), {}};
    if (!all && !from.isEmpty() && !to.isEmpty()) {
        q.sql += QStringLiteral(" Where (RV120 >= ? ) AND (RV120 <= ?)");
        q.params = {from, to};
    }
    if (!order.isEmpty())
        q.sql += QLatin1Char(' ') + order;
    return q;
}

db::Statement VendorListQuery(std::optional<QString> categoryCode)
{
    if (!categoryCode)
        return {QStringLiteral("Select RV11.* From RV11 Order By RV11.RV111"), {}};
    return {QStringLiteral(" Select rv11.* From rv11 Where (rv11.RV110 = ? ) Order By rv11.RV111"), {*categoryCode}};
}

db::Statement EmployeeListQuery(std::optional<QString> departmentCode, const QString& sortText)
{
    QString order;
    if (sortText == QStringLiteral("部門編號"))
        order = QStringLiteral(" Order By RV17A.RV17A0");
    else if (sortText == QStringLiteral("員工編號"))
        order = QStringLiteral(" Order By  RV17A.RV17A1");
    else if (sortText == QStringLiteral("中文姓名"))
        order = QStringLiteral(" Order By  RV17A.RV17A2");
    if (!departmentCode)
        return {QStringLiteral("Select RV17A.* From RV17A ") + order, {}};
    if (order.isEmpty())
        order = QStringLiteral(" Order By RV17A.RV17A1");
    return {QStringLiteral(" Select rv17A.* From rv17A Where (RV17A0 = ? )") + order, {*departmentCode}};
}

db::Statement ContactListQuery(std::optional<QString> categoryName)
{
    if (!categoryName)
        return {QStringLiteral("Select RV18A.* From RV18A  Order By RV18A.RV18A1"), {}};
    return {QStringLiteral("Select RV18A.* From RV18A Where (RV18A.類別 = ? ) Order By RV18A.RV18A1"),
            {*categoryName}};
}

MemberListResult MemberListQuery(const MemberListInput& in)
{
    MemberListResult r;
    QString where;
    switch (in.filter) {
    case MemberFilter::All:
        break;
    case MemberFilter::Numbers:
        if (in.fromNumber.isEmpty() || in.toNumber.isEmpty()) {
            r.refusal = QStringLiteral("會員編號輸入不全");
            return r;
        }
        where = QStringLiteral(" Where (會員編號 >= ? ) AND (會員編號 <= ?) ");
        r.query.params = {in.fromNumber, in.toNumber};
        break;
    case MemberFilter::Points:
        if (in.fromPoints.isEmpty() || in.toPoints.isEmpty()) {
            r.refusal = QStringLiteral("點數區間輸入不完全");
            return r;
        }
        where = QStringLiteral(" Where (累積點數 >= ? ) AND (累積點數 <= ?) ");
        r.query.params = {vb::Val(in.fromPoints), vb::Val(in.toPoints)};
        break;
    case MemberFilter::Birthday: {
        const BirthdayCondition c = BirthdayRange(in.fromBirthday, in.toBirthday);
        where = c.sql;
        r.query.params = c.params;
        break;
    }
    }
    QString order;
    if (in.sortText == QStringLiteral("會員編號"))
        order = QStringLiteral(" Order By 會員編號");
    else if (in.sortText == QStringLiteral("會員姓名"))
        order = QStringLiteral(" Order By 中文姓名");
    r.query.sql = QStringLiteral("Select 會員管理.* From 會員管理 ") + where + order;
    return r;
}

std::optional<QString> 取得公司部門分類(const QString& name)
{
    return Lookup(QStringLiteral(" Select rv17.* From rv17 Where (RV171 = ? ) Order By RV171"), name,
                  QStringLiteral("rv170"));
}

std::optional<QString> 取得個人分類(const QString& name)
{
    return Lookup(QStringLiteral(" Select rv18.* From rv18 Where (rv18.RV181 = ? ) Order By rv18.RV181"), name,
                  QStringLiteral("rv180"));
}

std::optional<QString> 取得廠商分類(const QString& name)
{
    return Lookup(QStringLiteral("Select rv1.* From rv1 Where (rv1.RV11 = ? ) Order By rv1.RV11"), name,
                  QStringLiteral("rv10"));
}

QString ExportFileName(const QDate& today, const QString& tabCaption)
{
    return today.toString(QStringLiteral("yyyyMMdd")) + tabCaption + QStringLiteral(".xlsx");
}

// ---- The window ----------------------------------------------------------------------------------

CustomPrintMsgFrm::CustomPrintMsgFrm(QWidget* parent, const QPixmap& titlePicture) : QWidget(parent)
{
    Claim(this);
    setObjectName(QStringLiteral("CustomPrintMsgFrm"));
    build(titlePicture);
    formLoad();
}

CustomPrintMsgFrm::~CustomPrintMsgFrm() = default;

void CustomPrintMsgFrm::build(const QPixmap& titlePicture)
{
    constexpr int kWidth = 10800, kBanner = 1155, kTabTop = 1215, kPanelTop = 1590, kPanelHeight = 2520;
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    if (!titlePicture.isNull())
        Image1->setPixmap(titlePicture);
    Image1->setGeometry(0, 0, Px(kWidth), Px(kBanner));

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setExpanding(false);
    for (const char* caption : {"客戶", "廠商", "員工", "個人", "會員"})
        TabStrip1->addTab(QString::fromUtf8(caption));
    // The tab bar is as tall as its tabs need; the panels and what is under them start below it.
    TabStrip1->setGeometry(Px(120), Px(kTabTop), Px(kWidth - 240), std::max(Px(375), TabStrip1->sizeHint().height()));
    const int panelTop = TabStrip1->geometry().bottom() + 1;
    const int shift = std::max(0, panelTop - Px(kPanelTop));

    for (int i = 1; i <= 5; ++i) {
        Picture2[i] = new QWidget(this);
        Picture2[i]->setObjectName(QStringLiteral("Picture2_%1").arg(i));
        Picture2[i]->setAutoFillBackground(true);
        Picture2[i]->setGeometry(Px(120), Px(kPanelTop) + shift, Px(kWidth - 240), Px(kPanelHeight));
    }

    auto option = [](QWidget* panel, const char* caption, int top, QButtonGroup* group) {
        auto* o = new QRadioButton(QString::fromUtf8(caption), panel);
        o->setGeometry(Px(240), Px(top), Px(1560), Px(330));
        group->addButton(o);
        return o;
    };
    auto label = [](QWidget* panel, const char* caption, int left, int top, int width) {
        auto* l = new QLabel(QString::fromUtf8(caption), panel);
        l->setGeometry(Px(left), Px(top), Px(width), Px(330));
        return l;
    };
    auto box = [](QWidget* panel, int left, int top, int width) {
        auto* b = new QLineEdit(panel);
        b->setGeometry(Px(left), Px(top), Px(width), Px(330));
        return b;
    };
    auto combo = [](QWidget* panel, int left, int top, int width, bool editable) {
        auto* c = new QComboBox(panel);
        c->setEditable(editable);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setGeometry(Px(left), Px(top), Px(width), Px(345));
        return c;
    };
    auto sortLabel = [&](QWidget* panel, int top) { label(panel, "排序方式:", 240, top, 1080); };

    // 1 customers
    QWidget* p = Picture2[Customers];
    auto* g = new QButtonGroup(p);
    Option5[0] = option(p, "列印全部", 240, g);
    Option5[1] = option(p, "客戶代號從", 720, g);
    Text1[0] = box(p, 1920, 720, 2160);
    label(p, "~", 4200, 720, 240)->setAlignment(Qt::AlignCenter);
    Text1[1] = box(p, 4560, 720, 2160);
    DataCombo1 = combo(p, 1920, 720, 2160, true);
    DataCombo1->hide();
    sortLabel(p, 1320);
    Combo1 = combo(p, 1920, 1320, 2160, false);

    // 2 vendors, 3 employees, 4 personal contacts: all, or one category (department) picked from a list.
    auto categoryPanel = [&](int tab, std::array<QRadioButton*, 2>& options, const char* one, QComboBox*& list) {
        QWidget* panel = Picture2[tab];
        auto* group = new QButtonGroup(panel);
        options[0] = option(panel, "列印全部", 240, group);
        options[1] = option(panel, one, 720, group);
        list = combo(panel, 1920, 720, 2880, true);
        return panel;
    };
    categoryPanel(Vendors, Option2, "列印類別", DataCombo3);
    p = categoryPanel(Employees, Option3, "列印部門", DataCombo4);
    sortLabel(p, 1320);
    Combo2 = combo(p, 1920, 1320, 2160, false);
    categoryPanel(Contacts, Option1, "列印類別", DataCombo2);

    // 5 members
    p = Picture2[Members];
    g = new QButtonGroup(p);
    Option5[3] = option(p, "列印全部", 180, g);
    Option5[2] = option(p, "會員編號從", 600, g);
    Text1[2] = box(p, 1920, 600, 2160);
    label(p, "~", 4200, 600, 240)->setAlignment(Qt::AlignCenter);
    Text1[3] = box(p, 4560, 600, 2160);
    Option5[4] = option(p, "累積點數從", 1020, g);
    Text1[4] = box(p, 1920, 1020, 2160);
    label(p, "~", 4200, 1020, 240)->setAlignment(Qt::AlignCenter);
    Text1[5] = box(p, 4560, 1020, 2160);
    Option5[5] = option(p, "生日", 1440, g);
    for (int i = 0; i < 2; ++i) {
        DTPicker1[i] = NewBirthdayPicker(QStringLiteral("DTPicker1_%1").arg(i), 1, 1, p);
        DTPicker1[i]->setGeometry(Px(i == 0 ? 1920 : 4560), Px(1440), Px(2160), Px(345));
    }
    label(p, "~", 4200, 1440, 240)->setAlignment(Qt::AlignCenter);
    sortLabel(p, 1920);
    Combo3 = combo(p, 1920, 1920, 2160, false);

    for (int i = 0; i < 6; ++i)
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
    for (int i = 0; i < 6; ++i)
        Option5[i]->setObjectName(QStringLiteral("Option5_%1").arg(i));
    for (int i = 4; i <= 5; ++i)
        Text1[i]->setAttribute(Qt::WA_InputMethodEnabled, false);

    // Output choice and buttons under the panels.
    const int bottom = kPanelTop + kPanelHeight + 180;
    auto* outputs = new QButtonGroup(this);
    Option4[0] = new QRadioButton(QStringLiteral("列印"), this);
    Option4[1] = new QRadioButton(QStringLiteral("匯出到 Excel"), this);
    for (int i = 0; i < 2; ++i) {
        Option4[i]->setObjectName(QStringLiteral("Option4_%1").arg(i));
        Option4[i]->setGeometry(Px(240 + i * 1320), Px(bottom + 60) + shift, Px(i == 0 ? 1080 : 2040), Px(330));
        outputs->addButton(Option4[i]);
    }
    for (int i = 0; i < 2; ++i) {
        Command2[i] = new QPushButton(this);
        Command2[i]->setObjectName(QStringLiteral("Command2_%1").arg(i));
        Command2[i]->setGeometry(Px(kWidth - 2760 + i * 1320), Px(bottom) + shift, Px(1200), Px(420));
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }
    resize(Px(kWidth), Px(bottom + 420 + 180) + shift);
    Image1->setGeometry(0, 0, width(), Px(kBanner));

    Option5[0]->setChecked(true);
    Option5[3]->setChecked(true);
    Option1[0]->setChecked(true);
    Option2[0]->setChecked(true);
    Option3[0]->setChecked(true);
    Option4[0]->setChecked(true);

    // A category list is in use only while its option is chosen.
    const std::pair<std::array<QRadioButton*, 2>*, QComboBox*> categoryOptions[] = {
        {&Option1, DataCombo2}, {&Option2, DataCombo3}, {&Option3, DataCombo4}};
    for (const auto& [options, list] : categoryOptions) {
        list->setEnabled(false);
        connect((*options)[1], &QRadioButton::toggled, list, &QWidget::setEnabled);
    }

    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int i) { TabStrip1_Click(i + 1); });
    for (QLineEdit* b : {Text1[0], Text1[1], Text1[4], Text1[5]})
        b->installEventFilter(this);
    DataCombo1->installEventFilter(this);
}

void CustomPrintMsgFrm::formLoad()
{
    setWindowTitle(LoadResString(793));
    Command2[0]->setText(LoadResString(732));
    Command2[1]->setText(LoadResString(733));
    CenterInMDI(this);
    ui::RunSteps(
        {
            [this] {
                Combo1->clear();
                Combo1->addItems({LoadResString(795), LoadResString(796), LoadResString(797)});
                Combo2->clear();
                Combo2->addItems({QStringLiteral("部門編號"), QStringLiteral("員工編號"), QStringLiteral("中文姓名")});
                Combo3->clear();
                Combo3->addItems({QStringLiteral("會員編號"), QStringLiteral("會員姓名")});
            },
            [this] { 開啟客戶代號清單(); },
            [this] { 載入個人類別清單(); },
            [this] { 載入廠商類別清單(); },
            [this] { 載入公司部門清單(); },
        },
        [](const std::exception& e) { return ErrorText(e); },
        LoadResString(799));
    Picture2[Customers]->raise();
}

void CustomPrintMsgFrm::開啟客戶代號清單()
{
    db::Recordset rs;
    rs.Open(QStringLiteral("Select RV120 From RV12  Order By RV120"), gConn, db::adOpenStatic, db::adLockReadOnly);
    CodeListRs = rs;
    if (!codeModel_) {
        codeModel_ = new dbmodel::RecordsetModel(this);
        DataCombo1->setModel(codeModel_);
        if (auto* view = qobject_cast<QListView*>(DataCombo1->view()))
            view->setUniformItemSizes(true);
    }
    codeModel_->setRecordset(CodeListRs);
    DataCombo1->setModelColumn(0);
    DataCombo1->setEditText(FirstText(CodeListRs, QStringLiteral("RV120")));
}

void CustomPrintMsgFrm::載入公司部門清單()
{
    FillNameList(DataCombo4, QStringLiteral("Select * From RV17  Order By RV170"), QStringLiteral("rv171"));
}

void CustomPrintMsgFrm::載入個人類別清單()
{
    FillNameList(DataCombo2, QStringLiteral("Select * From RV18  Order By RV181"), QStringLiteral("rv181"));
}

void CustomPrintMsgFrm::載入廠商類別清單()
{
    FillNameList(DataCombo3, QStringLiteral("Select * From RV1  Order By RV11"), QStringLiteral("rv11"));
}

int CustomPrintMsgFrm::SelectedTab() const
{
    return TabStrip1->currentIndex() + 1;
}

void CustomPrintMsgFrm::TabStrip1_Click(int index)
{
    if (index != LastTabIndex) {
        if (index >= 1 && index <= 5)
            Picture2[index]->raise();
        LastTabIndex = index;
    } else {
        LastTabIndex = 0;
    }
}

void CustomPrintMsgFrm::Command2_Click(int index)
{
    if (index == 1) {
        close();
        return;
    }
    if (index != 0)
        return;
    switch (SelectedTab()) {
    case Customers: guarded(&CustomPrintMsgFrm::客戶資料列印); break;
    case Vendors: guarded(&CustomPrintMsgFrm::廠商資料列印); break;
    case Employees: guarded(&CustomPrintMsgFrm::員工資料列印); break;
    case Contacts: guarded(&CustomPrintMsgFrm::列印個人通訊錄); break;
    case Members: guarded(&CustomPrintMsgFrm::會員資料列印); break;
    default: break;
    }
}

void CustomPrintMsgFrm::guarded(void (CustomPrintMsgFrm::*list)())
{
    try {
        (this->*list)();
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorDescription(e) + gCrLf + QStringLiteral("錯誤代號: ") + QString::number(e.Number()),
                   ui::Buttons::OK, ui::Icon::Critical, LoadResString(799));
    } catch (const std::exception& e) {
        ui::MsgBox(ErrorText(e), ui::Buttons::OK, ui::Icon::Critical, LoadResString(799));
    }
}

// ---- The five lists ------------------------------------------------------------------------------

namespace {

// Preview, or the Excel workbook for the lists that have one, else the report's own export.
void Output(CustomPrintMsgFrm& w, report::Report& report, db::Recordset& rs, bool toWorkbook)
{
    if (w.Option4[0]->isChecked()) {
        report.Show();
        return;
    }
    if (toWorkbook)
        w.匯出檔案(rs);
    else
        report.ExportReport();
}

// The choice of a panel with "列印全部" and a category list: no category for all rows, else
// what `lookup` makes of the name in the list.  Nothing is printed for a blank name, nor for one
// the lookup does not know (`unknown` then says so).
struct CategoryChoice {
    bool print = true;
    std::optional<QString> category;
};
CategoryChoice ChooseCategory(bool all, const QComboBox* list,
                              const std::function<std::optional<QString>(const QString&)>& lookup,
                              const QString& unknown)
{
    if (all)
        return {};
    const QString name = list->currentText();
    if (vb::Trim(name).isEmpty())
        return {false, std::nullopt};
    std::optional<QString> category = lookup(name);
    if (!category) {
        ui::MsgBox(unknown);
        return {false, std::nullopt};
    }
    return {true, category};
}

// Runs the list's statement and hands the rows to its report; the list of one category says
// "無資料 " instead when it has no rows.
void PrintList(CustomPrintMsgFrm& w, report::Report& report, const db::Statement& q, bool oneCategory, bool portrait,
               bool toWorkbook)
{
    db::Recordset rs = OpenList(q);
    if (oneCategory && rs.Bof() && rs.Eof()) {
        ui::MsgBox(LoadResString(804));
        return;
    }
    report.setDataSource(rs);
    if (portrait)
        report.setOrientation(report::Orientation::Portrait);
    Output(w, report, rs, toWorkbook);
}

}  // namespace

void CustomPrintMsgFrm::客戶資料列印()
{
    PrintList(*this, 客戶資料管理Rpt::Instance(),
              CustomerListQuery(Option5[0]->isChecked(), Text1[0]->text(), Text1[1]->text(), Combo1->currentText()),
              false, false, true);
}

void CustomPrintMsgFrm::廠商資料列印()
{
    const CategoryChoice c = ChooseCategory(Option2[0]->isChecked(), DataCombo3, 取得廠商分類,
                                            QStringLiteral("無此廠商類別"));
    // The list of all vendors keeps the report's orientation; one category's turns it to portrait.
    if (c.print)
        PrintList(*this, 廠商報表列印Rpt::Instance(), VendorListQuery(c.category), bool(c.category),
                  bool(c.category), true);
}

void CustomPrintMsgFrm::員工資料列印()
{
    const CategoryChoice c = ChooseCategory(Option3[0]->isChecked(), DataCombo4, 取得公司部門分類,
                                            QStringLiteral("無此部門"));
    if (c.print)
        PrintList(*this, 員工資料Rpt::Instance(), EmployeeListQuery(c.category, Combo2->currentText()),
                  bool(c.category), true, true);
}

void CustomPrintMsgFrm::列印個人通訊錄()
{
    // Contacts carry their category's name: the lookup only checks that the category exists.
    const auto known = [](const QString& name) {
        return 取得個人分類(name) ? std::optional<QString>(name) : std::nullopt;
    };
    const CategoryChoice c = ChooseCategory(Option1[0]->isChecked(), DataCombo2, known, LoadResString(803));
    // The list of all contacts is turned to portrait; one category's keeps the report's orientation.
    if (c.print)
        PrintList(*this, 個人通訊Rpt::Instance(), ContactListQuery(c.category), bool(c.category), !c.category,
                  false);
}

void CustomPrintMsgFrm::會員資料列印()
{
    MemberListInput in;
    in.filter = Option5[2]->isChecked()   ? MemberFilter::Numbers
                : Option5[4]->isChecked() ? MemberFilter::Points
                : Option5[5]->isChecked() ? MemberFilter::Birthday
                                          : MemberFilter::All;
    in.fromNumber = Text1[2]->text();
    in.toNumber = Text1[3]->text();
    in.fromPoints = Text1[4]->text();
    in.toPoints = Text1[5]->text();
    in.fromBirthday = DTPicker1[0]->date();
    in.toBirthday = DTPicker1[1]->date();
    in.sortText = Combo3->currentText();
    const MemberListResult r = MemberListQuery(in);
    if (!r.refusal.isEmpty()) {
        ui::MsgBox(r.refusal);
        return;
    }
    MemberListRs = OpenList(r.query);
    會員資料管理Rpt& report = 會員資料管理Rpt::Instance();
    report.SetMembers(MemberListRs);
    Output(*this, report, MemberListRs, false);
}

void CustomPrintMsgFrm::匯出檔案(db::Recordset& rs)
{
    const QString caption = TabStrip1->tabText(TabStrip1->currentIndex());
    const QString chosen = ui::GetSaveFileName(QString(), ExportFileName(ui::Today(), caption),
                                               QStringLiteral("Xls (*.xlsx)|*.xlsx"));
    if (chosen.isEmpty()) {
        ui::MsgBox(QStringLiteral("使用者放棄"));
        return;
    }
    QString path = chosen;
    ExportRsToExcel(rs, path);
}

// ---- Boxes and the code picker -------------------------------------------------------------------

void CustomPrintMsgFrm::codeBoxGotFocus(QLineEdit* box)
{
    CodeTarget = box;
    DataCombo1->setGeometry(box->geometry());
    DataCombo1->setEditText(box->text().isEmpty() ? DataCombo1->currentText() : box->text());
    DataCombo1->show();
    DataCombo1->raise();
    DataCombo1->setFocus(Qt::OtherFocusReason);
}

void CustomPrintMsgFrm::pickerLostFocus()
{
    if (CodeTarget)
        CodeTarget->setText(DataCombo1->currentText());
}

bool CustomPrintMsgFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DataCombo1) {
        if (event->type() == QEvent::FocusOut
            && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            pickerLostFocus();
        if (event->type() == QEvent::KeyPress) {
            // Tab leaves the picker for the box after the one it stands over.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab && CodeTarget == Text1[0]) {
                Text1[1]->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (key == Qt::Key_Tab && CodeTarget == Text1[1]) {
                Combo1->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (key == Qt::Key_Backtab) {
                (CodeTarget == Text1[1] ? static_cast<QWidget*>(Text1[0]) : Option5[1])->setFocus(Qt::BacktabFocusReason);
                return true;
            }
        }
        return QWidget::eventFilter(watched, event);
    }
    if ((watched == Text1[0] || watched == Text1[1]) && event->type() == QEvent::FocusIn) {
        codeBoxGotFocus(static_cast<QLineEdit*>(watched));
        return false;
    }
    if ((watched == Text1[4] || watched == Text1[5]) && event->type() == QEvent::KeyPress) {
        // Points take digits, "." and Backspace; anything else typed beeps and is dropped.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->key() == Qt::Key_Backspace || text.isEmpty() || !text.at(0).isPrint())
            return false;
        for (QChar c : text)
            if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.')) {
                ui::Beep();
                return true;
            }
        return false;
    }
    return QWidget::eventFilter(watched, event);
}
