// The vendor list report: one three-line block per vendor of the rows it is handed, in the
// order given.  The list-printing window sets its data source (every column of RV11), turns
// it to portrait for one category's list and shows it.
#pragma once

#include "platform/report/ListReport.h"

class 廠商報表列印Rpt : public report::ListReport {
public:
    廠商報表列印Rpt();

    // The program's one instance, made on first use and kept.
    static 廠商報表列印Rpt& Instance();
};
