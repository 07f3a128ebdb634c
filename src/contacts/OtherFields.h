// The personal-contact record (an RV18A row) as tables: the nineteen boxes of the contact
// window with their columns, captions, byte limits and pages, and the fourteen boxes of its
// find window.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

// One box of the contact window.
struct OtherField {
    int box;          // index in Text1
    QString column;   // RV18A column
    int label;        // index in Label1
    int labelId;      // string-table id of the label's caption (540 + label)
    int maxLength;    // bytes of code page 950, 0 = none
    int page;         // tab page: 1 basic data, 2 addresses and remarks
    QString tip;      // hover help
};

constexpr int kOtherBoxes = 19;
constexpr int kOtherRemarksBox = 18;  // the multi-line box

// Boxes 0 to 18 in box order.
const std::array<OtherField, kOtherBoxes>& OtherFields();

// The tab page holding a box: 1 for boxes 0 to 15, 2 from 16.
int OtherPageOf(int box);

// One box of the find window.
struct OtherFindBox {
    int box;              // index in Text1 of the find window
    QString column;       // RV18A column it searches
    int label;            // index in Label1
    int labelId;          // string-table id of the caption, 0 = the fixed caption below
    QString caption;      // fixed caption (used when labelId is 0)
    bool inputMethodOff;  // the Chinese input method is switched off on entry
};

constexpr int kOtherFindBoxes = 14;
constexpr int kOtherFindMaxLength = 14;  // bytes, every box

const std::array<OtherFindBox, kOtherFindBoxes>& OtherFindBoxes();

// The fixed items of the sex box's pick list.
QStringList SexPickItems();
