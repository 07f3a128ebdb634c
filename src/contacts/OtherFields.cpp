#include "contacts/OtherFields.h"

const std::vector<RecordField>& OtherFields()
{
    static const std::vector<RecordField> fields = {
        {0, "類別", 14, 554, "類別", 14, true, ""},
        {1, "RV18A1", 15, 555, "* 編號", 10, true, ""},
        {2, "RV18A2", 16, 556, "* 中文姓名", 8, true, ""},
        {3, "RV18A3", 17, 557, "英文姓名", 25, true, ""},
        {4, "RV18A4", 4, 544, "出生日期", 10, true, ""},
        {5, "性別", 0, 540, "性    別", 10, true, ""},
        {6, "RV18A8", 7, 547, "關    係", 10, true, ""},
        {7, "RV18A7", 6, 546, "身份證號", 20, true, ""},
        {8, "RV18A9", 8, 548, "聯絡電話", 30, true, ""},
        {9, "RV18A11", 10, 550, "行動電話", 30, true, ""},
        {10, "RV18A12", 11, 551, "公司電話", 30, true, ""},
        {11, "RV18A13", 12, 552, "傳真", 30, true, ""},
        {12, "RV18A10", 9, 549, "Skype/Msn", 30, true, ""},
        {13, "RV18A6", 5, 545, "E-mail", 50, true, ""},
        {14, "RV18Ahttp", 1, 541, "個人首頁", 50, true, ""},
        {15, "RV18A14", 13, 553, "圖片名稱", 0, true, ""},
        {16, "RV18A15", 2, 542, "戶籍地址", 50, true, ""},
        {17, "RV18A16", 3, 543, "現在地址", 50, true, ""},
        {18, "RV18A17", 18, 558, "備註說明", 255, true, "", RecordField::kMultiLine},
    };
    return fields;
}

const std::vector<int>& OtherWidthBoxes()
{
    static const std::vector<int> boxes = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    return boxes;
}

int OtherPageOf(int box) { return box < 16 ? 1 : 2; }

QStringList SexPickItems() { return {QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("其他")}; }
