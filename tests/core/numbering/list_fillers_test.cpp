#include "Fixture.h"

#include "core/Settings.h"
#include "core/numbering/ListFillers.h"

#include <QComboBox>
#include <QListWidget>
#include <QStringListModel>
#include <QTimer>

namespace {

QStringList Items(const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

QStringList Items(const QListWidget& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.item(i)->text();
    return items;
}

QStringList L(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* t : texts)
        list << QString::fromUtf8(t);
    return list;
}

}  // namespace

using ListFillers = DbFixture;

TEST_F(ListFillers, DistinctValuesAscendingWithoutNullOrEmpty)
{
    insertValues(QStringLiteral("RV12"), QStringLiteral("類別"), {"B", "A", "A", QVariant(), "", "C"});
    QComboBox box;
    box.addItem(QStringLiteral("old"));
    box.setCurrentIndex(-1);
    FillDistinctCombo(&box, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
    EXPECT_EQ(Items(box), L({"A", "B", "C"}));
    EXPECT_EQ(box.currentIndex(), -1);  // nothing chosen for the user
    EXPECT_EQ(box.currentText(), QString());

    QListWidget list;
    FillDistinctCombo(&list, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
    EXPECT_EQ(Items(list), L({"A", "B", "C"}));
    EXPECT_EQ(list.currentRow(), -1);
}

TEST_F(ListFillers, ComboBoxesShowAStringListModelAndKeepWhatTheyShowed)
{
    // 100,000 categories would be 100,000 item objects added one by one: the box gets the
    // values as one list, and the user's text and choice stay as they were.
    insertValues(QStringLiteral("RV12"), QStringLiteral("類別"), {"B", "A", "C"});
    QComboBox editable;
    editable.setEditable(true);
    editable.setEditText(QStringLiteral("typed"));
    FillDistinctCombo(&editable, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
    ASSERT_NE(qobject_cast<QStringListModel*>(editable.model()), nullptr);
    EXPECT_EQ(Items(editable), L({"A", "B", "C"}));
    EXPECT_EQ(editable.currentIndex(), -1);
    EXPECT_EQ(editable.currentText(), QStringLiteral("typed"));

    // One unit set: added after what the box holds, the chosen item kept.
    WriteSetting(QStringLiteral("Unit"), QStringLiteral("噸"), QStringLiteral("Unitdata"), 2, gDataPath);
    QComboBox fixed;
    FillDistinctCombo(&fixed, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
    fixed.setCurrentIndex(1);
    LoadUnitList(&fixed);
    EXPECT_EQ(Items(fixed), L({"A", "B", "C", "噸"}));
    EXPECT_EQ(fixed.currentIndex(), 1);
    fixed.addItem(QStringLiteral("D"));  // the box still takes items of its own
    EXPECT_EQ(Items(fixed), L({"A", "B", "C", "噸", "D"}));
}

TEST_F(ListFillers, CustomerShortNamesAndDepartments)
{
    QComboBox box;
    FillCustomerShortNames(&box);
    FillDeptCombo(&box);
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(ui::WaitCursorDepth(), 0);

    insertValues(QStringLiteral("RV12"), QStringLiteral("RV121"), {"大同", "O'Brien", QVariant(), "", "大華", "Acer"});
    insertValues(QStringLiteral("RV17"), QStringLiteral("RV171"), {"業務部", "", QVariant(), "工務部"});
    FillCustomerShortNames(&box);
    EXPECT_EQ(Items(box), QStringList({QStringLiteral("Acer"), QStringLiteral("O'Brien"), QStringLiteral("大同"),
                                       QStringLiteral("大華")}));
    FillDeptCombo(&box);
    EXPECT_EQ(Items(box), L({"工務部", "業務部"}));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
}

TEST_F(ListFillers, ErrorsRestoreThePointer)
{
    gConn.Execute(QStringLiteral("DROP TABLE RV12"));
    gConn.Execute(QStringLiteral("DROP TABLE RV17"));
    QComboBox box;
    testsupport::ScriptedResponder user;
    user.answer(ui::Answer::Abort).answer(ui::Answer::Ignore).answer(ui::Answer::Abort);

    FillCustomerShortNames(&box);  // Abort
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
    FillCustomerShortNames(&box);  // Ignore: the later steps run without a recordset
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
    EXPECT_THROW(FillDeptCombo(&box), db::DbError);
    EXPECT_EQ(ui::WaitCursorDepth(), 0);
    FillEmployeesByDept(&box, QString());  // Abort
    EXPECT_EQ(ui::WaitCursorDepth(), 0);

    ASSERT_EQ(user.messages.size(), 3u);
    EXPECT_EQ(user.messages[0].buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_TRUE(user.messages[2].text.startsWith(QStringLiteral("狀況在 載入員工清單") + gCrLf));
    EXPECT_EQ(user.messages[2].title, ui::DefaultTitle());
    EXPECT_EQ(user.beeps, 1);
    EXPECT_EQ(box.count(), 0);
}

TEST_F(ListFillers, InvoiceAccounts)
{
    QComboBox box;
    box.addItem(QStringLiteral("old"));
    FillInvoiceAccountCombo(&box);  // the secondary connection is closed
    EXPECT_EQ(box.count(), 0);

    insertValues(QStringLiteral("發票帳戶"), QStringLiteral("公司簡稱"), {"乙公司", QVariant(), "", "甲公司"});
    openAlt();
    FillInvoiceAccountCombo(&box);
    EXPECT_EQ(Items(box), L({"乙公司", "甲公司"}));  // text order of the database
}

TEST_F(ListFillers, Units)
{
    QComboBox box;
    FillDistinctCombo(&box, QStringLiteral("類別"), QStringLiteral("RV12"), gConn);
    box.addItem(QStringLiteral("old"));
    LoadUnitList(&box, QStringLiteral("/nowhere/"));
    EXPECT_EQ(Items(box), L({"個", "本", "張", "份", "套", "組", "pcs", "令", "車"}));

    WriteSetting(QStringLiteral("Unit"), QStringLiteral(" 打 ") + gCrLf + gCrLf + QStringLiteral("箱 子") + gCrLf +
                                             QStringLiteral("捆"),
                 QStringLiteral("Unitdata"), 2, gDataPath);
    LoadUnitList(&box);
    EXPECT_EQ(Items(box), L({"打 ", "箱 子", "捆"}));  // the whole text is trimmed, not each line

    // One unit is added to what the box holds; the typed text and the current item stay.
    WriteSetting(QStringLiteral("Unit"), QStringLiteral("箱"), QStringLiteral("Unitdata"), 2, gDataPath);
    QComboBox editable;
    editable.setEditable(true);
    editable.setEditText(QStringLiteral("打"));
    LoadUnitList(&editable);
    EXPECT_EQ(Items(editable), L({"箱"}));
    EXPECT_EQ(editable.currentIndex(), -1);
    EXPECT_EQ(editable.currentText(), QStringLiteral("打"));
}

TEST_F(ListFillers, EmployeesByDepartment)
{
    insert(QStringLiteral("RV17"), {QStringLiteral("RV170"), QStringLiteral("RV171")},
           {{"1", "印務部"}, {"2", "工務一課"}, {"3", "業務部"}, {"4", "研發部"}, {"5", "O'Dept"}});
    insert(QStringLiteral("RV17A"), {QStringLiteral("RV17A0"), QStringLiteral("RV17A2"), QStringLiteral("rv17a13")},
           {{"1", "印一", QVariant()}, {"2", "工一", ""}, {"2", "工離", "2020/01/01"}, {"3", "業一", QVariant()},
            {"4", "研一", QVariant()}, {"4", "", QVariant()}, {"5", "歐一", QVariant()}});
    struct Case {
        const char* word;
        QStringList names;
    } cases[] = {
        {"", L({"印一", "工一", "業一", "研一", "歐一"})},
        {"工務部", L({"印一", "工一"})},
        {"印務", L({"印一", "工一"})},
        {"業務部", L({"業一"})},
        {" 研發 ", L({"研一"})},
        {"O'", L({"歐一"})},
        {"無此部門", {}},
    };
    for (const auto& c : cases) {
        QComboBox box;
        FillEmployeesByDept(&box, QString::fromUtf8(c.word));
        QStringList names = Items(box);
        names.sort();
        QStringList expected = c.names;
        expected.sort();
        EXPECT_EQ(names, expected) << c.word;
        EXPECT_EQ(ui::WaitCursorDepth(), 0);
    }
}

TEST_F(ListFillers, VendorsByCategory)
{
    insert(QStringLiteral("RV1"), {QStringLiteral("RV10"), QStringLiteral("RV11")},
           {{"01", "設計"}, {"02", "印刷"}, {"03", "其他"}});
    insert(QStringLiteral("RV11"),
           {QStringLiteral("RV110"), QStringLiteral("RV111"), QStringLiteral("RV112"), QStringLiteral("廠商狀況"),
            QStringLiteral("印刷")},
           {{"01", "V1", "丙設計", "現用廠商", 0},
            {"02", "V2", "乙印刷", "次常用廠商", 0},
            {"03", "V3", "甲舊廠", "無往來廠商", -1},
            {"03", "V4", "丁其他", "現用廠商", 0}});
    struct Case {
        const char* word;
        const char* onlyActive;
        QStringList names;
    } cases[] = {
        {"all", "0", L({"丁其他", "丙設計", "乙印刷", "甲舊廠"})},
        {"all", "1", L({"丁其他", "丙設計", "乙印刷"})},
        {"", "1", L({"丁其他", "丙設計", "乙印刷"})},
        {"印前", "0", L({"丙設計"})},
        {"印刷", "0", L({"乙印刷", "甲舊廠"})},   // by category name or by the trade flag
        {"印刷", "1", L({"乙印刷"})},
        {"糊盒", "1", L({"丁其他", "丙設計", "乙印刷"})},  // no such vendor: every vendor
        {"裝訂", "0", L({"丁其他", "丙設計", "乙印刷", "甲舊廠"})},
        {"不存在", "0", {}},                     // names no trade flag: nothing
        {"x' or 1=1 --", "0", {}},
    };
    for (const auto& c : cases) {
        WriteSetting(QStringLiteral("不顯示無往來廠商"), QString::fromUtf8(c.onlyActive), QStringLiteral("Pressmont"), 0);
        QComboBox box;
        FillVendorsByCategory(&box, QString::fromUtf8(c.word));
        EXPECT_EQ(Items(box), c.names) << c.word << " " << c.onlyActive;
        EXPECT_EQ(ui::WaitCursorDepth(), 0);
    }
}

TEST_F(ListFillers, BoxClosedWhileYielding)
{
    insertValues(QStringLiteral("RV12"), QStringLiteral("RV121"), {"甲", "乙", "丙"});
    insertValues(QStringLiteral("RV17"), QStringLiteral("RV171"), {"甲", "乙", "丙"});
    insertValues(QStringLiteral("發票帳戶"), QStringLiteral("公司簡稱"), {"甲", "乙", "丙"});
    insert(QStringLiteral("RV11"), {QStringLiteral("RV111"), QStringLiteral("RV112")}, {{"1", "甲"}, {"2", "乙"}});
    insert(QStringLiteral("RV17"), {QStringLiteral("RV170"), QStringLiteral("RV171")}, {{"9", "業務部"}});
    insert(QStringLiteral("RV17A"), {QStringLiteral("RV17A0"), QStringLiteral("RV17A2")}, {{"9", "甲"}, {"9", "乙"}});
    openAlt();

    const std::vector<std::function<void(QComboBox*)>> fillers = {
        [](QComboBox* b) { FillCustomerShortNames(b); },
        [](QComboBox* b) { FillDeptCombo(b); },
        [](QComboBox* b) { FillInvoiceAccountCombo(b); },
        [](QComboBox* b) { FillVendorsByCategory(b, QStringLiteral("all")); },
        [](QComboBox* b) { FillEmployeesByDept(b, QStringLiteral("業務部")); },
    };
    for (std::size_t i = 0; i < fillers.size(); ++i) {
        auto* box = new QComboBox;
        QPointer<QComboBox> watch(box);
        QTimer::singleShot(0, [box] { delete box; });  // the window closes at the first yield
        fillers[i](box);
        EXPECT_TRUE(watch.isNull()) << i;
        EXPECT_EQ(ui::WaitCursorDepth(), 0) << i;
    }
}
