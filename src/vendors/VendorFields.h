// What the vendor window shows, as plain tables: the record boxes with their columns, labels,
// captions, byte limits and hover help; the twelve trade flags; the contacts grid's columns; the
// list grid's columns; the find window's boxes.  The window builds its controls from these.
#pragma once

#include "records/DetailGrid.h"
#include "records/FieldTable.h"
#include "records/FindDialog.h"

#include <QString>
#include <array>
#include <vector>

// Where a record box sits: the strip above the pages (seen on every page) or page 1.
enum class VendorPage { Top, Basic };

constexpr int kVendorBoxes = 25;
// Boxes 0 to 24 in box order (Text1(box); labels Label4(label)).
const std::vector<RecordField>& VendorFields();
// Where the box sits.
VendorPage VendorPageOf(int box);
// The box's byte limit (0 for a box the table does not hold).
int VendorMaxLength(int box);

// The trade flags Check2(0..11): column and caption.
struct VendorFlag {
    QString column;
    QString caption;
};
constexpr int kVendorFlags = 12;
const std::array<VendorFlag, kVendorFlags>& VendorFlags();

// The contacts grid (ManGrid, table 廠商聯絡人 linked by 廠商編號): grid columns 0 to 8, column 0
// the item number; the row array's column 9 holds the stored row's 總序.
const DetailGridDef& VendorContactsDef();

// The list grid: the vendor number and the short name.
struct VendorListColumn {
    QString column;
    int captionId;    // 0 = the fixed caption
    QString caption;
    int widthTwips;
};
const std::vector<VendorListColumn>& VendorListColumns();

// The find window's boxes Text1(0..10): the RV11 column each searches, its caption, its limit.
const std::vector<FindBox>& VendorFindBoxes();
