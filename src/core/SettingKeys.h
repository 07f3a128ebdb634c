// Every settings section and key the program reads or writes, spelled once.
// Callers supply the defaults (an empty value mostly counts as 0).
#pragma once

#include <QString>

namespace settings {

// Sections ("<section>.dat") and their locations: 0 the program folder, 2 the data folder.
inline const QString kMain = QStringLiteral("Tessarine");          // location 0
inline const QString kMDIformSet = QStringLiteral("MDIformSet");   // location 0
inline const QString kFactory = QStringLiteral("Factory");         // location 0
inline const QString kPressmont = QStringLiteral("Pressmont");     // location 0
inline const QString kVersionFile = QStringLiteral("Tessarinever");// location 0, written whole by the update check
inline const QString kUnitdata = QStringLiteral("Unitdata");       // location 2

// Section "Tessarine".
inline const QString App_path = QStringLiteral("App_path");                 // data folder; empty = program folder
inline const QString LanguageID = QStringLiteral("LanguageID");             // "0" or "10000"
inline const QString KeyinChinese = QStringLiteral("KeyinChinese");         // "0"/"1"
inline const QString CheckVerDate = QStringLiteral("CheckVerDate");         // "yyyy/mm/dd"; empty = never
inline const QString CheckNewVer = QStringLiteral("CheckNewVer");           // days; 0 or empty = 3
inline const QString pack_path = QStringLiteral("pack_path");               // backup folder
inline const QString BackupDate = QStringLiteral("BackupDate");             // last backup
inline const QString BackDate = QStringLiteral("BackDate");                 // days; 0 or empty = 2
inline const QString CustomAutoNO = QStringLiteral("CustomAutoNO");         // 1 = no automatic customer numbers
inline const QString FacotryAutoNO = QStringLiteral("FacotryAutoNO");       // 1 = no automatic vendor numbers
inline const QString WorkmanAutoNO = QStringLiteral("WorkmanAutoNO");       // 1 = no automatic employee numbers
inline const QString OtherDataAutoNO = QStringLiteral("OtherDataAutoNO");   // kept, not acted on
inline const QString iDCardNO = QStringLiteral("iDCardNO");                 // 0 Taiwan, 1 Hong Kong, 2 mainland, 3 none
inline const QString CustomType = QStringLiteral("CustomType");             // lines joined by CR LF
inline const QString CommanyManType = QStringLiteral("CommanyManType");     // lines joined by CR LF
inline const QString AutoStartHelpWindoes = QStringLiteral("AutoStartHelpWindoes");
inline const QString CustomSort = QStringLiteral("CustomSort");
inline const QString FactoryShowSRT = QStringLiteral("FactoryShowSRT");
inline const QString adjustlabelUP = QStringLiteral("adjustlabelUP");
inline const QString adjustlabelLeft = QStringLiteral("adjustlabelLeft");
inline const QString ModelSpaceBetween = QStringLiteral("ModelSpaceBetween");
inline const QString PageFooter = QStringLiteral("PageFooter");
inline const QString UpdateMaxMB = QStringLiteral("UpdateMaxMB");           // largest download of a new build, MB; empty = 512

// Other sections.
inline const QString 顯示報告列 = QStringLiteral("顯示報告列");                 // MDIformSet: help panel width, twips
inline const QString Major = QStringLiteral("Major");                       // Tessarinever
inline const QString Minor = QStringLiteral("Minor");
inline const QString Revision = QStringLiteral("Revision");
inline const QString Url1 = QStringLiteral("Url1");
inline const QString 不顯示無往來廠商 = QStringLiteral("不顯示無往來廠商");     // Pressmont: 1 = hide
inline const QString Unit = QStringLiteral("Unit");                         // Unitdata: lines joined by CR LF
inline const QString 已無往來廠商 = QStringLiteral("已無往來廠商");             // Factory: "0"/"1"
inline const QString FactoryShowAllButton = QStringLiteral("FactoryShowAllButton");  // Factory

}  // namespace settings
