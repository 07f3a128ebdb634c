// The customer list report: one two-line block per customer of the rows it is handed, in the
// order given.  The list-printing window sets its data source (every column of RV12) and
// shows it.
#pragma once

#include "platform/report/ListReport.h"

class 客戶資料管理Rpt : public report::ListReport {
public:
    客戶資料管理Rpt();

    // The program's one instance, made on first use and kept.
    static 客戶資料管理Rpt& Instance();

    static inline const QString kDetail = QStringLiteral("客戶資料_Detail");
};
