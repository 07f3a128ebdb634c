// Moving table data to and from spreadsheet workbooks.
#pragma once

#include "platform/db/Db.h"

#include <QString>

// Writes the recordset to a new workbook: a heading row with the field names (bold, sky blue,
// bordered), then one row per record from the first; GUID, memo and binary fields are left
// out, Null is an empty cell, texts stay texts (codes keep their leading zeros).  When path
// holds no "." at all, ".Xlsx" is appended and the caller's path receives the longer name.
// Ends with "轉存完畢", or reports a failure itself ("匯出失敗") and returns normally.
void ExportRsToExcel(db::Recordset& rs, QString& path);

// Copies the worksheet `sheet` of the .xls workbook into a new table of the database file:
// columns F1, F2, … typed from the cells (numbers Double, dates DateTime, anything else or a
// mix Text), one row per worksheet row that holds a value.  Shows "匯入成功.".
// Throws db::DbError: 3024 workbook missing, 3274 not a workbook, 3011 no such sheet,
// 3010 the table exists already (it is left unchanged), or the database's own errors.
// With replaceExisting an existing table is dropped and made anew in the same transaction,
// so a failed import leaves the old rows in place.
void ImportExcelSheet(const QString& sheet, const QString& workbook, const QString& table,
                      const QString& database, bool replaceExisting = false);
