#include "core/ErrorText.h"

#include "core/Globals.h"

#include <QFileInfo>
#include <cstdio>

namespace {

// The string-table text for a Jet number.
int TextId(long number)
{
    switch (number) {
    case 3197:
        return 2400;  // changed or deleted by another computer
    case 3260:
        return 2401;  // locked by another computer or program
    case 3049:
    case 3343:
        return 2402;  // damaged or not a database
    case 3024:
        return 2403;  // file not found
    case 3051:
        return 2404;  // cannot open or write
    case 3204:
        return 2405;  // the name is taken (a folder of that name)
    case 3022:
        return 2406;  // duplicate
    case 3314:
        return 2407;  // required field empty
    case 3163:
        return 2408;  // too long
    case 3421:
    case 3464:
        return 2409;  // wrong type
    case 3349:
        return 2410;  // number out of range
    case 3021:
    case 3167:
        return 2411;  // no current row
    case 3026:
        return 2412;  // disk full
    case 3043:
    case 30004:       // the engine rolled the transaction back (I/O)
        return 2413;
    case 3704:
        return 2414;  // closed
    case 3274:
        return 2418;  // not a workbook
    case 3011:
        return 2419;  // no such worksheet
    default:
        return 2415;
    }
}

void Log(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

bool HasChinese(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x3000)
            return true;
    return false;
}

}  // namespace

QString ErrorDescription(const db::DbError& e)
{
    Log(QStringLiteral("database error %1: %2").arg(e.Number()).arg(e.Description()));
    QString text = LoadResString(TextId(e.Number()));
    if (!text.contains(QLatin1String("%1")))
        return text;
    if (e.Subject().isEmpty())
        text.remove(QStringLiteral("%1 "));
    else
        text = text.arg(e.Subject());
    return text;
}

QString ErrorText(const db::DbError& e)
{
    return ErrorDescription(e) + QStringLiteral("（") + LoadResString(326).trimmed() + QLatin1Char(' ')
           + QString::number(e.Number()) + QStringLiteral("）");
}

QString ErrorDescription(const std::exception& e)
{
    if (const auto* d = dynamic_cast<const db::DbError*>(&e))
        return ErrorDescription(*d);
    const QString own = QString::fromUtf8(e.what());
    if (HasChinese(own))
        return own;
    Log(QStringLiteral("error: ") + own);
    return LoadResString(2417);
}

QString ErrorText(const std::exception& e)
{
    if (const auto* d = dynamic_cast<const db::DbError*>(&e))
        return ErrorText(*d);
    return ErrorDescription(e);
}

bool CausedByTypedData(const db::DbError& e)
{
    switch (e.Number()) {
    case 3022:
    case 3163:
    case 3314:
    case 3349:
    case 3421:
    case 3464:
        return true;
    default:
        return false;
    }
}
