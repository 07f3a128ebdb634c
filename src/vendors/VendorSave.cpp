#include "vendors/VendorSave.h"

#include "core/Globals.h"
#include "core/numbering/Numbering.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "vendors/VendorFields.h"

namespace {

QString Cell(const QStringList& row, int column)
{
    return column < row.size() ? row.at(column) : QString();
}

}  // namespace

bool VendorNumberPrefixOk(const QString& categoryCode, const QString& number)
{
    return number.startsWith(vb::Trim(categoryCode) + QStringLiteral("-"));
}

int FirstTooWideVendorBox(const VendorBoxText& text)
{
    for (int i = 1; i <= 20; ++i) {
        if (i == 9)
            continue;
        const int max = VendorMaxLength(i);
        if (max >= 1 && vb::ByteLen(text(i)) > max)
            return i;
    }
    return -1;
}

QString VendorTooWideMessage(int maxLength)
{
    return LoadResString(316) + QString::number(maxLength) + LoadResString(317);
}

VendorSaveRefusal CheckSaveFACTOR(const VendorBoxText& text, qint32 ownSerial)
{
    VendorSaveRefusal r;
    if (CheckNoDuplicate(QStringLiteral("tessarine.mdb"), QStringLiteral("rv11"), QStringLiteral("RV111"),
                         vb::Trim(text(1)), ownSerial)) {
        r.refused = true;
        return r;
    }
    if (!VendorNumberPrefixOk(text(0), text(1))) {
        ui::MsgBox(LoadResString(405));
        r.refused = true;
        return r;
    }
    const int wide = FirstTooWideVendorBox(text);
    if (wide >= 0) {
        ui::MsgBox(VendorTooWideMessage(VendorMaxLength(wide)), ui::Buttons::OK, ui::Icon::Question,
                   QStringLiteral("取消存檔"));
        r.refused = true;
        r.focusBox = wide;
    }
    return r;
}

QVector<VendorQuery> VendorContactStatements(const QString& vendorNumber, const VendorContactRows& contacts)
{
    const QString number = vb::Trim(vendorNumber);
    QVector<VendorQuery> out;
    for (const QStringList& r : contacts.rows) {
        db::Params values = {qint64(vb::Val(Cell(r, 0)))};
        for (int c = 1; c <= 8; ++c)
            values << Cell(r, c);
        values << number;
        const double key = vb::Val(Cell(r, kContactKeyColumn));
        if (key > 0) {
            values << qint64(key);
            out.push_back({QStringLiteral("UPDATE  廠商聯絡人 SET 項次 =? , 聯絡人 =? , 部門 =? , 職銜 =? , 分機 =? , "
                                          "電話 =? , 行動電話 =? , e_mail =? ,  備註 =? ,  廠商編號 =?  WHERE 總序=?"),
                           values});
        } else if (!vb::Trim(Cell(r, 1)).isEmpty()) {
            out.push_back({QStringLiteral("INSERT INTO 廠商聯絡人 (項次,聯絡人,部門, 職銜,分機,電話,行動電話,e_mail,備註,廠商編號) "
                                          "VALUES ( ?, ?, ?, ?, ?, ?, ?, ?, ?, ? ) "),
                           values});
        }
    }
    for (qint64 k : contacts.deletedKeys)
        out.push_back({QStringLiteral("DELETE FROM 廠商聯絡人 where 總序= ?"), {k}});
    return out;
}

VendorQuery VendorContactsDeleteStatement(const QString& vendorNumber)
{
    return {QStringLiteral("Delete  廠商聯絡人.* From 廠商聯絡人 Where 廠商編號=?"), {vb::Trim(vendorNumber)}};
}

QString VendorReportText(bool editing, const VendorBoxText& text)
{
    static const struct {
        int box;
        const char* line;
    } kMissing[] = {
        {0, "◆廠商代號 未輸入"},
        {2, "◆廠商簡稱 未輸入"},
        {3, "◆廠商全銜 未輸入,這會影響郵寄名單,以及支票開立等功能"},
        {13, "◆電話 未輸入"},
        {14, "◆傳真 未輸入"},
        {11, "◆廠商的公司地址未輸入"},
        {12, "◆廠商的工廠地址未輸入"},
        {16, "◆廠商狀況未輸入: 相關系統有時候不顯示非現用廠商"},
        {20, "◆廠商結帳日位輸入"},
    };
    QString s;
    auto add = [&s](const QString& line) { s += gCrLf + gCrLf + line; };
    if (editing) {
        add(QStringLiteral("※ 中文姓名以及編號一定要輸入才能存檔"));
    } else {
        add(QStringLiteral("※ 要編輯資料,要先按修改按鈕"));
        add(QStringLiteral("※ 要新增資料,請直接按新增按鈕"));
    }
    for (const auto& m : kMissing)
        if (text(m.box).isEmpty())
            add(QString::fromUtf8(m.line));
    return s;
}
