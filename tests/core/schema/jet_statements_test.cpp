// The statements the record windows, reports and tools run, as they write them, on a database
// made the way start-up makes it: the base script, then the three schema passes.  Each table
// row is one statement with the rows (or error number) Jet gave for it.
#include "core/Globals.h"
#include "core/schema/SchemaCheck.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString BaseScript()
{
    QFile f(QStringLiteral(":/schema/base_tables.sql"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class JetStatements : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = dir_.file(QStringLiteral("Tessarine.mdb"));
        db::Connection::CreateDatabase(path_, BaseScript());
        gConn.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path_);
        checkfilever();
        CheckFactoryTables();
        CheckMemberTable();
        Seed();
    }
    void TearDown() override
    {
        if (gConn.IsOpen())
            gConn.Close();
    }

    // A few rows per table, typed values bound as the windows bind them.
    void Seed()
    {
        const auto run = [](const char* sql, const db::Params& p) { gConn.Execute(QString::fromUtf8(sql), p); };
        run("DELETE FROM RV12A", {});
        run("DELETE FROM RV12B", {});
        for (const auto& r : std::vector<db::Params>{
                 {"000001", "甲", "甲公司", "02-1234", "VIP", "A"},
                 {"000002", "乙", "乙有限公司", "03-5555", "一般", "B"},
                 {"A001", "O'Brien", "O'Brien Ltd.", "02-7777", "VIP", "B"},
                 {"000010", "丙", "", "", "", ""}})
            run("INSERT INTO RV12 (RV120, RV121, 客戶全銜, RV123, 類別, 級別) VALUES (?, ?, ?, ?, ?, ?)", r);
        run("INSERT INTO RV12A (RV12A0, RV12A1, RV12A6) VALUES (?, ?, ?)", {"000001", "王小明", "wang@x.tw"});
        run("INSERT INTO RV12A (RV12A0, RV12A1, RV12A6) VALUES (?, ?, ?)", {"000001", "李四", ""});
        run("INSERT INTO RV12A (RV12A0, RV12A1, RV12A6) VALUES (?, ?, ?)", {"A001", "O'Neil", "o@x.tw"});
        run("INSERT INTO RV12B (RV12B0, 送貨名稱) VALUES (?, ?)", {"000002", "乙倉庫"});
        run("INSERT INTO RV1 (RV10, RV11) VALUES (?, ?)", {"001", "印刷"});
        run("INSERT INTO RV1 (RV10, RV11) VALUES (?, ?)", {"002", "紙行"});
        run("INSERT INTO RV11 (RV110, RV111, RV112, RV113, 廠商狀況, 印刷) VALUES (?, ?, ?, ?, ?, ?)",
            {"001", "001-001", "大印", "大印刷廠", "現用廠商", -1});
        run("INSERT INTO RV11 (RV110, RV111, RV112, RV113, 廠商狀況, 印刷) VALUES (?, ?, ?, ?, ?, ?)",
            {"001", "001-002", "小印", "小印刷廠", "已無往來", 0});
        run("INSERT INTO RV11 (RV110, RV111, RV112, RV113, 廠商狀況, 紙行) VALUES (?, ?, ?, ?, ?, ?)",
            {"002", "002-001", "abc紙", "abc紙業", "現用廠商", -1});
        run("INSERT INTO 廠商聯絡人 (項次, 聯絡人, 廠商編號) VALUES (?, ?, ?)", {1, "陳經理", "001-001"});
        run("INSERT INTO RV17 (RV170, RV171) VALUES (?, ?)", {"01", "業務部"});
        run("INSERT INTO RV17 (RV170, RV171) VALUES (?, ?)", {"02", "印務部"});
        run("INSERT INTO RV17A (RV17A0, RV17A1, RV17A2, RV17A13) VALUES (?, ?, ?, ?)", {"01", "01-001", "張三", db::Value()});
        run("INSERT INTO RV17A (RV17A0, RV17A1, RV17A2, RV17A13) VALUES (?, ?, ?, ?)", {"01", "01-002", "趙六", ""});
        run("INSERT INTO RV17A (RV17A0, RV17A1, RV17A2, RV17A13) VALUES (?, ?, ?, ?)", {"02", "02-001", "錢七", "2020/01/01"});
        run("INSERT INTO RV18 (RV180, RV181) VALUES (?, ?)", {"01", "朋友"});
        run("INSERT INTO RV18A (RV18A1, RV18A2, RV18A17, 類別) VALUES (?, ?, ?, ?)", {"001", "王大同", "台北市", "朋友"});
        run("INSERT INTO RV18A (RV18A1, RV18A2, RV18A17, 類別) VALUES (?, ?, ?, ?)", {"002", "林一", "高雄市", ""});
        run("INSERT INTO 會員管理 (會員編號, 類別, 中文姓名, 月日, 累積點數) VALUES (?, ?, ?, ?, ?)",
            {"2026120001", "VIP", "王五", "0115", 12});
        run("INSERT INTO 會員管理 (會員編號, 類別, 中文姓名, 月日, 累積點數) VALUES (?, ?, ?, ?, ?)",
            {"2026120002", "vip", "陳六", "0220", 30});
    }

    testsupport::TempDir dir_;
    QString path_;
};

struct Case {
    const char* sql;
    long rows;  // rows returned (Open) or affected (Execute); < -1000: the error number negated
};

long Outcome(const char* sql, bool execute)
{
    try {
        if (execute)
            return gConn.Execute(QString::fromUtf8(sql));
        db::Recordset rs;
        rs.Open(QString::fromUtf8(sql), gConn, db::adOpenStatic, db::adLockOptimistic);
        return rs.RecordCount();
    } catch (const db::DbError& e) {
        return -e.Number();
    }
}

TEST_F(JetStatements, Queries)
{
    const Case cases[] = {
        {"Select RV12.建檔者 From RV12", 4},
        {"RV12", 4},
        {"Select Max(RV120) As MAXno  From RV12", 1},
        {" Select max(rv120) as MaxNo  From RV12 ", 1},
        {"Select Max((RV120)) As MAXno  From RV12", 1},
        {"select *from RV11 where RV112='大印'", 1},
        {"Select RV12.* From RV12 Where RV120= '000001' Order By RV120 Desc ", 1},
        {"select *from RV12 where RV120='a001'", 1},
        {"Select distinct 類別 From RV12 Order By 類別", 3},
        {"Select RV12.RV121 From RV12 where (rv121 is not null and rv121 <> '' ) Order By RV12.RV121", 4},
        {"Select RV17.* From RV17 Order By RV17.RV171", 2},
        {"Select RV11.rv111,rv11.rv112 From RV11  Where  (rv11.廠商狀況 = '現用廠商' OR rv11.廠商狀況 = '次常用廠商')  Order by rv112", 2},
        {"Select rv1.*,RV11.* From rv1,RV11 Where ((rv1.RV11 = '印刷' or rv11.印刷=-1))  And rv1.RV10=RV11.RV110 Order by rv112", 2},
        {"Select rv1.*,RV11.* From rv1,RV11 Where ( (rv1.RV11 = '用紙' or rv1.RV11 = '紙行' or rv1.RV11 = '紙張' or rv1.RV11 = '紙廠' or rv11.紙行=-1) )  And (rv11.廠商狀況 = '現用廠商' OR rv11.廠商狀況 = '次常用廠商')  And rv1.RV10=RV11.RV110 Order by rv112", 1},
        {"Select RV17.*,RV17A.* From RV17,RV17A Where (RV17A.rv17a13 is null or RV17A.rv17a13 = '' ) And (RV17.RV171 LIKE '業務%') And RV17.RV170=RV17A.RV17A0", 2},
        {"Select RV17.*,RV17A.* From RV17,RV17A Where (RV17.RV171 Like '業務%' ) And ( RV17A.RV17A13 is null or RV17A.RV17A13='') And RV17.RV170=RV17A.RV17A0 Order By RV17A.RV17A2", 2},
        {"SELECT *FROM RV12", 4},
        {"Select RV12.* From RV12 Order By RV12.RV120", 4},
        {"Select RV12A.* From RV12A Where rv12a0= '000001' Order By RV12a.RV12a0", 2},
        {"Select RV12.* From RV12  where RV120 Like '%00%' AND RV123 Like '%02%' Order By RV12.RV120", 2},
        {"Select RV12A.* From RV12A Where (RV12A.RV12A0 = '000001' )", 2},
        {"Select RV12B.* From RV12B Where (RV12B.RV12B0 = '000002' )", 1},
        {"select *from RV11 where  (廠商狀況 <> '已無往來') Order By rv111", 2},
        {"select *from RV11 where RV110='001' And (廠商狀況 <> '已無往來') Order By rv111", 1},
        {"select *from RV11 where RV111 LIKE '%00%'AND RV112 LIKE '%印%'", 2},
        {"Select RV1.* From RV1 Where RV10 = '001'", 1},
        {"Select rv11.* From rv11 Where (rv11.rv110 = '001' )  Order By rv11.rv111 Desc ", 2},
        {"Select 廠商聯絡人.* From 廠商聯絡人 Where (廠商編號 = '001-001' )", 1},
        {"Select RV1.* From RV1 Order By RV10", 2},
        {"Select RV11.* From RV11 Where (RV11.RV110 = '001' ) Order By RV11.RV111", 2},
        {"select *from RV17A where RV17A0='01'  And (RV17A13 is null Or RV17A13 ='' )  Order by RV17A1", 2},
        {"select *from RV17A where (RV17A13 is null Or RV17A13 ='' ) order by RV17A2", 2},
        {"Select rv17.* from RV17 Where  (rv170 = '業務部') Or (rv171='業務部')", 1},
        {"Select RV17.* From RV17 Where RV170 ='01'", 1},
        {"Select MAX(RV17A1) AS Max_no From RV17A Where (RV17A0 = '01' )  ", 1},
        {"Select RV17A.* From RV17A Where (RV17A.RV17A0 = '01' )", 2},
        {"Select distinct 類別 From RV18a Order By RV18a.類別", 2},
        {"Select * From RV18A  Where (RV18A.類別 = '朋友')  Order By RV18A1", 1},
        {"select *from RV18a Where RV18A2 LIKE '%王%' and  RV18A17 LIKE '%台北%'", 1},
        {"SELECT *FROM 會員管理", 2},
        {"Select 會員管理.* From 會員管理 Where 類別 like  'V%'  Order By 會員編號", 2},
        {"Select 會員管理.* From 會員管理 Where 累積點數 = 12  Order By 會員編號", 1},
        {"Select distinct 類別 From 會員管理 Order By 類別", 1},
        {"SELECT 會員管理.* FROM 會員管理 Where 中文姓名 like  '%王%' And 類別 like  '%V%' ", 1},
        {"Select 會員管理.* From 會員管理 Where ( 月日  >= '0101' ) And ( 月日  <= '0131' ) ", 1},
        {"Select Max((會員編號)) As MAXno  From 會員管理", 1},
        {"Select Max(RV18A1) As MAXno  From RV18A", 1},
        {"Select 會員管理.* From 會員管理  Where (累積點數 >= 10 ) AND (累積點數 <= 20) Order By 會員管理.會員編號", 1},
        {" Select rv17.* From rv17 Where (RV171 = '業務部' ) Order By RV171", 1},
        {" Select rv18.* From rv18 Where (rv18.RV181 = '朋友' ) Order By rv18.RV181", 1},
        {"Select rv1.* From rv1 Where (rv1.RV11 = '印刷' ) Order By rv1.RV11", 1},
        {"Select RV120 From RV12  Order By RV120", 4},
        {"Select * From RV17  Order By RV170", 2},
        {"Select RV12.* From RV12  Where (RV120 >= '000001' ) AND (RV120 <= '000009') Order By RV12.RV120", 2},
        {"Select RV12.RV120 From RV12", 4},
        {"Select RV12.* From RV12 Where 類別= 'VIP'  Order By RV12.RV121", 2},
        {"Select RV12.* From RV12 where rv120 >= '000001'  and rv120 <= '000002'", 2},
        {"Select RV12.* From RV12 where rv121='甲'", 1},
        {"Select RV11.* From RV11 where rv112='大印'  Order By RV11.RV112", 1},
        {"Select RV11.* From RV11  Order By RV11.RV111", 3},
        {" Select rv11.* From rv11 Where (rv11.RV110 = '001' ) Order By rv11.RV112", 2},
        {"Select RV121,級別,類別,rv12a1,rv12a6  From RV12,RV12A Where (RV12.RV120=RV12A.RV12A0) AND (類別='VIP') Order by  RV121", 3},
        {"Select DISTINCT RV121 From RV12  Order By RV121", 4},
        {"Select RV12.RV120,RV12.RV121,RV12A.RV12A0,RV12A.rv12a1,RV12A.RV12A2,RV12A.RV12A6 From RV12,RV12A Where RV12.RV120=RV12A.RV12A0 ", 3},
        {"Select RV18A.* From RV18A  Order By RV18A.RV18A1", 2},
        {"Select RV17A.* From RV17A  Order By RV17A.RV17A1", 3},
        {"Select RV1.* From RV1 Order By RV11", 2},
        {"Select RV12.* From RV12 Where RV120 Like '%A0%' AND RV123 Like '%02%'", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Outcome(c.sql, false), c.rows) << c.sql;
}

TEST_F(JetStatements, Commands)
{
    // In order: each row sees what the rows before it left.
    const Case cases[] = {
        {"INSERT INTO  RV12A (RV12A0,rv12a1,RV12A2,RV12A3)  VALUES ('00001','王一','經理','101')", 1},
        {"UPDATE  RV12A SET RV12A1 ='王二' , 稱謂 ='先生' , RV12A2 ='副理' , RV12A3 ='102' , RV12A4 ='' , RV12A5 ='' , RV12A6 ='a@b.tw' ,  備註 ='' ,  RV12A0 ='000001'  WHERE 序號=8", 1},
        {"INSERT INTO RV12A (RV12A1,稱謂, RV12A2,RV12A3,RV12A4,RV12A5,RV12A6,備註,RV12A0) VALUES (  '林三' ,  '' ,  '' ,  '' ,  '' ,  '' ,  '' ,  '' ,  '000001' ) ", 1},
        {"DELETE FROM RV12A where 序號= 6", 1},
        {"UPDATE  RV12B SET 送貨名稱 ='乙二倉' , RV12B2 ='' , RV12B3 ='' , RV12B4 ='' , RV12B5 ='' , RV12B6 ='' ,  RV12B0 ='000002'  WHERE 序號=5", 1},
        {"INSERT INTO RV12B (送貨名稱, RV12B2,RV12B3,RV12B4,RV12B5,RV12B6,RV12B0) VALUES (  '丙倉' ,  '' ,  '' ,  '' ,  '' ,  '' ,  '000010' ) ", 1},
        {"DELETE FROM RV12B where 序號= 5", 1},
        {"Delete  RV12a.* From RV12a Where rv12a0='000001'", 3},
        {"Delete  RV12b.* From RV12b Where rv12b0='000010'", 1},
        {"UPDATE  廠商聯絡人 SET 項次 ='2' , 聯絡人 ='陳副理' , 部門 ='' , 職銜 ='' , 分機 ='' , 電話 ='' , 行動電話 ='' , e_mail ='' ,  備註 ='' ,  廠商編號 ='001-001'  WHERE 總序=1", 1},
        {"INSERT INTO 廠商聯絡人 (項次,聯絡人,部門, 職銜,分機,電話,行動電話,e_mail,備註,廠商編號) VALUES ( 3 ,  '林小姐' ,  '' ,  '' ,  '' ,  '' ,  '' ,  '' ,  '' ,  '001-001' ) ", 1},
        {"DELETE FROM 廠商聯絡人 where 總序= 2", 1},
        {"Delete  廠商聯絡人.* From 廠商聯絡人 Where 廠商編號='001-001'", 1},
        {"Delete RV12B.*from[RV12B]", 0},
        {"Delete *.* from RV18A", 2},
        {"DELETE RV18.* FROM RV18 WHERE RV180 = '01';", 1},
        {"Delete RV12.*from[RV12]", 4},
        {"UPDATE RV17 SET RV171 = RV171 & '一' WHERE RV170 = '01'", 1},
        {"INSERT INTO RV12 (RV120) VALUES ('dup')", 1},
        {"INSERT INTO RV12 (RV120) VALUES ('DUP')", -3022},
        {"Select * From NoSuchTable", -3078},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Outcome(c.sql, true), c.rows) << c.sql;
}

}  // namespace
