#include "core/Globals.h"

#include "core/Language.h"
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

// Every message box and window shows the program's texts in the language in use.
static const bool gLocalizerSet = (ui::SetTextLocalizer(&LocalText, &LocalizeTexts), true);

QString LoadResString(int id)
{
    return strings::Caption(id + gLangOffset);
}

void DoNothing() {}
