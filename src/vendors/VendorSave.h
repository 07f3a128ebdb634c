// Saving a vendor without the window: the check that may refuse a save, the delete of a
// vendor's contacts and the checklist of empty
// fields shown in the help panel.
#pragma once

#include "records/BoxText.h"
#include "vendors/VendorList.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// The text of record box n.

// The vendor number begins with the trimmed category code directly followed by "-".
bool VendorNumberPrefixOk(const QString& categoryCode, const QString& number);
// The boxes a save measures: 1 to 20, the category name (box 9) aside.
const std::vector<int>& VendorWidthCheckedBoxes();
// The first of them longer in code-page-950 bytes than its limit, or -1.
int FirstTooWideVendorBox(const BoxTextFn& text);
// "欄位資料過長,請不要超過" limit "個字元(一個中文字算2個字元)".
QString VendorTooWideMessage(int maxLength);

// The save check: the duplicate number (another row than `ownSerial` holding it; 0 for a new
// vendor), the number's category prefix, then the widths.  Shows its message and returns the
// box to put the focus on (-1 for none) when it refuses.
struct VendorSaveRefusal {
    bool refused = false;
    int focusBox = -1;
};
VendorSaveRefusal CheckSaveFACTOR(const BoxTextFn& text, qint32 ownSerial);
// The number part of that check (duplicate, then prefix), message shown; true = refuse.  The
// window runs the width part through its record boxes.
bool RefuseVendorNumber(const BoxTextFn& text, qint32 ownSerial);

// Deletes every contact of the vendor (by the trimmed number).
db::Statement VendorContactsDeleteStatement(const QString& vendorNumber);

// The checklist of the help panel: how to edit, then each important box still empty.  Every
// line is preceded by two line breaks (CR LF).
QString VendorReportText(bool editing, const BoxTextFn& text);
