// The member list report: one three-line block per member of the rows it is handed, in the
// order given.  The list-printing window hands it every column of 會員管理; the birth date
// printed is composed from 生日_年 and 月日.
#pragma once

#include "platform/report/ListReport.h"

namespace db {
class Recordset;
}

class 會員資料管理Rpt : public report::ListReport {
public:
    會員資料管理Rpt();

    // The program's one instance, made on first use and kept.
    static 會員資料管理Rpt& Instance();

    // The members to print: the recordset's rows as they are now, with the column 出生日期
    // added when the rows lack it.
    void SetMembers(const db::Recordset& rs);
    void SetMembers(report::Snapshot rows);

    static inline const QString kReportHeader = QStringLiteral("Section4");
    static inline const QString kDetail = QStringLiteral("客戶資料_Detail");
};
