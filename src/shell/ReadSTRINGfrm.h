// The string-dump window: one button that writes the current language's string table into
// "aaa.txt" in the data folder (DumpStringTable).
#pragma once

#include <QDialog>

class QPushButton;

class ReadSTRINGfrm : public QDialog {
    Q_OBJECT
public:
    explicit ReadSTRINGfrm(QWidget* parent = nullptr);
    // The button's work: "aaa.txt" in the data folder, then "完畢".
    void Command1_Click();

    QPushButton* Command1 = nullptr;
};
