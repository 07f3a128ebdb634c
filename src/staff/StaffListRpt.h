// The employee list report: one three-line block per employee of the rows it is handed, in
// the order given.  The list-printing window sets its data source (every column of RV17A),
// turns it to portrait and shows it.
#pragma once

#include "platform/report/ListReport.h"

class 員工資料Rpt : public report::ListReport {
public:
    員工資料Rpt();

    // The program's one instance, made on first use and kept.
    static 員工資料Rpt& Instance();
};
