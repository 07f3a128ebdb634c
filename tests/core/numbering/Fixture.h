// A small database in a temporary folder, opened as gConn (and, when asked, as gConnAlt).
#pragma once

#include "core/Globals.h"
#include "platform/db/Db.h"
#include "platform/ui/Ui.h"
#include "support/Responder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

class DbFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.file(QStringLiteral("Tessarine.mdb"));
        db::Connection::CreateDatabase(path_, QStringLiteral(R"(
            CREATE TABLE Codes (總序 Long Identity, 代號 Text(10));
            CREATE TABLE RV1 (總序 Long Identity, RV10 Text(4), RV11 Text(10));
            CREATE TABLE RV11 (RV110 Text(10), RV111 Text(10), RV112 Text(10), 廠商狀況 Text(10),
                               印前 Integer, 印刷 Integer, 裱紙 Integer, 軋型 Integer, 紙行 Integer,
                               貼糊 Integer, 裝裁 Integer);
            CREATE TABLE RV12 (總序 Long Identity, RV120 Text(14), RV121 Text(10), 類別 Text(10));
            CREATE TABLE RV17 (總序 Long Identity, RV170 Text(10), RV171 Text(20));
            CREATE TABLE RV17A (總序 Long Identity, RV17A0 Text(10), RV17A2 Text(10), rv17a13 Text(10));
            CREATE TABLE 會員管理 (總序 Long Identity, 會員編號 Text(12), 版號 Text(12), 類別 Text(10));
            CREATE TABLE 應付帳款管理 (總序 Long Identity, 單據編號 Text(12));
            CREATE TABLE 產品管理 (總序 Long Identity, 品號 Text(12));
            CREATE TABLE 刀模號管理 (總序 Long Identity, 刀模號 Text(12), 軋盒廠 Text(10));
            CREATE TABLE 發票帳戶 (總序 Long Identity, 公司簡稱 Text(10));
        )"));
        gConn.Open(connectionText());
        gProgramPath = dir_.path();
        gDataPath = dir_.path();
        ui::SetToday(QDate(2026, 12, 10));
    }

    void TearDown() override
    {
        if (gConnAlt.IsOpen())
            gConnAlt.Close();
        gConn.Close();
        ui::SetToday(QDate());
    }

    QString connectionText() const
    {
        return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path_;
    }
    void openAlt() { gConnAlt.Open(connectionText()); }

    // Inserts one row per entry of `rows` (an invalid QVariant is Null).
    void insert(const QString& table, const QStringList& columns, const QList<QVariantList>& rows)
    {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        for (const QVariantList& row : rows)
            gConn.Execute(sql, row);
    }
    // One column, one row per value.
    void insertValues(const QString& table, const QString& column, const QList<QVariant>& values)
    {
        for (const QVariant& v : values)
            insert(table, {column}, {{v}});
    }
    void empty(const QString& table) { gConn.Execute(QStringLiteral("DELETE FROM ") + table); }

    testsupport::TempDir dir_;
    QString path_;
};
