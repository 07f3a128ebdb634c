#include "core/numbering/Validators.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "platform/text/VbText.h"

#include <QSet>
#include <QStringList>

namespace {

bool AllDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int Digit(QChar c) { return c.unicode() - u'0'; }

// Upper case for ASCII letters only, as the checks compare against A to Z.
QString AsciiUpper(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return r;
}

const QString kForbidden = QStringLiteral("!#$%^&*()=+{}[]|\\;:'/?>,< ");

const char* const kTopLevelDomains[] = {
    "COM", "ORG", "NET", "EDU", "GOV", "MIL", "INT", "AF", "AL", "DZ", "AS", "AD", "AO", "AI",
    "AQ",  "AG",  "AR",  "AM",  "AW",  "AC",  "AU",  "AT", "AZ", "BS", "BH", "BD", "BB", "BY",
    "BZ",  "BT",  "BJ",  "BE",  "BM",  "BO",  "BA",  "BW", "BV", "BR", "IO", "BN", "BG", "BF",
    "BI",  "KH",  "CM",  "CA",  "CV",  "KY",  "CF",  "TD", "CL", "CN", "CX", "CC", "CO", "KM",
    "CD",  "CG",  "CK",  "CR",  "CI",  "HR",  "CU",  "CY", "CZ", "DK", "DJ", "DM", "DO", "TP",
    "EC",  "EG",  "SV",  "GQ",  "ER",  "EE",  "ET",  "FK", "FO", "FJ", "FI", "FR", "GF", "PF",
    "TF",  "GA",  "GM",  "GE",  "DE",  "GH",  "GI",  "GR", "GL", "GD", "GP", "GU", "GT", "GG",
    "GN",  "GW",  "GY",  "HT",  "HM",  "VA",  "HN",  "HK", "HU", "IS", "IN", "ID", "IR", "IQ",
    "IE",  "IM",  "IL",  "IT",  "JM",  "JP",  "JE",  "JO", "KZ", "KE", "KI", "KP", "KR", "KW",
    "KG",  "LA",  "LV",  "LB",  "LS",  "LR",  "LY",  "LI", "LT", "LU", "MO", "MK", "MG", "MW",
    "MY",  "MV",  "ML",  "MT",  "MH",  "MQ",  "MR",  "MU", "YT", "MX", "FM", "MD", "MC", "MN",
    "MS",  "MA",  "MZ",  "MM",  "NA",  "NR",  "NP",  "NL", "AN", "NC", "NZ", "NI", "NE", "NG",
    "NU",  "NF",  "MP",  "NO",  "OM",  "PK",  "PW",  "PA", "PG", "PY", "PE", "PH", "PN", "PL",
    "PT",  "PR",  "QA",  "RE",  "RO",  "RU",  "RW",  "KN", "LC", "VC", "WS", "SM", "ST", "SA",
    "SN",  "SC",  "SL",  "SG",  "SK",  "SI",  "SB",  "SO", "ZA", "GS", "ES", "LK", "SH", "PM",
    "SD",  "SR",  "SJ",  "SZ",  "SE",  "CH",  "SY",  "TW", "TJ", "TZ", "TH", "TG", "TK", "TO",
    "TT",  "TN",  "TR",  "TM",  "TC",  "TV",  "UG",  "UA", "AE", "GB", "US", "UM", "UY", "UZ",
    "VU",  "VE",  "VN",  "VG",  "VI",  "WF",  "EH",  "YE", "YU", "ZR", "ZM", "ZW", "UK",
};

}  // namespace

bool IsValidEmail(const QString& address, QString& message)
{
    if (vb::Trim(address).isEmpty())
        return false;
    for (QChar c : address) {
        if (kForbidden.contains(c)) {
            message = QStringLiteral("含有不合法的字元，如 ") + kForbidden;
            return false;
        }
    }
    const int at = address.indexOf(u'@');
    if (at <= 0) {
        message = QStringLiteral("字串首字或尾字含有 @ 字元。");
        return false;
    }
    const QString domain = address.mid(at + 1);
    if (domain.contains(u'@')) {
        message = QStringLiteral("字串含有第二個 @ 字元。");
        return false;
    }
    if (domain.isEmpty()) {
        // An address ending in "@" is refused like one beginning with it.
        message = QStringLiteral("字串首字或尾字含有 @ 字元。");
        return false;
    }
    QString domainMessage;
    const bool ok = CheckEmailDomain(AsciiUpper(domain), domainMessage);
    if (!domainMessage.isEmpty())
        message = domainMessage;
    return ok;
}

bool CheckEmailDomain(const QString& domain, QString& message)
{
    if (!domain.contains(u'.')) {
        // "abc@localhost": no top-level domain at all.
        message = QStringLiteral("最高層級網域(如 com, tw...)有誤。");
        return false;
    }
    const QStringList parts = domain.split(u'.');
    if (parts.size() != 4)
        return CheckTopLevelDomain(parts.last(), message);
    for (const QString& part : parts) {
        if (!AllDigits(part)) {
            message = QStringLiteral("不是純數字。");
            return CheckTopLevelDomain(parts.last(), message);
        }
    }
    if (vb::Val(parts[0]) > 239) {
        message = QStringLiteral("第一數字字串應小於等於 239。");
        return false;
    }
    for (int i = 1; i < 4; ++i) {
        if (vb::Val(parts[i]) > 255) {
            message = QStringLiteral("第二至第四數字字串應小於等於 255。");
            return false;
        }
    }
    return true;
}

bool CheckTopLevelDomain(const QString& label, QString& message)
{
    // A save checks every address of a grid: the names are looked up, not walked.
    static const QSet<QString> known = [] {
        QSet<QString> names;
        for (const char* tld : kTopLevelDomains)
            names.insert(QString::fromLatin1(tld));
        return names;
    }();
    if (known.contains(label)) {
        message.clear();
        return true;
    }
    message = QStringLiteral("最高層級網域(如 com, tw...)有誤。");
    return false;
}

bool IsValidTaxNo(const QString& number, QString& message)
{
    if (number.size() != 8) {
        message = QStringLiteral("營利事業統一編號必須是八碼。");
        return false;
    }
    if (!AllDigits(number)) {
        message = QStringLiteral("輸入之編號中有非數字。");
        return false;
    }
    static const int weights[8] = {1, 2, 1, 2, 1, 2, 4, 1};
    int sum = 0;
    for (int i = 0; i < 8; ++i) {
        const int product = Digit(number[i]) * weights[i];
        sum += product / 10 + product % 10;  // the plain products are all below 10
    }
    const bool seventhIsSeven = number[6] == u'7';
    if (sum % 10 == 0 || (seventhIsSeven && (sum + 1) % 10 == 0))
        return true;
    message = QStringLiteral("輸入錯誤，請再檢查。");
    return false;
}

bool IsValidTWID(const QString& idText, QString& message)
{
    const QString id = AsciiUpper(idText);
    if (id.size() != 10) {
        message = LoadResString(921);
        return false;
    }
    if (id[0] < u'A' || id[0] > u'Z') {
        message = LoadResString(922);
        return false;
    }
    if (id[1] != u'1' && id[1] != u'2') {
        message = LoadResString(923);
        return false;
    }
    if (!AllDigits(id.mid(2))) {
        message = LoadResString(924);
        return false;
    }
    const int code = int(QStringLiteral("ABCDEFGHJKLMNPQRSTUVXYWZIO").indexOf(id[0])) + 1 + 9;
    const QString s = QString::number(code) + id.mid(1);  // eleven digits
    int sum = Digit(s[0]) + Digit(s[10]);
    for (int k = 1; k <= 9; ++k)
        sum += Digit(s[k]) * (10 - k);
    if (sum % 10 == 0) {
        message = LoadResString(925);
        return true;
    }
    message = LoadResString(926);
    return false;
}

bool IsValidHKID(const QString& idText, QString& message)
{
    const QString id = AsciiUpper(idText);
    if (id.size() != 8) {
        message = LoadResString(966);
        return false;
    }
    if (id[0] < u'A' || id[0] > u'Z') {
        message = LoadResString(967);
        return false;
    }
    if (!AllDigits(id.mid(1))) {
        message = LoadResString(968);
        return false;
    }
    int sum = (id[0].unicode() - 64) * 8;
    for (int i = 1; i < 8; ++i)
        sum += Digit(id[i]) * (8 - i);
    if (sum % 11 == 0) {
        message = QStringLiteral("資料正確！");
        return true;
    }
    message = LoadResString(969);
    return false;
}

bool IsValidPRCID(const QString& idText, QString& message)
{
    const QString id = AsciiUpper(idText);
    if (id.size() != 18) {
        message = LoadResString(970);
        return false;
    }
    if (!AllDigits(id.left(17))) {
        message = LoadResString(971);
        return false;
    }
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char checks[11] = {'1', '0', 'X', '9', '8', '7', '6', '5', '4', '3', '2'};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += Digit(id[i]) * weights[i];
    if (id[17] != QLatin1Char(checks[sum % 11])) {
        message = LoadResString(972);
        return false;
    }
    return true;
}

bool CheckIdNumber(int mode, const QString& id, QString& message)
{
    switch (mode) {
    case 0:
        return IsValidTWID(id, message);
    case 1:
        return IsValidHKID(id, message);
    case 2:
        return IsValidPRCID(id, message);
    default:
        return true;
    }
}

int IdCheckMode() { return int(vb::Val(ReadSetting(QStringLiteral("iDCardNO"), QStringLiteral("Tessarine"), 0))); }
