// The bulk registered-mail list: the post office's receipt form for many registered letters,
// one numbered row per addressee picked in a label window. The customer and vendor label
// windows carry the same panel (weight, postage, start number, three check boxes) and the
// same procedure; they differ in the lookup of name and address.
#pragma once

#include "platform/db/Db.h"
#include "platform/report/Report.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

// An addressee as the form prints it.
struct BulkMailAddressee {
    QString name;
    QString address;
};
// Looks an addressee up by its trimmed list text; nothing when no row matches.
using BulkMailLookup = std::function<std::optional<BulkMailAddressee>(const QString& item)>;
// The addressees of the picked names, all read at the first lookup (PickedRows).
BulkMailLookup CustomerAddressees(const QStringList& picked);  // 客戶全銜 and RV128 by RV121
BulkMailLookup VendorAddressees(const QStringList& picked);    // RV113 and RV1111 by RV112

// The record set in memory, one record per printed row.
db::Recordset NewBulkMailSheet();

// The report layout, its captions in the header set for the given date (ROC year, month, day).
std::unique_ptr<report::Report> NewDrp大宗掛號單();
void SetBulkMailDate(report::Report& report, const QDate& date);

// The panel of the two label windows.
class BulkMailPanel {
public:
    explicit BulkMailPanel(QWidget* parent);
    std::array<QLineEdit*, 3> Text3{};   // weight, postage, first registered number
    std::array<QCheckBox*, 3> Check2{};  // return receipt, airmail, printed matter
    std::array<QLabel*, 3> Label1{};
    // The controls on a grid of their own: each caption before its box, its check box under them.
    QGridLayout* NewLayout() const;

    // Builds the list for the picked items and shows it; false when nothing was shown.
    bool 大宗掛號單列印(const QStringList& picked, const BulkMailLookup& lookup);
    // The rows the last run built (for the report and tests).
    db::Recordset sheet() const { return sheet_; }
    report::Report* report() const { return report_.get(); }

private:
    db::Recordset sheet_;
    std::unique_ptr<report::Report> report_;
};
