// The list printing window: one tab per register (customers, vendors, employees, personal
// contacts, members), each with its filters and sort order; the chosen list goes to its
// report's preview, or to an Excel workbook (customers, vendors, employees) or the report's
// own export (contacts, members).  It edits nothing.
#pragma once

#include "platform/db/Db.h"
#include "records/OneInstance.h"

#include <QDate>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QWidget>
#include <array>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace dbmodel {
class RecordsetModel;
}

// ---- The statements, built apart from the window ---------------------------------------------

// Customers: all, or the codes from..to (text comparison, both ends) when both are given;
// sorted by the choice's text ("客戶代號", "客戶簡稱", "公司地址" in the current language).
db::Statement CustomerListQuery(bool all, const QString& from, const QString& to, const QString& sortText);
// Vendors: all, or those of one category code, by vendor number.
db::Statement VendorListQuery(std::optional<QString> categoryCode);
// Employees: all, or those of one department code, in the sort choice's order ("部門編號",
// "員工編號", "中文姓名"); one department without a known choice goes by employee number.
db::Statement EmployeeListQuery(std::optional<QString> departmentCode, const QString& sortText);
// Personal contacts: all, or those whose category 類別 is the name, by number.
db::Statement ContactListQuery(std::optional<QString> categoryName);

// The member panel's filter choice.
enum class MemberFilter { All, Numbers, Points, Birthday };
struct MemberListInput {
    MemberFilter filter = MemberFilter::All;
    QString fromNumber, toNumber;  // member numbers
    QString fromPoints, toPoints;  // points, read from their leading numbers
    QDate fromBirthday, toBirthday;
    QString sortText;              // "會員編號", "會員姓名" or anything else (no order)
};
// The statement, or the message that refuses an incomplete range.
struct MemberListResult {
    db::Statement query;
    QString refusal;
};
MemberListResult MemberListQuery(const MemberListInput& in);

// Name-to-code lookups: the code of the first row of that name, nullopt when there is none.
std::optional<QString> 取得公司部門分類(const QString& name);
std::optional<QString> 取得個人分類(const QString& name);
std::optional<QString> 取得廠商分類(const QString& name);

// The default file name of an exported list: today as yyyyMMdd, the tab's caption, ".xlsx".
QString ExportFileName(const QDate& today, const QString& tabCaption);

// ---- The window ---------------------------------------------------------------------------------

class CustomPrintMsgFrm : public QWidget, public OneInstance<CustomPrintMsgFrm> {
public:
    explicit CustomPrintMsgFrm(QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());
    ~CustomPrintMsgFrm() override;

    enum Tab { Customers = 1, Vendors, Employees, Contacts, Members };

    QLabel* Image1 = nullptr;
    QTabBar* TabStrip1 = nullptr;
    std::array<QWidget*, 6> Picture2{};           // 1..5: one panel per tab
    std::array<QRadioButton*, 6> Option5{};       // 0, 1 customers; 2..5 members
    std::array<QRadioButton*, 2> Option1{};       // personal contacts
    std::array<QRadioButton*, 2> Option2{};       // vendors
    std::array<QRadioButton*, 2> Option3{};       // employees
    std::array<QRadioButton*, 2> Option4{};       // 0 preview, 1 Excel
    std::array<QLineEdit*, 6> Text1{};            // 0, 1 customer codes; 2, 3 member numbers; 4, 5 points
    std::array<QDateEdit*, 2> DTPicker1{};        // member birthdays
    QComboBox* DataCombo1 = nullptr;              // customer code picker
    QComboBox* DataCombo2 = nullptr;              // personal-contact categories
    QComboBox* DataCombo3 = nullptr;              // vendor categories
    QComboBox* DataCombo4 = nullptr;              // departments
    QComboBox* Combo1 = nullptr;                  // customer sort
    QComboBox* Combo2 = nullptr;                  // employee sort
    QComboBox* Combo3 = nullptr;                  // member sort
    std::array<QPushButton*, 2> Command2{};       // 0 confirm, 1 close

    int LastTabIndex = 0;
    QLineEdit* CodeTarget = nullptr;
    db::Recordset CodeListRs;
    db::Recordset MemberListRs;

    // The tab that is selected, 1..5.
    int SelectedTab() const;
    void TabStrip1_Click(int index);
    void Command2_Click(int index);

    void 客戶資料列印();
    void 廠商資料列印();
    void 員工資料列印();
    void 列印個人通訊錄();
    void 會員資料列印();
    void 匯出檔案(db::Recordset& rs);

    void 開啟客戶代號清單();
    void 載入公司部門清單();
    void 載入個人類別清單();
    void 載入廠商類別清單();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const QPixmap& titlePicture);
    void formLoad();
    void codeBoxGotFocus(QLineEdit* box);
    void pickerLostFocus();
    // Runs a list procedure; a failing statement is reported, never thrown out of the click.
    void guarded(void (CustomPrintMsgFrm::*list)());

    dbmodel::RecordsetModel* codeModel_ = nullptr;
};
