// The online update check: the version file on the maker's web site, the download of the new
// executable into "UPDATE.EXE" and the hand-over to it; and the reminder start-up runs.
//
// The maker's web site is an installation value: the key "MakerSite" of the main settings
// file ("http://host[:port]", no trailing "/").  With none configured, every page of the
// maker is out of reach and the update check reports so.
#pragma once

#include "core/update/SelfUpdate.h"

#include <QString>
#include <functional>

namespace update {

inline const QString kMakerSiteKey = QStringLiteral("MakerSite");  // section "Tessarine"
inline const QString kVersionPage = QStringLiteral("/Tessarinever.html");
inline const QString kSoftwarePage = QStringLiteral("/pressmont/");

// The configured site, trimmed and without trailing "/"; "" when none.
QString MakerSite();

// The newest release as the version file names it: Major, Minor, Revision (16-bit numbers)
// and Url1.  A missing key reads as 0 / "".
struct ReleaseInfo {
    FileVersion version;
    QString url;
};
ReleaseInfo ReadReleaseInfo();

// The largest download of a new build, in bytes.
qint64 DownloadLimitBytes();

// How long the download of a new build may receive nothing before it ends, in milliseconds.
inline int gDownloadStallMs = 30000;

// The help menu's check: fetches the version file into the program folder's "Tessarinever.dat",
// compares it with the running version and offers the download (UPdateSub) or says the
// program is up to date.  Errors ask Abort / Retry / Ignore.
void CheckNewVersion();

// Asks, downloads url into the program folder's "UPDATE.EXE" and starts "UPDATE.EXE S",
// then ends the process.  The download shows its progress with a 取消 button; a cancelled
// download says so and installs nothing, one that receives nothing for gDownloadStallMs fails.  The download streams into a temporary file (at most the setting
// UpdateMaxMB, 512 MB when empty); only a whole http(s) transfer of a whole Tessarine build newer than
// this one is renamed over "UPDATE.EXE"; anything else is deleted.  The process ends only
// once the updater has started.  Failures throw (the caller's error handling reports them).
void UPdateSub(const QString& url);

// Start-up's reminder.  softHome shows the maker's software page, check runs CheckNewVersion.
void CheckVersionReminder(const std::function<void()>& softHome, const std::function<void()>& check);
// The same through the main window's menu procedures.
void CheckVersionReminder();

}  // namespace update
