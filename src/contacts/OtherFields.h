// The personal-contact record (an RV18A row) as a table: the nineteen boxes of the contact
// window with their columns, captions, byte limits and pages.
#pragma once

#include "records/FieldTable.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

constexpr int kOtherBoxes = 19;
constexpr int kOtherLabels = 19;
constexpr int kOtherRemarksBox = 18;  // the multi-line box

// Boxes 0 to 18 in box order; every label's caption is string 540 + its index.
const std::vector<RecordField>& OtherFields();
// The boxes the save measures against their byte limits: all but the sex box.
const std::vector<int>& OtherWidthBoxes();

// The tab page holding a box: 1 for boxes 0 to 15, 2 from 16.
int OtherPageOf(int box);

// The fixed items of the sex box's pick list.
QStringList SexPickItems();
