// What the vendor record boxes do while the user works in them, as plain rules: which pick
// list a box opens and where Enter in it leads, the stock texts of F3/F4/F5, where Enter and the
// arrow keys lead, which keys a box refuses, the short name mirrored into the full name, and the
// addresses handed to the browser and the mail program.  The window applies them.
#pragma once

#include "records/EntryRules.h"

#include <QString>
#include <QStringList>
#include <optional>

// The pick list laid over a box while editing: none, the status list (Combo2, box 16) or the
// shared list (Combo3, boxes 20 to 23).
enum class VendorPick { None, Status, Shared };
VendorPick VendorPickOf(int box);
// Its entries in order.
QStringList VendorPickItems(int box);
// The box Enter in the box's pick list leads to (-1 for a box without one).
int VendorPickNextBox(int box);

// Where Enter leads from a box (the remarks box only from an empty last line), and where the
// Up and Down arrows lead (-1 = the focus stays).
const BoxMap& VendorEnterMap();
const BoxMap& VendorUpMap();
const BoxMap& VendorDownMap();
// The F3/F4/F5 texts: F5 in the factory address (box 12) appends the company address (box 11).
const std::vector<StockText>& VendorStockTexts();

// Boxes that take digits, "." , Enter and Backspace only.
bool VendorDigitsOnly(int box);
// The box that refuses every key.
bool VendorRefusesEveryKey(int box);
// The byte-limit rule of a vendor box: a box whose trimmed text already takes `maxLength` bytes
// or more refuses every key (0 = no limit).
bool VendorBoxFull(const QString& text, int maxLength);

// The printable characters of a typed text (what the short name passes on to the full name).
QString PrintableOnly(const QString& typed);

// The address handed to the browser or the mail program: the trimmed text, with `scheme`
// ("http://" or "mailto:") put in front only when the text names no scheme of its own.
QString WithScheme(const QString& address, const QString& scheme);
