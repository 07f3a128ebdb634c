// The personal-contact list report: one two-line block per contact of the rows it is handed
// (every column of RV18A), in the order given.
#pragma once

#include "platform/report/ListReport.h"

class 個人通訊Rpt : public report::ListReport {
public:
    個人通訊Rpt();

    // The program's one instance, made on first use and kept.
    static 個人通訊Rpt& Instance();

    static inline const QString kDetail = QStringLiteral("個人通訊_Detail");
};
