// What the vendor window shows, as plain tables: the record boxes with their columns, labels,
// captions, byte limits and hover help; the twelve trade flags; the contacts grid's columns; the
// list grid's columns; the find window's boxes.  The window builds its controls from these.
#pragma once

#include <QString>
#include <array>
#include <vector>

// Where a record box sits: the strip above the pages (seen on every page) or page 1.
enum class VendorPage { Top, Basic };

// One box of the vendor record (Text1(box)).
struct VendorField {
    int box;           // index in Text1
    QString column;    // RV11 column; "" for the category-name box, which is not bound
    int label;         // index in Label4
    int labelId;       // string-table id of the label's caption; 0 = the fixed caption below
    QString caption;   // the label's Traditional caption
    int maxLength;     // bytes of code page 950
    bool bound;        // follows the current row by itself
    VendorPage page;
    QString tip;       // hover help (the status line shows it)
};
constexpr int kVendorBoxes = 25;
// Boxes 0 to 24 in box order.
const std::array<VendorField, kVendorBoxes>& VendorFields();
// The box's byte limit (0 for an index outside the table).
int VendorMaxLength(int box);

// The trade flags Check2(0..11): column and caption.
struct VendorFlag {
    QString column;
    QString caption;
};
constexpr int kVendorFlags = 12;
const std::array<VendorFlag, kVendorFlags>& VendorFlags();

// The contacts grid (ManGrid, table 廠商聯絡人): grid columns 0 to 8, column 0 the item number.
// The row array has one more column, 9, holding the stored row's 總序.
struct VendorContactColumn {
    QString caption;
    int widthTwips;
    QString field;    // 廠商聯絡人 column
    int byteLimit;    // 0 = none
};
const std::vector<VendorContactColumn>& VendorContactColumns();
constexpr int kContactKeyColumn = 9;
constexpr int kContactEmailColumn = 7;
constexpr int kContactLastColumn = 8;

// The list grid: the vendor number and the short name.
struct VendorListColumn {
    QString column;
    int captionId;    // 0 = the fixed caption
    QString caption;
    int widthTwips;
};
const std::vector<VendorListColumn>& VendorListColumns();

// The find window's boxes Text1(0..10): the RV11 column each searches and its caption.
struct VendorFindBox {
    QString column;
    QString caption;
    bool digitsOnly;
};
constexpr int kVendorFindBoxes = 11;
const std::array<VendorFindBox, kVendorFindBoxes>& VendorFindBoxes();
