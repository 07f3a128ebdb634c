#include "shell/ReadSTRINGfrm.h"

#include "core/ErrorText.h"
#include "core/Globals.h"
#include "core/Paths.h"
#include "platform/ui/Ui.h"
#include "shell/Skin.h"
#include "shell/StringDump.h"

#include <QPushButton>
#include <QVBoxLayout>

ReadSTRINGfrm::ReadSTRINGfrm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReadSTRINGfrm"));
    setWindowTitle(QStringLiteral("讀取資源檔"));
    ApplySkin(this);
    Command1 = new QPushButton(QStringLiteral("開始讀取"), this);
    Command1->setMinimumSize(160, 48);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, &ReadSTRINGfrm::Command1_Click);
}

void ReadSTRINGfrm::Command1_Click()
{
    try {
        ui::WaitCursor wait;
        DumpStringTable(JoinPath(gDataPath, QStringLiteral("aaa.txt")), gLangOffset);
    } catch (const std::exception& e) {
        ui::MsgBox(ErrorText(e));
        return;
    }
    ui::MsgBox(QStringLiteral("完畢"));
}
