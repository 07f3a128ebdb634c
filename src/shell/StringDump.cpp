#include "shell/StringDump.h"
#include "core/ErrorText.h"

#include "core/Globals.h"
#include "platform/strings/Strings.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "core/Paths.h"
#include "shell/Skin.h"

#include <QSaveFile>
#include <QPushButton>
#include <QVBoxLayout>

int DumpStringTable(const QString& path, int offset)
{
    QByteArray out;
    int lines = 0;
    for (int id = 1; id <= 1000; ++id) {
        QString text;
        try {
            text = strings::LoadResString(id + offset);
        } catch (const strings::ResourceNotFound&) {
            continue;
        }
        out += QByteArray::number(id + 10000) + ",\"" + vb::ToCp950(text) + "\"\r\n";
        ++lines;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw std::runtime_error((path + QStringLiteral(": ") + file.errorString()).toStdString());
    return lines;
}

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
