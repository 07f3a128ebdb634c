// Fill a combo or list box with the values of one table column, so a box offers the values
// already in use.
//
// The fillers never set the box's text or its selection, skip Null and "", restore the mouse
// pointer on every path, and stop quietly when the box is destroyed while they yield to the
// window system between rows.
#pragma once

#include "platform/db/Db.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;
class QWidget;

// The box a filler writes to: a combo box or a list box, held weakly (callers pass the
// widget pointer itself).  Items are gathered and go into the box in one step (show): a combo
// box then shows a string-list model, so a list of 100,000 values costs no item object each.
class ListTarget {
public:
    ListTarget(QComboBox* combo);
    ListTarget(QListWidget* list);

    bool alive() const;
    void clear();
    // Adds one item to those gathered.
    void add(const QString& text);
    // Puts the gathered items after those the box holds, leaving the current item and the
    // edit text as they were.
    void show();

private:
    QPointer<QComboBox> combo_;
    QPointer<QListWidget> list_;
    QStringList pending_;
};

// Every distinct non-empty value of the column, ascending.  Errors reach the caller.
void FillDistinctCombo(ListTarget box, const QString& column, const QString& table, db::Connection& conn);

// Every customer short name RV121, ascending; errors are reported with Abort, Retry, Ignore.
void FillCustomerShortNames(ListTarget box);

// The company short names of the invoice accounts (through gConnAlt; empty when it is closed).
void FillInvoiceAccountCombo(ListTarget box);

// The units of the setting "Unit" (section "Unitdata", data folder), else the built-in units,
// one item per line.  A single unit is added without clearing the box.  `folder` is not used.
void LoadUnitList(ListTarget box, const QString& folder = QString());

// Every non-empty department name RV171, ascending.  Errors reach the caller.
void FillDeptCombo(ListTarget box);

// The vendor short names RV112 of one trade category ("all" or "" for every vendor).
void FillVendorsByCategory(ListTarget box, const QString& category);

// The names RV17A2 of the employees still employed, of every department ("") or of the
// departments the word names.
void FillEmployeesByDept(ListTarget box, const QString& department);
