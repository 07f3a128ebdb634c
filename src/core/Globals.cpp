#include "core/Globals.h"

#include "platform/strings/Strings.h"
#include "platform/ui/Ui.h"

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

void UseLanguage(short offset)
{
    gLangOffset = offset;
    ui::SetQtLanguage(offset != 0 ? QStringLiteral("zh_CN") : QStringLiteral("zh_TW"));
}

QString LoadResString(int id)
{
    return strings::Caption(id + gLangOffset);
}

void DoNothing() {}
