#include "shell/CommandLine.h"

#include "platform/text/VbText.h"

FindRequest ParseFindRequest(const QString& commandLine)
{
    FindRequest r;
    const QString line = vb::Trim(commandLine);
    const int p = line.indexOf(QLatin1Char('/'));
    if (p <= 0)
        return r;
    bool ok = false;
    const int n = vb::Trim(line.left(p)).toInt(&ok);
    if (!ok)
        return r;
    r.window = n;
    r.text = vb::Trim(line.mid(p + 1));
    return r;
}
