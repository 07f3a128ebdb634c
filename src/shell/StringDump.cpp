#include "shell/StringDump.h"

#include "platform/files/WholeFile.h"
#include "platform/strings/Strings.h"
#include "platform/text/VbText.h"

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
    int errnum = 0;
    if (!files::WriteWholeFile(path, out, &errnum))
        throw std::runtime_error(files::WriteFailureText(path, files::VbFileError(errnum)).toStdString());
    return lines;
}
