#include "vendors/VendorFields.h"

namespace {

const QString kDayTip = QStringLiteral("跟廠商協議的結帳日期，通常是25 號或31號");
const QString kAccountTip =
    QStringLiteral("如果您不開支票而是用匯款來支付貨款的話.這裡輸入廠商的銀行帳號");

}  // namespace

const std::vector<RecordField>& VendorFields()
{
    static const std::vector<RecordField> fields = {
        {0, "RV110", 18, 378, "類別編號*", 10, true, ""},
        {1, "RV111", 0, 360, "廠商編號*", 10, true, "廠商編號是以類別編號開頭"},
        {2, "RV112", 5, 365, "廠商簡稱*", 10, true, "廠商的簡稱"},
        {3, "RV113", 1, 361, "廠商全銜*", 50, true,
         "輸入廠商的全銜,或者是支票抬頭,按下 F3: 股份有限公司 / F4: 有限公司 /F5 科技股份有限公司\""},
        {4, "RV114", 2, 362, "聯 絡 人", 20, true, "廠商的聯絡人"},
        {5, "RV115", 6, 366, "負 責 人", 10, true, "廠商負責人姓名"},
        {6, "RV116", 11, 371, "行動電話", 50, true, "聯絡人的行動電話"},
        {7, "RV117", 12, 372, "統一編號", 10, true, "可以在選項中關閉檢查統一編號"},
        {8, "RV118", 13, 373, "付款方式", 10, true, "例如 現金交易或是月結30天"},
        {9, "", 19, 379, "類別名稱", 10, false, ""},
        {10, "RV1110", 15, 375, "匯款帳號", 15, true, kAccountTip},
        {11, "RV1111", 3, 363, "公司地址*", 50, true, "按下F3: 縣市區街路段巷弄號樓之\""},
        {12, "RV1112", 4, 364, "工廠地址", 50, true, "按下 F5 : 複製公司地址 / F3: 縣市區街路段巷弄號樓之\""},
        {13, "RV1113", 7, 367, "電    話", 30, true, "輸入廠商的聯絡電話"},
        {14, "RV1114", 35, 0, "傳真", 30, true, "廠商的傳真機號碼"},
        {15, "RV1115", 9, 369, "應付帳款", 8, true, ""},
        {16, "廠商狀況", 20, 380, "狀態:", 8, true, ""},
        {17, "RV1116", 16, 376, "網    址", 50, true, "廠商的首頁,按下F3 : .com.tw"},
        {18, "RV1117", 17, 377, "e-mail", 50, true, "廠商聯絡的e-mail帳號,按下 F3 : .com.tw"},
        {19, "RV1118", 10, 370, "備註說明", 300, true, "記載備註說明", RecordField::kMultiLine},
        {20, "結帳日", 21, 0, "結帳日", 15, true, kDayTip},
        {21, "付款票期", 22, 0, "付款票期", 15, true, kDayTip},
        {22, "到期日", 8, 368, "到期日", 15, true, kDayTip},
        {23, "RV119", 14, 374, "稅    別", 15, true, kAccountTip},
        {24, "最後交易日", 23, 0, "最後交易日", 15, true, kDayTip},
    };
    return fields;
}

VendorPage VendorPageOf(int box)
{
    return box == 0 || box == 1 || box == 2 || box == 9 || box == 16 ? VendorPage::Top : VendorPage::Basic;
}

int VendorMaxLength(int box)
{
    const RecordField* f = FieldOfBox(VendorFields(), box);
    return f ? f->maxLength : 0;
}

const std::array<VendorFlag, kVendorFlags>& VendorFlags()
{
    static const std::array<VendorFlag, kVendorFlags> flags = {{
        {"印前", "印前(設計、攝影、分色)"},
        {"製版", "製版"},
        {"紙行", "紙行"},
        {"印刷", "印刷"},
        {"上光", "上光"},
        {"刀模", "刀模"},
        {"裱紙", "裱紙(瓦愣、對裱)"},
        {"軋型", "軋型"},
        {"貼糊", "貼糊"},
        {"裝裁", "裝裁(裝訂、裁切、摺紙)"},
        {"其他", "其他"},
        {"貨運", "貨運"},
    }};
    return flags;
}

const DetailGridDef& VendorContactsDef()
{
    static const DetailGridDef def = [] {
        DetailGridDef s;
        s.gridName = QStringLiteral("ManGrid");
        s.editorName = QStringLiteral("ManGridTxt");
        s.table = QStringLiteral("廠商聯絡人");
        s.linkColumn = QStringLiteral("廠商編號");
        s.keyField = QStringLiteral("總序");
        s.columns = {
            {"項次", 500, 0, "項次"},         {"聯絡人", 1300, 16, "聯絡人"}, {"部門", 1100, 10, "部門"},
            {"職銜", 1100, 10, "職銜"},       {"分機", 1000, 10, "分機"},     {"電話", 1000, 10, "電話"},
            {"行動電話", 1200, 12, "行動電話"}, {"e-mail", 4000, 50, "e_mail"}, {"備註", 4000, 0, "備註"},
        };
        s.emailColumn = 7;
        // A blank second row stays counted; the limits hold once stored rows were read.
        s.rules = DetailGridDef::kKeepBlankSecondRow | DetailGridDef::kLimitsOnlyWithRows;
        return s;
    }();
    return def;
}

const std::vector<VendorListColumn>& VendorListColumns()
{
    // The short-name column takes the string table's short-name caption.
    static const std::vector<VendorListColumn> columns = {
        {"RV111", 0, "廠商編號", 1200},
        {"RV112", 400, "廠商簡稱", 1380},
    };
    return columns;
}

const std::vector<FindBox>& VendorFindBoxes()
{
    static const std::vector<FindBox> boxes = {
        {"RV111", "廠商編號", 14, false, false}, {"RV112", "廠商簡稱", 14, false, false},
        {"RV113", "廠商全銜", 14, false, false}, {"RV114", "聯絡人", 14, false, false},
        {"RV115", "負責人", 14, false, false},   {"RV1111", "公司地址", 14, false, false},
        {"RV1112", "工廠地址", 14, false, false}, {"RV1113", "電話", 14, false, false},
        {"RV1114", "傳真", 14, false, false},     {"RV1115", "應付帳款", 14, false, true},
        {"RV1118", "備註說明", 14, false, false},
    };
    return boxes;
}
