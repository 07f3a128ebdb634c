// The audit strip: who created and who last changed the record, and when, read from the window's
// own columns, started by an add or a change, and written back into the row by the save.
#include "platform/text/VbText.h"
#include "records/RecordExtras.h"
#include "support/CustomerDb.h"
#include "support/Utf8.h"

#include <QLabel>
#include <array>
#include <gtest/gtest.h>

namespace {

QStringList Values(const AuditStrip& a)
{
    QStringList out;
    for (const QLabel* l : a.Values)
        out << l->text();
    return out;
}

class AuditStripTest : public testsupport::CustomerDb {
protected:
    void SetUp() override
    {
        CustomerDb::SetUp();
        gConn.Execute(K("Insert Into RV12 (RV120, 建檔者, 建檔日, 修改者, 修改日期) "
                        "Values ('000001', '甲', 20240102, '乙', 20250304)"));
        gConn.Execute(K("Insert Into RV12 (RV120, 建檔者, 建檔日) Values ('000002', '丙', 20260101)"));
        rs.Open(K("Select * From RV12 Order By RV120"), gConn, db::adOpenKeyset, db::adLockOptimistic);
    }
    void TearDown() override
    {
        rs.Close();
        CustomerDb::TearDown();
    }

    QWidget window;
    AuditStrip strip{&window, {K("建檔者"), K("建檔日"), K("修改者"), K("修改日期")}};
    db::Recordset rs;
};

}  // namespace

TEST_F(AuditStripTest, ShowsEachColumnUnderItsCaptionAndNothingWithoutARow)
{
    const QStringList captions{K("建檔者:"), K("建檔日期:"), K("修改者:"), K("修改日期:")};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(strip.Captions[size_t(i)]->text(), captions[i]);
    strip.Show(rs);
    EXPECT_EQ(Values(strip), (QStringList{K("甲"), "20240102", K("乙"), "20250304"}));
    rs.MoveNext();
    strip.Show(rs);
    EXPECT_EQ(Values(strip), (QStringList{K("丙"), "20260101", "", ""}));  // Null shows as ""
    rs.MoveNext();
    strip.Show(rs);
    EXPECT_EQ(Values(strip), (QStringList{"", "", "", ""}));
}

TEST_F(AuditStripTest, AnAddAndAChangeAreWrittenIntoTheRow)
{
    // A change keeps who created the record and when.
    strip.Show(rs);
    strip.StartChange(K("丁"), "20261210");
    EXPECT_EQ(Values(strip), (QStringList{K("甲"), "20240102", K("丁"), "20261210"}));
    strip.Write(rs);
    rs.Update();
    // An add has no change yet: the change date is left as the row has it.
    rs.AddNew();
    rs.setValue(K("RV120"), K("000003"));
    strip.StartAdd(K("戊"), "20261211");
    EXPECT_EQ(Values(strip), (QStringList{K("戊"), "20261211", "", ""}));
    strip.Write(rs);
    rs.Update();
    EXPECT_EQ(rows(K("Select RV120, 建檔者, 建檔日, 修改者, 修改日期 From RV12 Order By RV120")),
              (QStringList{K("000001|甲|20240102|丁|20261210"), K("000002|丙|20260101||"),
                           K("000003|戊|20261211||")}));
}

TEST_F(AuditStripTest, SideBySideUnlessTheWindowPlacesIt)
{
    const auto px = [](int twips) { return vb::TwipsToPixels(twips); };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(strip.Captions[size_t(i)]->geometry(), QRect(px(60 + i * 2700), px(15), px(1000), px(300)));
        EXPECT_EQ(strip.Values[size_t(i)]->geometry(), QRect(px(1090 + i * 2700), px(15), px(1500), px(300)));
    }
    const std::array<AuditPlace, 4> places = {
        {{100, 1200, 1400}, {2700, 3900, 1300}, {5300, 6300, 1200}, {7900, 9100, 1100}}};
    strip.Place(places, 240, 280);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const AuditPlace& p = places[size_t(i)];
        EXPECT_EQ(strip.Captions[size_t(i)]->geometry(),
                  QRect(px(p.captionLeft), px(240), px(p.valueLeft - p.captionLeft), px(280)));
        EXPECT_EQ(strip.Values[size_t(i)]->geometry(), QRect(px(p.valueLeft), px(240), px(p.valueWidth), px(280)));
    }
}
