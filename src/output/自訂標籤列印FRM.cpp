#include "output/自訂標籤列印FRM.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "core/update/Excel.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"

#include <QPushButton>

namespace {

const char* const kTables[] = {"服務業", "製造業"};

}  // namespace

自訂標籤列印FRM::自訂標籤列印FRM(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("自訂標籤列印FRM"));
    setWindowTitle(QStringLiteral("Form1"));
    const struct {
        QPushButton** button;
        const char* caption;
        int top;
    } buttons[] = {
        {&Command2[0], "轉換服務業", 240}, {&Command2[1], "轉換製造業", 960},
        {&Command1[0], "列印服務業", 1680}, {&Command1[1], "列印製造業", 2280},
    };
    for (const auto& b : buttons) {
        *b.button = new QPushButton(QString::fromUtf8(b.caption), this);
        (*b.button)->setGeometry(vb::TwipsToPixels(1200), vb::TwipsToPixels(b.top), vb::TwipsToPixels(2280),
                                 vb::TwipsToPixels(495));
    }
    for (int i = 0; i < 2; ++i) {
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    resize(vb::TwipsToPixels(4680), vb::TwipsToPixels(3090));
}

void 自訂標籤列印FRM::Command2_Click(int index)
{
    if (index < 0 || index > 1)
        return;
    const QString table = QString::fromUtf8(kTables[index]);
    const QString workbook = ResolveFileNoCase(gDataPathCopy, table + QStringLiteral(".xls"));
    try {
        ui::WaitCursor wait;
        // A second import replaces the table's rows; a failed one keeps them.
        ImportExcelSheet(QStringLiteral("Sheet1"), workbook, table, gConn.DataSource(), true);
    } catch (const db::DbError& e) {
        ui::MsgBox(QStringLiteral("無法轉換 %1: %2").arg(workbook, ErrorText(e)), ui::Buttons::OK,
                   ui::Icon::Exclamation);
    }
}

void 自訂標籤列印FRM::Command1_Click(int index)
{
    if (index < 0 || index > 1)
        return;
    const QString table = QString::fromUtf8(kTables[index]);
    if (!gConn.TableExists(table)) {
        ui::MsgBox(QStringLiteral("還沒有%1的資料,請先按「轉換%1」。").arg(table), ui::Buttons::OK, ui::Icon::Exclamation);
        return;
    }
    LabelPairer pairer(NewLabelSheet());
    try {
        ui::WaitCursor wait;
        db::Recordset rs = gConn.ExecuteQuery(QStringLiteral("Select [%1].* From [%1] ").arg(table));
        const auto column = [&rs](const char* name) {
            const int i = rs.FieldIndex(QString::fromUtf8(name));
            return i < 0 ? QVariant() : rs.value(i);
        };
        for (; !rs.Eof(); rs.MoveNext()) {
            pairer.Add(ImportedFirmLabel(column("F1"), column("F2"), column("F3"), column("F4")));
            if (pairer.count() % 2 == 0)
                ui::DoEvents();
        }
    } catch (const db::DbError& e) {
        ui::MsgBox(ErrorText(e), ui::Buttons::OK,
                   ui::Icon::Exclamation);
        return;
    }
    lastSheet_ = pairer.Finish();
    ShowLabels(LabelLayout::Custom, lastSheet_);
}
