#include "core/Globals.h"

#include "platform/strings/Strings.h"

QString gDataPath;
QString gDataPathCopy;
QString gProgramPath;
QString gDatabaseFile;
short gLangOffset = 0;
QString gComputerName;
QString gWinUserName;
const QString gCrLf = QStringLiteral("\r\n");
bool gKeyinChinese = false;
QString gUserName;
QString gTableSetName;
QString gOtherFindWhere;
QString gCommandLine;
db::Connection gConn;
db::Connection gConnAlt;

QString LoadResString(int id)
{
    return strings::Caption(id + gLangOffset);
}

void DoNothing() {}
