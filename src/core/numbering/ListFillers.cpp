#include "core/numbering/ListFillers.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Settings.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QElapsedTimer>
#include <QStringList>
#include <QStringListModel>

#include <functional>
#include <optional>
#include <utility>

ListTarget::ListTarget(QComboBox* combo) : combo_(combo) {}
ListTarget::ListTarget(QListWidget* list) : list_(list) {}

bool ListTarget::alive() const { return !combo_.isNull() || !list_.isNull(); }

void ListTarget::clear()
{
    pending_.clear();
    if (combo_) {
        const QSignalBlocker block(combo_.data());
        combo_->clear();
    } else if (list_) {
        const QSignalBlocker block(list_.data());
        list_->clear();
    }
}

void ListTarget::add(const QString& text) { pending_ << text; }

void ListTarget::show()
{
    const QStringList items = std::exchange(pending_, {});
    if (items.isEmpty())
        return;
    if (combo_) {
        // A new model makes the box select its first item: put back what was shown before.
        const QSignalBlocker block(combo_.data());
        const int index = combo_->currentIndex();
        const bool editable = combo_->isEditable();
        const QString editText = editable ? combo_->currentText() : QString();
        auto* model = qobject_cast<QStringListModel*>(combo_->model());
        QStringList all;
        if (model) {
            all = model->stringList();
        } else {
            for (int i = 0; i < combo_->count(); ++i)
                all << combo_->itemText(i);
        }
        all += items;
        if (model)
            model->setStringList(all);
        else
            combo_->setModel(new QStringListModel(all, combo_.data()));
        if (combo_->currentIndex() != index)
            combo_->setCurrentIndex(index);
        if (editable && combo_->currentText() != editText)
            combo_->setEditText(editText);
    } else if (list_) {
        const QSignalBlocker block(list_.data());
        list_->addItems(items);
    }
}

namespace {

QString ItemText(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }


// Adds the named field of every row from the current one on, skipping Null and "", and puts
// them into the box.  With `yield` the window system gets its turn while the rows are read
// (every few milliseconds, not after each of 100,000 rows).  Stops when the box is gone.
void AddRows(ListTarget& box, db::Recordset& rs, const QString& field, bool yield)
{
    struct ShowOnExit {
        ListTarget& box;
        ~ShowOnExit() { box.show(); }  // what was read stays in the box when a row fails
    } showOnExit{box};
    const int index = rs.IsOpen() ? rs.FieldIndex(field) : -1;
    QElapsedTimer sinceYield;
    sinceYield.start();
    while (box.alive() && rs.IsOpen() && !rs.Eof()) {
        const QString text = ItemText(index >= 0 ? rs.value(index) : rs.value(field));
        if (!text.isEmpty())
            box.add(text);
        if (yield && sinceYield.hasExpired(10)) {
            ui::DoEvents();
            sinceYield.restart();
        }
        if (!box.alive())
            return;
        rs.MoveNext();
    }
    if (yield)
        ui::DoEvents();
}

// The trade-flag columns of RV11 a category word may name.
const QStringList kTradeFlags = {
    QStringLiteral("印前"), QStringLiteral("製版"), QStringLiteral("紙行"), QStringLiteral("印刷"),
    QStringLiteral("上光"), QStringLiteral("刀模"), QStringLiteral("裱紙"), QStringLiteral("軋型"),
    QStringLiteral("貼糊"), QStringLiteral("裝裁"), QStringLiteral("其他"), QStringLiteral("貨運"),
};

}  // namespace

void FillDistinctCombo(ListTarget box, const QString& column, const QString& table, db::Connection& conn)
{
    box.clear();
    db::Recordset rs;
    rs.Open(QStringLiteral("Select distinct ") + column + QStringLiteral(" From ") + table +
                QStringLiteral(" Order By ") + column,
            conn, db::adOpenStatic, db::adLockReadOnly);
    AddRows(box, rs, rs.FieldName(0), false);
}

void FillCustomerShortNames(ListTarget box)
{
    std::optional<ui::WaitCursor> wait;
    db::Recordset rs;
    const std::vector<ui::Step> steps = {
        [&] {
            wait.emplace();
            box.clear();
        },
        [&] {
            rs.Open(QStringLiteral("Select RV12.RV121 From RV12 where (rv121 is not null and rv121 <> '' ) "
                                   "Order By RV12.RV121"),
                    gConn, db::adOpenStatic, db::adLockReadOnly);
        },
        [&] { AddRows(box, rs, QStringLiteral("RV121"), true); },
        [&] {
            if (rs.IsOpen())
                rs.Close();
            wait.reset();
        },
    };
    ui::RunSteps(steps, [&](const std::exception& e) {
        wait.reset();
        return ErrorText(e);
    });
}

void FillInvoiceAccountCombo(ListTarget box)
{
    box.clear();
    if (!gConnAlt.IsOpen())
        return;  // the invoice accounts live in a database this program never opens
    db::Recordset rs;
    rs.Open(QStringLiteral("Select 發票帳戶.公司簡稱 From 發票帳戶 Order By 發票帳戶.公司簡稱"), gConnAlt,
            db::adOpenStatic, db::adLockReadOnly);
    AddRows(box, rs, QStringLiteral("公司簡稱"), true);
}

void LoadUnitList(ListTarget box, const QString&)
{
    QString s = vb::Trim(ReadSetting(QStringLiteral("Unit"), QStringLiteral("Unitdata"), 2, gDataPath));
    if (s.isEmpty()) {
        s = QStringList{QStringLiteral("個"), QStringLiteral("本"), QStringLiteral("張"), QStringLiteral("份"),
                        QStringLiteral("套"), QStringLiteral("組"), QStringLiteral("pcs"), QStringLiteral("令"),
                        QStringLiteral("車")}
                .join(gCrLf);
    }
    if (!s.contains(u'\r')) {
        box.add(s);
        box.show();
        return;
    }
    box.clear();
    for (int cr = s.indexOf(u'\r'); cr >= 0; cr = s.indexOf(u'\r')) {
        const QString item = s.left(cr);
        if (!item.isEmpty())
            box.add(item);
        s = s.mid(cr + 2);  // the line break is CR LF
    }
    if (!s.isEmpty())
        box.add(s);
    box.show();
}

void FillDeptCombo(ListTarget box)
{
    ui::WaitCursor wait;
    box.clear();
    db::Recordset rs;
    rs.Open(QStringLiteral("Select RV17.* From RV17 Order By RV17.RV171"), gConn, db::adOpenStatic,
            db::adLockReadOnly);
    AddRows(box, rs, QStringLiteral("RV171"), true);
}

void FillVendorsByCategory(ListTarget box, const QString& category)
{
    ui::WaitCursor wait;
    box.clear();

    // Every failing step is reported and the procedure goes on without its result.
    auto trapped = [](const std::function<void()>& step) {
        try {
            step();
            return true;
        } catch (const std::exception& e) {
            ui::Beep();
            ui::MsgBox(ErrorText(e), ui::Buttons::OK);
            return false;
        }
    };

    double onlyActive = 0;
    trapped([&] { onlyActive = vb::Val(ReadSetting(QStringLiteral("不顯示無往來廠商"), QStringLiteral("Pressmont"), 0)); });
    QString andActive, whereActive;
    if (onlyActive == 1) {
        andActive = QStringLiteral(" And (rv11.廠商狀況 = '現用廠商' OR rv11.廠商狀況 = '次常用廠商') ");
        whereActive = QStringLiteral(" Where  (rv11.廠商狀況 = '現用廠商' OR rv11.廠商狀況 = '次常用廠商') ");
    }
    const QString allVendors = QStringLiteral("Select RV11.rv111,rv11.rv112 From RV11 ") + whereActive +
                               QStringLiteral(" Order by rv112");

    QString sql = allVendors;
    db::Params params;
    if (category != QStringLiteral("all") && !category.isEmpty()) {
        const QString t = vb::Trim(category);
        QString condition;
        if (t == QStringLiteral("印前")) {
            condition = QStringLiteral("(rv1.RV11 = '印前' or rv1.RV11 = '設計' or rv1.RV11 = '製稿' or rv1.RV11 = '完稿' "
                                       "or rv1.RV11 = '攝影' or rv1.RV11 = '分色' or rv1.RV11 = '製版' or Rv11.印前=-1) ");
        } else if (t == QStringLiteral("裱紙") || t == QStringLiteral("對裱")) {
            condition = QStringLiteral(" (rv1.RV11 = '裱紙' or rv1.RV11 = '對裱' or rv11.裱紙=-1) ");
        } else if (t == QStringLiteral("軋型") || t == QStringLiteral("軋盒")) {
            condition = QStringLiteral(" (rv1.RV11 = '軋盒' or rv1.RV11 = '軋型' or rv11.軋型=-1) ");
        } else if (t == QStringLiteral("用紙") || t == QStringLiteral("紙行") || t == QStringLiteral("紙張") ||
                   t == QStringLiteral("紙廠")) {
            condition = QStringLiteral(" (rv1.RV11 = '用紙' or rv1.RV11 = '紙行' or rv1.RV11 = '紙張' or "
                                       "rv1.RV11 = '紙廠' or rv11.紙行=-1) ");
        } else if (t == QStringLiteral("糊盒")) {
            condition = QStringLiteral(" (rv1.RV11 = '軋盒' or rv1.RV11 = '軋型' or rv1.RV11 = '糊盒' or rv11.貼糊=-1) ");
        } else if (t == QStringLiteral("裝訂") || t == QStringLiteral("裝裁")) {
            condition = QStringLiteral(" (rv1.RV11 = '裝訂' or rv1.RV11 = '裝裁' or  rv11.裝裁=-1) ");
        } else if (kTradeFlags.contains(category)) {
            condition = QStringLiteral("(rv1.RV11 = ? or rv11.") + category + QStringLiteral("=-1)");
            params = {t};
        } else {
            return;  // names no trade flag of a vendor: nothing to list
        }
        sql = QStringLiteral("Select rv1.*,RV11.* From rv1,RV11 Where (") + condition + QStringLiteral(") ") +
              andActive + QStringLiteral(" And rv1.RV10=RV11.RV110 Order by rv112");
    }

    db::Recordset rs;
    if (!trapped([&] { rs.Open(sql, gConn, db::adOpenStatic, db::adLockReadOnly, params); }))
        return;
    if (rs.Eof() && sql != allVendors) {
        if (!trapped([&] { rs.Open(allVendors, gConn, db::adOpenStatic, db::adLockReadOnly); }))
            return;
    }
    if (rs.Eof())
        return;
    ui::DoEvents();
    trapped([&] { AddRows(box, rs, QStringLiteral("RV112"), true); });
}

void FillEmployeesByDept(ListTarget box, const QString& department)
{
    QString filter;
    db::Params params;
    if (department.isEmpty()) {
    } else if (department == QStringLiteral("印務") || department == QStringLiteral("印務部") ||
               department == QStringLiteral("工務") || department == QStringLiteral("工務部")) {
        filter = QStringLiteral(" And (RV17.RV171 LIKE '印務%' OR RV17.RV171 LIKE '工務%') ");
    } else if (department == QStringLiteral("業務") || department == QStringLiteral("業務部")) {
        filter = QStringLiteral(" And (RV17.RV171 LIKE '業務%') ");
    } else {
        filter = QStringLiteral(" And (RV17.RV171 LIKE ? )");
        params = {vb::Trim(department) + QStringLiteral("%")};
    }
    const QString sql = QStringLiteral("Select RV17.*,RV17A.* From RV17,RV17A Where (RV17A.rv17a13 is null or "
                                       "RV17A.rv17a13 = '' )") +
                        filter + QStringLiteral(" And RV17.RV170=RV17A.RV17A0");

    std::optional<ui::WaitCursor> wait;
    db::Recordset rs;
    bool empty = false;
    const std::vector<ui::Step> steps = {
        [&] {
            wait.emplace();
            box.clear();
        },
        [&] { rs.Open(sql, gConn, db::adOpenStatic, db::adLockOptimistic, params); },
        [&] {
            empty = !rs.IsOpen() || rs.Eof();
            if (empty)
                wait.reset();
            else
                ui::DoEvents();
        },
        [&] {
            if (!empty)
                AddRows(box, rs, QStringLiteral("RV17A2"), true);
        },
        [&] {
            if (rs.IsOpen())
                rs.Close();
            wait.reset();
        },
    };
    ui::RunSteps(steps, [&](const std::exception& e) {
        ui::Beep();
        wait.reset();
        return QStringLiteral("狀況在 載入員工清單") + gCrLf + ErrorText(e);
    });
}
