#include "shell/OnlineUpdate.h"

#include "core/Globals.h"
#include "core/Paths.h"
#include "core/SettingKeys.h"
#include "core/Settings.h"
#include "core/Startup.h"
#include "core/WindowHelpers.h"
#include "platform/files/WholeFile.h"
#include "platform/net/Net.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "shell/MDIForm1.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <optional>

namespace update {

namespace {

constexpr int kVersionTimeoutMs = 30000;
constexpr qint64 kVersionPageMax = 1 << 20;  // the version file is a few lines
constexpr qint64 kDefaultDownloadMB = 512;

// The whole of bytes into path: written beside it under a temporary name, on disk, then
// renamed over it.  A failure leaves the old file as it was.
void ReplaceFile(const QString& path, const QByteArray& bytes)
{
    int errnum = 0;
    if (!files::WriteWholeFile(path, bytes, &errnum))
        throw net::FetchError(files::WriteFailureText(path, files::VbFileError(errnum)));
}

QString VersionFilePath()
{
    return SettingsFilePath(settings::kVersionFile, 0);
}

int VersionNumber(const QString& key)
{
    return vb::CInt(vb::Val(ReadSetting(key, settings::kVersionFile, 0)));
}

}  // namespace

qint64 DownloadLimitBytes()
{
    const double mb = vb::Val(vb::Trim(ReadSetting(settings::UpdateMaxMB, settings::kMain, 0)));
    return qint64(mb >= 1 ? mb : kDefaultDownloadMB) << 20;
}

QString MakerSite()
{
    QString site = vb::Trim(ReadSetting(kMakerSiteKey, settings::kMain, 0));
    while (site.endsWith(QLatin1Char('/')))
        site.chop(1);
    return site;
}

ReleaseInfo ReadReleaseInfo()
{
    ReleaseInfo info;
    info.version.Major = VersionNumber(settings::Major);
    info.version.Minor = VersionNumber(settings::Minor);
    info.version.Revision = VersionNumber(settings::Revision);
    info.url = ReadSetting(settings::Url1, settings::kVersionFile, 0);
    return info;
}

void CheckNewVersion()
{
    ui::MsgBox(QStringLiteral("這個動作將會連結上網際網路以檢查有沒有新版程式可供更新"));
    SetStatusText(QStringLiteral("掃描更新中...."));
    std::optional<ui::WaitCursor> wait;
    wait.emplace();

    QByteArray page;
    // The steps after one the user ignored have nothing to go on: only a version file this
    // check fetched and stored decides, never one left from an earlier check.
    bool fetched = false;
    bool stored = false;
    std::optional<ReleaseInfo> info;
    const std::vector<ui::Step> steps{
        [&] {
            const QString site = MakerSite();
            if (site.isEmpty())
                throw net::FetchError(QStringLiteral("無法連上軟體更新網站: 尚未設定網站位址"));
            page = net::FetchBytes(site + kVersionPage, kVersionTimeoutMs, kVersionPageMax);
            fetched = true;
        },
        [&] {
            if (fetched) {
                ReplaceFile(VersionFilePath(), page);
                stored = true;
            }
        },
        [&] {
            if (stored)
                info = ReadReleaseInfo();
        },
        [&] {
            wait.reset();
            if (!info) {
                SetStatusText(QString());
                ui::MsgBox(QStringLiteral("檢查更新沒有完成，無法得知有沒有新版程式，程式沒有更新。") + gCrLf
                               + QStringLiteral("請確認網路連線正常、可以連上瑞沃印刷的網站後，再從〔援助〕→〔檢查更新〕試一次。"),
                           ui::Buttons::OK, ui::Icon::Exclamation);
                return;
            }
            if (info->version > kOwnVersion) {
                UPdateSub(info->url);
            } else {
                ui::MsgBox(QStringLiteral("沒有可用的更新檔,您目前的程式已經是最新版本"));
                SetStatusText(QString());
            }
        },
    };
    ui::RunSteps(steps, [](const std::exception& e) { return QString::fromUtf8(e.what()); });
}

void UPdateSub(const QString& url)
{
    if (ui::MsgBox(QStringLiteral("有新版本的程式是否更新"), ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    SetStatusText(QStringLiteral("下載檔案中....,請耐心等待"));
    const QString updater = ResolveFileNoCase(gProgramPath, kUpdaterName);
    {
        // No limit on the whole download: it shows how far it is, can be cancelled, and ends
        // when the server goes silent.
        QProgressDialog progress(MDIForm1::Instance());
        progress.setObjectName(QStringLiteral("DownloadProgress"));
        progress.setWindowTitle(QStringLiteral("下載新版程式"));
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setCancelButtonText(QStringLiteral("取消"));
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setRange(0, 0);
        progress.setLabelText(QStringLiteral("正在連線..."));
        progress.show();
        const auto show = [&progress](qint64 received, qint64 total) {
            if (total > 0) {
                progress.setRange(0, 1000);
                progress.setValue(int(std::min<qint64>(received, total) * 1000 / total));
                progress.setLabelText(QStringLiteral("已下載 %1 KB，共 %2 KB").arg(received / 1024).arg(total / 1024));
            } else {
                progress.setLabelText(QStringLiteral("已下載 %1 KB").arg(received / 1024));
            }
            return !progress.wasCanceled();
        };
        bool cancelled = false;
        // Streamed to a temporary file; it becomes "UPDATE.EXE" only as a whole Tessarine
        // build newer than this one.
        const QString failed = ReplaceExecutable(
            updater,
            [&](QFile& out) -> QString {
                const net::FetchResult r = net::FetchTo(url, out, DownloadLimitBytes(), 0, gDownloadStallMs, show);
                cancelled = r.cancelled;
                if (r.stalled)
                    return QStringLiteral("下載中斷：%1 秒沒有收到任何資料，程式沒有更新。請檢查網路連線後再試一次。")
                        .arg(gDownloadStallMs / 1000.0);
                if (!r.ok)
                    return r.error.isEmpty() ? QStringLiteral("下載失敗: %1").arg(url) : r.error;
                if (r.received == 0)
                    return QStringLiteral("下載的檔案是空的: %1").arg(url);
                return {};
            },
            kOwnVersion);
        progress.close();
        if (cancelled) {
            SetStatusText(QString());
            ui::MsgBox(QStringLiteral("已取消下載，程式沒有更新。"));
            return;
        }
        if (!failed.isEmpty())
            throw net::FetchError(failed);
    }
    ui::MsgBox(QStringLiteral("系統現在要結束並置換新版程式,約十幾秒鐘,請稍候"));
    // The updater's start-up must not find this copy's single-copy lock.
    ReleaseSingleCopyLock();
    if (!shellsvc::StartDetached(updater, {QStringLiteral("S")}, gProgramPath)) {
        AcquireSingleCopyLock(gProgramPath);
        throw net::FetchError(QStringLiteral("%1: 無法啟動程式").arg(updater));
    }
    ui::EndProcess(0);
}

void CheckVersionReminder(const std::function<void()>& softHome, const std::function<void()>& check)
{
    const QString last = vb::Trim(ReadSetting(settings::CheckVerDate, settings::kMain, 0));
    const QDate today = ui::Today();
    const QString todayText = vb::Format(today, QStringLiteral("yyyy/mm/dd"));
    const QDate lastDate = QDate::fromString(last, QStringLiteral("yyyy/M/d"));
    const auto ask = [] {
        return ui::MsgBox(LoadResString(919), ui::Buttons::YesNo) == ui::Answer::Yes;
    };
    // A date that cannot be read counts as never asked.
    if (lastDate.isValid()) {
        double interval = vb::Val(vb::Trim(ReadSetting(settings::CheckNewVer, settings::kMain, 0)));
        if (interval == 0)
            interval = 3;
        if (lastDate.daysTo(today) > interval && ask()) {
            softHome();
            WriteSetting(settings::CheckVerDate, todayText, settings::kMain, 0);
            check();
        }
        return;
    }
    if (ask()) {
        check();
        WriteSetting(settings::CheckVerDate, todayText, settings::kMain, 0);
    }
}

void CheckVersionReminder()
{
    MDIForm1* main = MDIForm1::Instance();
    if (!main)
        return;
    CheckVersionReminder([main] { main->Softhome_item_Click(); }, [main] { main->CheckNewVer_Item_Click(); });
}

}  // namespace update

// ---- The main window's side ---------------------------------------------------------------------

QString MakerUrl(const QString& path)
{
    const QString site = update::MakerSite();
    return site.isEmpty() ? QString() : site + path;
}

void MDIForm1::CheckNewVer_Item_Click()
{
    update::CheckNewVersion();
}
