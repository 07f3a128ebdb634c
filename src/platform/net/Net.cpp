#include "platform/net/Net.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace net {

FetchResult Fetch(const QString& url, int timeoutMs)
{
    FetchResult r;
    const QUrl u(url.trimmed(), QUrl::TolerantMode);
    if (!u.isValid() || u.scheme().isEmpty()) {
        r.error = QStringLiteral("Invalid address: %1").arg(url);
        return r;
    }
    QNetworkAccessManager manager;
    QNetworkRequest request(u);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    std::unique_ptr<QNetworkReply> reply(manager.get(request));

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();

    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen())
        r.body = reply->readAll();
    if (timedOut) {
        r.error = QStringLiteral("Timed out after %1 seconds: %2").arg(timeoutMs / 1000.0).arg(url);
    } else if (reply->error() != QNetworkReply::NoError && r.status == 0) {
        r.error = reply->errorString();
    } else if (r.status != 0 && (r.status < 200 || r.status > 299)) {
        const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        r.error = QStringLiteral("HTTP %1 %2").arg(r.status).arg(reason).trimmed();
    } else if (reply->error() != QNetworkReply::NoError) {
        r.error = reply->errorString();
    } else {
        r.ok = true;
    }
    return r;
}

QByteArray FetchBytes(const QString& url, int timeoutMs)
{
    FetchResult r = Fetch(url, timeoutMs);
    if (!r.ok)
        throw FetchError(r.error);
    return r.body;
}

}  // namespace net
