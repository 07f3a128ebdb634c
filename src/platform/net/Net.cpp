#include "platform/net/Net.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

namespace net {

namespace {

// An error page is kept only this far, for its text.
constexpr qint64 kErrorPageBytes = 64 << 10;

// What went wrong on the way, said to the user in words of their own.
QString NetworkErrorText(QNetworkReply::NetworkError e)
{
    switch (e) {
    case QNetworkReply::ConnectionRefusedError: return QStringLiteral("對方拒絕連線");
    case QNetworkReply::RemoteHostClosedError: return QStringLiteral("對方中斷了連線");
    case QNetworkReply::HostNotFoundError: return QStringLiteral("找不到主機,請檢查網址與網路連線");
    case QNetworkReply::TimeoutError: return QStringLiteral("連線逾時");
    case QNetworkReply::OperationCanceledError: return QStringLiteral("連線已取消");
    case QNetworkReply::SslHandshakeFailedError: return QStringLiteral("無法建立安全連線");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError: return QStringLiteral("網路暫時無法使用");
    case QNetworkReply::TooManyRedirectsError: return QStringLiteral("轉址次數過多");
    case QNetworkReply::InsecureRedirectError: return QStringLiteral("網址轉到不安全的位址");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError: return QStringLiteral("無法經由代理伺服器連線");
    default: return QStringLiteral("網路錯誤 %1").arg(int(e));
    }
}

// An answer other than 2xx: its number, and what it means.
QString HttpStatusText(int status)
{
    QString meaning = QStringLiteral("無法取得檔案");
    if (status == 404 || status == 410)
        meaning = QStringLiteral("找不到檔案");
    else if (status == 401 || status == 403)
        meaning = QStringLiteral("沒有存取權限");
    else if (status >= 500)
        meaning = QStringLiteral("伺服器發生錯誤");
    return QStringLiteral("伺服器回應 %1 (%2)").arg(status).arg(meaning);
}

// The transfer: the body of a 2xx answer goes to `sink` piece by piece (false = stop, the
// sink's own error text in `sinkError`); an error page's first bytes go into r.body.
FetchResult Transfer(const QString& url, int timeoutMs, qint64 maxBytes,
                     const std::function<bool(const QByteArray&, QString* sinkError)>& sink, int stallMs = 0,
                     const FetchProgress& progress = {})
{
    FetchResult r;
    const QUrl u(url.trimmed(), QUrl::TolerantMode);
    if (!u.isValid() || u.scheme().isEmpty()) {
        r.error = QStringLiteral("網址不正確: %1").arg(url);
        return r;
    }
    if (!IsWebAddress(url)) {
        r.error = QStringLiteral("只能從 http 或 https 網址下載: %1").arg(url);
        return r;
    }
    QNetworkAccessManager manager;
    QNetworkRequest request(u);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // The body as sent, so that its length can be held against the announced one.
    request.setRawHeader("Accept-Encoding", "identity");
    std::unique_ptr<QNetworkReply> reply(manager.get(request));

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    // Restarted by everything that arrives; its end means the server went silent.
    QTimer quiet;
    quiet.setSingleShot(true);
    QTimer tick;
    qint64 announced = -1;
    const auto heard = [&] {
        if (stallMs > 0)
            quiet.start(stallMs);
    };
    const auto tell = [&] {
        if (progress && !r.cancelled && !r.stalled && progress(r.received, announced) == false) {
            r.cancelled = true;
            reply->abort();
        }
    };
    QString stopped;  // why the transfer was stopped here
    auto success = [&] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status >= 200 && status <= 299;
    };
    auto take = [&] {
        if (!stopped.isEmpty() || !reply->isOpen())
            return;
        const QByteArray piece = reply->readAll();
        if (piece.isEmpty())
            return;
        heard();
        if (!success()) {
            if (r.body.size() < kErrorPageBytes)
                r.body += piece.left(kErrorPageBytes - r.body.size());
            return;
        }
        r.received += piece.size();
        if (r.received > maxBytes) {
            stopped = QStringLiteral("下載的檔案超過 %1 個位元組的上限: %2").arg(maxBytes).arg(url);
        } else {
            QString sinkError;
            if (!sink(piece, &sinkError))
                stopped = sinkError;
        }
        if (!stopped.isEmpty())
            reply->abort();
        else
            tell();
    };
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(&quiet, &QTimer::timeout, &loop, [&] {
        r.stalled = true;
        reply->abort();
    });
    QObject::connect(&tick, &QTimer::timeout, &loop, tell);
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        heard();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (success() && length.isValid())
            announced = length.toLongLong();
        if (success() && length.isValid() && length.toLongLong() > maxBytes && stopped.isEmpty()) {
            stopped = QStringLiteral("下載的檔案超過 %1 個位元組的上限: %2").arg(maxBytes).arg(url);
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (timeoutMs > 0)
        timer.start(timeoutMs);
    heard();
    if (progress)
        tick.start(200);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();
    quiet.stop();
    tick.stop();
    take();

    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (!stopped.isEmpty()) {
        r.error = stopped;
    } else if (r.cancelled) {
        r.error = QStringLiteral("下載已取消: %1").arg(url);
    } else if (r.stalled) {
        r.error = QStringLiteral("下載中斷: %1 秒沒有收到任何資料 (已收到 %2 個位元組): %3")
                      .arg(stallMs / 1000.0)
                      .arg(r.received)
                      .arg(url);
    } else if (timedOut) {
        r.error = QStringLiteral("連線逾時 (%1 秒沒有回應): %2").arg(timeoutMs / 1000.0).arg(url);
    } else if (reply->error() != QNetworkReply::NoError && r.status == 0) {
        r.error = QStringLiteral("無法連線 (%1): %2").arg(NetworkErrorText(reply->error()), url);
    } else if (r.status != 0 && (r.status < 200 || r.status > 299)) {
        r.error = HttpStatusText(r.status);
    } else if (reply->error() != QNetworkReply::NoError) {
        r.error = QStringLiteral("下載未完成 (%1): %2").arg(NetworkErrorText(reply->error()), url);
    } else if (length.isValid() && r.received != length.toLongLong()) {
        r.error = QStringLiteral("下載未完成: 收到 %1 個位元組，應有 %2 個: %3").arg(r.received).arg(length.toLongLong()).arg(url);
    } else {
        r.ok = true;
    }
    return r;
}

}  // namespace

bool IsWebAddress(const QString& url)
{
    const QUrl u(url.trimmed(), QUrl::TolerantMode);
    const QString scheme = u.scheme().toLower();
    return u.isValid() && !u.host().isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

FetchResult Fetch(const QString& url, int timeoutMs, qint64 maxBytes)
{
    QByteArray body;
    FetchResult r = Transfer(url, timeoutMs, maxBytes, [&](const QByteArray& piece, QString*) {
        body += piece;
        return true;
    });
    if (r.status >= 200 && r.status <= 299)
        r.body = body;
    return r;
}

FetchResult FetchTo(const QString& url, QIODevice& out, qint64 maxBytes, int timeoutMs, int stallMs,
                    const FetchProgress& progress)
{
    return Transfer(
        url, timeoutMs, maxBytes,
        [&](const QByteArray& piece, QString* error) {
            if (out.write(piece) == piece.size())
                return true;
            *error = QStringLiteral("無法寫入下載的檔案,請檢查磁碟空間與寫入權限");
            return false;
        },
        stallMs, progress);
}

QByteArray FetchBytes(const QString& url, int timeoutMs, qint64 maxBytes)
{
    FetchResult r = Fetch(url, timeoutMs, maxBytes);
    if (!r.ok)
        throw FetchError(r.error);
    return r.body;
}

}  // namespace net
