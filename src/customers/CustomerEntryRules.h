// What the boxes of the customer record do while the user works in them, as plain rules: which
// pick list a box opens, the stock texts of F3/F4/F5, where Enter and the arrow keys lead, the
// closing-day range and the invoice-status texts.  The window applies them.
#pragma once

#include "records/EntryRules.h"

#include <QString>
#include <QStringList>
#include <optional>

// The list a box hands its focus to while adding or changing.
enum class PickKind {
    None,
    Salespeople,  // the salesperson list (box 10)
    Stock,        // fixed items (StockPickItems)
    Categories,   // the categories already used (box 19)
    Accounts,     // the invoice accounts (box 23)
    Grades,       // the grade lines (box 13)
    Unchanged,    // the pick list as it was last filled (box 17)
};
PickKind PickKindOf(int box);
// The items of the boxes with a fixed list (18 invoice status, 20 billing method, 21 payment terms).
QStringList StockPickItems(int box);
// The grade list: the setting's text when it holds more than blanks, else the five stock grades
// joined by CR LF.
QString GradeListText(const QString& customTypeSetting);
// The pick list opens over the boxes' strip (19, 23) rather than over the basic-data page.
bool PickListOverStrip(int box);

// Where Enter leads from a single-line box (or the remarks box on an empty last line), and
// where the Down and Up arrows lead (-1 for none).
const BoxMap& CustomerEnterMap();
const BoxMap& CustomerDownMap();
const BoxMap& CustomerUpMap();
// The F3/F4/F5 texts: F5 in the invoice address (box 9) appends the company address (box 8).
const std::vector<StockText>& CustomerStockTexts();

// Closing day: empty (0) or 1 to 31.
bool ClosingDayAccepted(const QString& text);

// 發票狀況: 1 to 4 and their texts; any other code shows "不詳"; a text outside the four has no code.
QString InvoiceStatusText(int code);
std::optional<int> InvoiceStatusCode(const QString& text);

// The billing method's text for its stored code, and the code for a shown text.
QString BillingMethodText(const QString& code);
QString BillingMethodCode(const QString& text);
