#include "shell/StringDump.h"

#include "platform/strings/Strings.h"
#include "platform/text/VbText.h"

#include <QSaveFile>
#include <stdexcept>

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
