#include "customers/CustomerSave.h"

#include "customers/CustomFrom.h"
#include "customers/CustomerDetailGrids.h"

QString MissingFieldsMessage(const BoxTextFn& text)
{
    static const std::vector<RequiredField> required = {
        {0, QStringLiteral("客戶代號必須輸入")}, {1, QStringLiteral("客戶簡稱必須輸入")},
        {2, QStringLiteral("客戶全銜必須輸入")}, {3, QStringLiteral("客戶電話必須輸入")},
        {10, QStringLiteral("負責的業務必須輸入")},
    };
    return MissingFieldsMessage(required, text);
}

const std::vector<int>& WidthCheckedBoxes()
{
    static const std::vector<int> boxes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    return boxes;
}

int FirstTooWideBox(const BoxTextFn& text) { return FirstTooWideBox(CustomerFields(), WidthCheckedBoxes(), text); }

SaveOutcome SaveCustomerRows(db::Connection& conn, const QString& code, const DetailRowSet& contacts,
                             const DetailRowSet& deliveries, const std::function<void()>& beforeDetails,
                             const std::function<void()>& writeCustomer, InsertedDetailKeys* inserted)
{
    const DetailGridDef& man = CustomerGridDef(DetailKind::Contacts);
    const DetailGridDef& delive = CustomerGridDef(DetailKind::Deliveries);
    QVector<db::Statement> statements = DetailStatements(man, code, contacts);
    statements += DetailStatements(delive, code, deliveries);
    return SaveInTransaction(conn, SaveFailedText(), beforeDetails, statements, [&] {
        if (inserted) {
            inserted->contacts = InsertedKeys(conn, man, code, InsertedRowCount(man, contacts));
            inserted->deliveries = InsertedKeys(conn, delive, code, InsertedRowCount(delive, deliveries));
        }
        if (writeCustomer)
            writeCustomer();
    });
}

DeleteOutcome DeleteCustomerRows(db::Connection& conn, const QString& code,
                                 const std::function<void()>& deleteCustomer)
{
    return DeleteInTransaction(conn, QStringLiteral("刪除失敗，資料並未刪除。"), deleteCustomer,
                               {{QStringLiteral("Delete  RV12a.* From RV12a Where rv12a0=?"), {code}},
                                {QStringLiteral("Delete  RV12b.* From RV12b Where rv12b0=?"), {code}}});
}
