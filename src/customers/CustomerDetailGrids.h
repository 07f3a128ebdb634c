// The customer window's two detail grids: contact persons (ManGrid, table RV12A) and delivery
// addresses (DeliveGrid, table RV12B), each a kit DetailGrid described by its column table,
// plus the customer's own buttons over them (mail a contact, the customer's address as a
// delivery row).
#pragma once

#include "records/DetailGrid.h"

#include <QObject>
#include <QPointer>
#include <QString>

enum class DetailKind { Contacts, Deliveries };

// The column tables and rules of the two grids.
const DetailGridDef& CustomerGridDef(DetailKind kind);

class CustomerDetailGrids : public QObject {
public:
    CustomerDetailGrids(QWidget* manPage, QWidget* delivePage, QObject* parent = nullptr);
    ~CustomerDetailGrids() override;

    DetailGrid* Man() const { return man_; }
    DetailGrid* Delive() const { return delive_; }
    DetailGrid* Of(DetailKind kind) const { return kind == DetailKind::Contacts ? man_ : delive_; }

    FlexGrid* ManGrid() const { return man_->Grid(); }
    QLineEdit* ManGridTxt() const { return man_->Editor(); }
    FlexGrid* DeliveGrid() const { return delive_->Grid(); }
    QLineEdit* EditGridTXT() const { return delive_->Editor(); }

    // The window's mode: the editors show only while adding or changing ("addnew"/"change").
    void SetEditMode(const QString& editMode);
    // The window's 刪除一行 button (Command2(10)): a grid click enables it on a counted row.
    void SetDeleteRowButton(QWidget* button);

    // Building and loading (the customer code selects the rows of RV12A / RV12B on gConn).
    void SetManGrid() { man_->Build(); }
    void ReadMinDate(const QString& code) { man_->Load(code); }
    void SetDeliveGrid() { delive_->Build(); }
    void ReadDeliveDate(const QString& code) { delive_->Load(code); }

    // 刪除一行 on the grid of the selected tab (1 basic data: nothing, 2 contacts, 3 deliveries).
    void 刪除一行(int selectedTab);
    // 發信給聯絡人: mail the contact at the grid's current row.
    void MailCom_Click();
    // 關聯公司地址: a new delivery row from the customer's own short name, phone, fax and
    // address.  True when a row was added (the window then hides the button).
    bool AddressCom_Click(const QString& shortName, const QString& phone, const QString& fax,
                          const QString& address);

    // What the save reads.
    const DetailRowArray& ManRowData() const { return man_->RowData(); }
    short ManRowCount() const { return man_->RowCount(); }
    const DetailRowArray& DeliveRowData() const { return delive_->RowData(); }
    short DeliveRowCount() const { return delive_->RowCount(); }
    const DeletedRowKeys& ManDeletedRowKeys() const { return man_->DeletedKeys(); }
    const DeletedRowKeys& DeliveDeletedRowKeys() const { return delive_->DeletedKeys(); }
    void ClearDeletedRowKeys();
    // Both grids ready to be saved (a refused e-mail address is shown and refuses the save).
    bool ReadyToSave();

    // Per-column byte limits of the editors (0 = none).
    const std::vector<short>& ManCellByteLimit() const { return man_->CellByteLimit(); }
    const std::vector<short>& DeliveCellByteLimit() const { return delive_->CellByteLimit(); }

    // Place the editor over (row, col) of its grid (callers pass the grid's Row and Col).
    void POSitionMan(int row, int col) { man_->Place(row, col); }
    void POSition(int row, int col) { delive_->Place(row, col); }

private:
    DetailGrid* man_ = nullptr;
    DetailGrid* delive_ = nullptr;
};
