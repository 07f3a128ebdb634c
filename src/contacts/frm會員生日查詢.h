// The member birthday query: the members whose birthday (month and day) falls between two
// dates of one year, listed read-only.  Nothing here changes data.
#pragma once

#include "platform/db/Db.h"
#include "records/OneInstance.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

// The query's rows as the grid shows them: member number, names, the birth date composed of
// 生日_年 and 月日, gender, the contact telephone and the mobile.
class MemberBirthdayModel : public QAbstractTableModel {
public:
    struct Column {
        QString caption;
        int widthTwips;
        std::function<QString(const db::Recordset&, long row)> text;
    };
    explicit MemberBirthdayModel(QObject* parent = nullptr);

    void setRecordset(const db::Recordset& rs);
    const std::vector<Column>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Column> columns_;
    db::Recordset rs_;
    long rows_ = 0;
};

class frm會員生日查詢 : public QWidget, public OneInstance<frm會員生日查詢> {
public:
    explicit frm會員生日查詢(QWidget* parent = nullptr);

    QWidget* Picture1 = nullptr;
    std::array<QLabel*, 2> Label1{};
    std::array<QDateEdit*, 2> DTPicker1{};
    std::array<QPushButton*, 2> Command1{};  // 0 query, 1 close
    QTableView* DataGrid1 = nullptr;
    MemberBirthdayModel* Model = nullptr;

    void SetGrid();
    // Runs the query between the two pickers and shows the result.
    void 會員生日查詢();
    void Command1_Click(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
