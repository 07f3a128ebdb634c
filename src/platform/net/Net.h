// Fetching a web address into bytes, blocking the caller until it is done or times out.
#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace net {

struct FetchResult {
    bool ok = false;      // transfer finished and the server answered 2xx (any answer for non-HTTP)
    int status = 0;       // the HTTP status code, 0 when none came back
    QByteArray body;      // what the server sent (also for an error page)
    QString error;        // why it failed: network error text, "HTTP 404 Not Found", or the timeout
};

// Follows redirects; keeps the window system running while it waits.
FetchResult Fetch(const QString& url, int timeoutMs = 30000);

class FetchError : public std::runtime_error {
public:
    explicit FetchError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The body of a successful fetch; anything else throws FetchError with the error text.
QByteArray FetchBytes(const QString& url, int timeoutMs = 30000);

}  // namespace net
