// The database maintenance window: lists the user tables and offers three repairs on them
// (let text columns accept the empty text, clear tables, renumber the customer codes).
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// No Q_OBJECT: the meta-object compiler cannot read the Chinese class name, and the window
// needs no signals of its own.
class 資料庫維護frm : public QDialog {
public:
    explicit 資料庫維護frm(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;        // banner
    QComboBox* Combo1 = nullptr;     // the database the actions work on
    QListWidget* List1 = nullptr;    // its user tables
    QLabel* Note = nullptr;
    QPushButton* Command1 = nullptr; // 允許文字欄位為零
    QPushButton* Command3 = nullptr; // 清空資料表
    QPushButton* Command6 = nullptr; // 轉換客戶資料代號
    QLabel* Label1 = nullptr;        // the code being written

    void Combo1_Click();
    void LoadTableList();
    void Command1_Click();
    void Command3_Click();
    void Command6_Click();

private:
    QStringList listedTables() const;
};
