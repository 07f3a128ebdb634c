#include "core/numbering/Validators.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Check = std::function<bool(const QString&, QString&)>;

struct Case {
    const char* text;
    bool valid;
    const char* message;  // the message after the call (it starts as "before")
};

void RunTable(const char* name, const Check& check, std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        QString message = QStringLiteral("before");
        const bool ok = check(QString::fromUtf8(c.text), message);
        EXPECT_EQ(ok, c.valid) << name << " " << c.text;
        EXPECT_EQ(message, QString::fromUtf8(c.message)) << name << " " << c.text;
    }
}

const char* const kForbiddenMessage = "含有不合法的字元，如 !#$%^&*()=+{}[]|\\;:'/?>,< ";
const char* const kBadTld = "最高層級網域(如 com, tw...)有誤。";

}  // namespace

TEST(IsValidEmail, Table)
{
    RunTable("email", IsValidEmail,
             {
                 {"", false, "before"},
                 {"   ", false, "before"},
                 {"john@example.com", true, "before"},
                 {"Mary.Lin@Mail.Example.COM.TW", true, "before"},
                 {"a@b.tw", true, "before"},
                 {"john smith@example.com", false, kForbiddenMessage},
                 {" john@example.com", false, kForbiddenMessage},
                 {"o'brien@example.com", false, kForbiddenMessage},
                 {"a,b@example.com", false, kForbiddenMessage},
                 {"example.com", false, "字串首字或尾字含有 @ 字元。"},
                 {"@example.com", false, "字串首字或尾字含有 @ 字元。"},
                 {"john@", false, "字串首字或尾字含有 @ 字元。"},
                 {"a@b@example.com", false, "字串含有第二個 @ 字元。"},
                 {"abc@localhost", false, kBadTld},
                 {"john@example.info", false, kBadTld},
                 {"john@example.biz", false, kBadTld},
                 {"john@example.", false, kBadTld},
                 {"john@239.1.2.3", true, "before"},
                 {"john@240.1.2.3", false, "第一數字字串應小於等於 239。"},
                 {"john@10.256.0.1", false, "第二至第四數字字串應小於等於 255。"},
                 {"john@10.0.0.256", false, "第二至第四數字字串應小於等於 255。"},
                 {"john@10.0.0.255", true, "before"},
                 // Four parts, not all numbers: the last part decides as a top-level domain.
                 {"john@mail.a.b.tw", true, "before"},
                 {"john@mail.a.b.xyz", false, kBadTld},
             });
}

TEST(IsValidTaxNo, Table)
{
    RunTable("tax", IsValidTaxNo,
             {
                 {"22099131", true, "before"},
                 {"04595257", true, "before"},
                 {"10458574", true, "before"},  // passes only because its seventh digit is 7
                 {"10458584", false, "輸入錯誤，請再檢查。"},
                 {"12345678", false, "輸入錯誤，請再檢查。"},
                 {"1234567", false, "營利事業統一編號必須是八碼。"},
                 {"123456789", false, "營利事業統一編號必須是八碼。"},
                 {"", false, "營利事業統一編號必須是八碼。"},
                 {"2209913A", false, "輸入之編號中有非數字。"},
                 {"-2209913", false, "輸入之編號中有非數字。"},
                 {"2209.131", false, "輸入之編號中有非數字。"},
                 {"2209 131", false, "輸入之編號中有非數字。"},
                 {"１２３４５６７８", false, "輸入之編號中有非數字。"},
             });
}

TEST(IsValidTWID, Table)
{
    RunTable("tw", IsValidTWID,
             {
                 {"A123456789", true, "輸入正確"},
                 {"a123456789", true, "輸入正確"},
                 {"A123456788", false, "輸入錯誤，請再檢查。"},
                 {"A12345678", false, "國民身份證號碼必須是十碼。"},
                 {"A1234567890", false, "國民身份證號碼必須是十碼。"},
                 {"1123456789", false, "國民身份證號碼第一碼必須是英文字母。"},
                 {"A323456789", false, "第二碼只能是數字 1(男) 或 2(女)。"},
                 {"A1234.6789", false, "第三碼至第十碼不是全部為數字。"},
                 {"A12345678X", false, "第三碼至第十碼不是全部為數字。"},
             });
}

TEST(IsValidHKID, Table)
{
    RunTable("hk", IsValidHKID,
             {
                 {"A1234563", true, "資料正確！"},
                 {"a1234563", true, "資料正確！"},
                 {"A1234564", false, "輸入錯誤，請再檢查。"},
                 {"A123456A", false, "第二碼至第八碼不是全部為數字。"},
                 {"A123456", false, "香港身份證號碼必須是八碼。"},
                 {"A12345678", false, "香港身份證號碼必須是八碼。"},
                 {"11234563", false, "香港身份證號碼首碼不是英文字母。"},
             });
}

TEST(IsValidPRCID, Table)
{
    RunTable("prc", IsValidPRCID,
             {
                 {"11010519491231002X", true, "before"},
                 {"11010519491231002x", true, "before"},
                 {"110105194912310021", false, "驗證錯誤。"},
                 {"11010519491231002", false, "大陸身份證號碼總數是18碼。"},
                 {"1101051949123100.X", false, "大陸身份證號碼1-17碼是數字。"},
                 {"X1010519491231002X", false, "大陸身份證號碼1-17碼是數字。"},
             });
}
