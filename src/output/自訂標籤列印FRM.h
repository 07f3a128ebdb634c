// The window of labels from imported Excel sheets: the service-firm and manufacturing-firm
// workbooks of the data folder are copied into the tables 服務業 and 製造業, whose rows are
// printed as two-column labels addressed to the chairman or, failing that, the general manager
// (ImportedFirmLabel).
#pragma once

#include "output/LabelSheet.h"
#include "records/OneInstance.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QPushButton;

class 自訂標籤列印FRM : public QWidget, public OneInstance<自訂標籤列印FRM> {
public:
    explicit 自訂標籤列印FRM(QWidget* parent = nullptr);

    std::array<QPushButton*, 2> Command2{};  // import service / manufacturing firms
    std::array<QPushButton*, 2> Command1{};  // labels of service / manufacturing firms

    void Command2_Click(int index);
    void Command1_Click(int index);
    db::Recordset lastSheet() const { return lastSheet_; }

private:
    db::Recordset lastSheet_;
};
