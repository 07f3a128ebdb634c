// Vendor numbers: the category code, "-" and a serial of at least three digits
// (001-007, 002-120, 001-1000).
#pragma once

#include <QString>

// The number after the serial `greatestSerial` of category `code`: code, "-", the next serial
// zero-padded to three digits ("A1-001" when the greatest is 0).
QString NextVendorNo(const QString& code, long long greatestSerial);

// The next free number of the category on gConn: one more than the greatest serial among the
// category's numbers, the serial read as a number from the text after the first "-" (its leading
// digits), so "-1000" follows "-999".  The code is trimmed.
QString GetfactoryNewNo(const QString& code);
