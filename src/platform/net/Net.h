// Fetching a web address, blocking the caller until it is done or times out.  Only http and
// https addresses are fetched.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <stdexcept>

class QIODevice;

namespace net {

struct FetchResult {
    bool ok = false;      // transfer finished whole and the server answered 2xx
    int status = 0;       // the HTTP status code, 0 when none came back
    QByteArray body;      // what the server sent (also for an error page); empty for FetchTo
    qint64 received = 0;  // bytes of the body received
    bool cancelled = false;  // the caller's progress asked to stop
    bool stalled = false;    // nothing arrived for the stall time
    QString error;        // why it failed, in words the user reads ("伺服器回應 404 (找不到檔案)",
                          // the network error, the timeout, a body cut short or larger than
                          // allowed, an address not http(s))
};

// True for an http or https address with a host.
bool IsWebAddress(const QString& url);

// Follows redirects (never to a less safe scheme); keeps the window system running while it
// waits.  A body shorter than the length the server announced is an error, and so is one
// longer than maxBytes (the transfer stops there).
FetchResult Fetch(const QString& url, int timeoutMs = 30000, qint64 maxBytes = 16 << 20);
// How a long download goes: bytes of the body received so far and the length announced (-1
// when none), told as pieces arrive and a few times a second meanwhile; false stops it.
using FetchProgress = std::function<bool(qint64 received, qint64 total)>;

// The same, writing the body of a 2xx answer into `out` as it arrives instead of holding it.
// timeoutMs <= 0: no limit on the whole transfer. stallMs > 0: a transfer that receives
// nothing for that long ends (stalled).
FetchResult FetchTo(const QString& url, QIODevice& out, qint64 maxBytes, int timeoutMs, int stallMs = 0,
                    const FetchProgress& progress = {});

class FetchError : public std::runtime_error {
public:
    explicit FetchError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The body of a successful fetch; anything else throws FetchError with the error text.
QByteArray FetchBytes(const QString& url, int timeoutMs = 30000, qint64 maxBytes = 16 << 20);

}  // namespace net
