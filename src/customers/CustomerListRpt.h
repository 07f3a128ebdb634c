// The customer list report: one two-line block per customer of the rows it is handed, in the
// order given.  The list-printing window sets its data source (every column of RV12) and
// shows it.
#pragma once

#include "platform/report/Report.h"

class 客戶資料管理Rpt : public report::Report {
public:
    客戶資料管理Rpt();

    // The program's one instance, made on first use and kept.
    static 客戶資料管理Rpt& Instance();

    // Section names.
    static inline const QString kReportHeader = QStringLiteral("ReportHeader");
    static inline const QString kPageHeader = QStringLiteral("PageHeader");
    static inline const QString kDetail = QStringLiteral("客戶資料_Detail");
    static inline const QString kPageFooter = QStringLiteral("PageFooter");
    static inline const QString kReportFooter = QStringLiteral("ReportFooter");
};
