// The customer text import: a four-page wizard that reads a delimited text file, shows its
// first line split into columns, lets the user say which customer field each column feeds and
// then appends one customer per line in one transaction.
#pragma once

#include "platform/db/Db.h"
#include "shell/ImportText.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace dbmodel {
class RecordsetModel;
}

class frmImpDB2 : public QDialog {
    Q_OBJECT
public:
    explicit frmImpDB2(QWidget* parent = nullptr);
    ~frmImpDB2() override;

    QLabel* Image1 = nullptr;
    QTabBar* TabStrip1 = nullptr;                // 歡迎, 步驟一, 步驟二, 步驟三
    QStackedWidget* Pages = nullptr;             // Frame1(1) .. Frame1(4) as pages 0 .. 3
    std::array<QWidget*, 5> Frame1{};            // 1 .. 4
    QLineEdit* txtTextFile = nullptr;
    QLineEdit* txtDatabaseFile = nullptr;
    QComboBox* cboDelimiter = nullptr;
    QComboBox* Combo2 = nullptr;                 // target
    QPushButton* Command4 = nullptr;             // browse
    QPushButton* Command1 = nullptr;             // 讀入對應欄位
    QPushButton* cmdImport = nullptr;            // 開始轉換(&I)
    QPushButton* Command5 = nullptr;             // 關閉
    std::array<QPushButton*, 2> Command2{};      // column heads
    QWidget* Picture2 = nullptr;                 // viewport
    QWidget* Picture1 = nullptr;                 // the column boxes, scrolled inside Picture2
    QScrollBar* VScroll1 = nullptr;
    std::vector<QLineEdit*> Text1;               // sample of column k
    std::vector<QLineEdit*> Text2;               // caption of the field fed by column k
    QComboBox* Combo1 = nullptr;                 // the field chooser Combo1(0)
    QTableView* DataGrid2 = nullptr;             // the table after a run
    QPointer<QProgressDialog> Progress1;         // reading the file and the run, with 取消

    // The form state the preview builds and the run reads.
    QVector<textimport::ImportField> Fields;
    int LastColumnIndex = 0;
    QPointer<QLineEdit> CurrentFieldBox;

    // Shows the page of a tab (0 .. 3).
    void TabStrip1_Click(int index);
    // Browse for the text file.
    void Command4_Click();
    // Preview: reads the first line into the column boxes.
    void Command1_Click();
    // The field chooser over caption box k.
    void Text2_GotFocus(int k);
    void Combo1_LostFocus();
    // Run: appends a customer per line.
    void cmdImport_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* newColumnBox(int k, bool caption);
    // Shows the progress window over a long step and gives the step its progress callback.
    textimport::Progress showProgress(const QString& label);
    void hideProgress();
    void layOutColumns();

    db::Recordset rs_;
    dbmodel::RecordsetModel* gridModel_ = nullptr;
};
