// The personal-contact list report: one two-line block per contact of the rows it is handed
// (every column of RV18A), in the order given.
#pragma once

#include "platform/report/Report.h"

class 個人通訊Rpt : public report::Report {
public:
    個人通訊Rpt();

    // The program's one instance, made on first use and kept.
    static 個人通訊Rpt& Instance();

    // Section names.
    static inline const QString kReportHeader = QStringLiteral("ReportHeader");
    static inline const QString kPageHeader = QStringLiteral("PageHeader");
    static inline const QString kDetail = QStringLiteral("個人通訊_Detail");
    static inline const QString kPageFooter = QStringLiteral("PageFooter");
    static inline const QString kReportFooter = QStringLiteral("ReportFooter");
};
