// The print-offset window of the label reports: four offsets in twips with their centimetre
// read-outs, saved into the main settings file.
#pragma once

#include "output/LabelSheet.h"
#include "records/OneInstance.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;


class AdjustLabelFrm : public QWidget, public OneInstance<AdjustLabelFrm> {
public:
    explicit AdjustLabelFrm(QWidget* parent = nullptr);
    // Shows the one offsets window, made when none is open (the label windows' offsets button).
    static void Open();

    QGroupBox* Frame1 = nullptr;
    std::array<QLineEdit*, 4> Text2{};      // 0 up, 1 left, 2 pitch, 3 page footer
    std::array<QLabel*, 4> cmlabel{};
    std::array<QPushButton*, 3> Command1{}; // 0 OK, 1 exit, 2 apply

    void Command1_Click(int index);

private:
    // Says which offset the labels cannot be printed with and the most (or least) it can
    // take, and puts the focus on its box; true when one was refused.
    bool RefuseOutOfRange();
};
