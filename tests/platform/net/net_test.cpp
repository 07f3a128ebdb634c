#include "platform/net/Net.h"

#include <QBuffer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QElapsedTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A loopback HTTP server: each request's path is answered by `respond` with a raw response
// ("" = never answer).
class LoopbackServer {
public:
    std::function<QByteArray(const QByteArray& path)> respond;
    QList<QByteArray> paths;

    LoopbackServer()
    {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    buffer_[s] += s->readAll();
                    if (!buffer_[s].contains("\r\n\r\n"))
                        return;
                    const QByteArray path = buffer_.take(s).split(' ').value(1);
                    paths << path;
                    const QByteArray answer = respond(path);
                    if (answer.isEmpty())
                        return;
                    s->write(answer);
                    s->disconnectFromHost();
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString url(const char* path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path); }

private:
    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffer_;
};

QByteArray response(const char* statusLine, const QByteArray& body, const QByteArray& extra = {})
{
    return QByteArray("HTTP/1.1 ") + statusLine + "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n" + extra + "\r\n" + body;
}

}  // namespace

TEST(Fetch, StatusBodyAndErrorText)
{
    const QByteArray binary("MZ\0\x01\xab\xc8\xa4\xe1[Major]\r\n", 16);
    LoopbackServer server;
    server.respond = [&](const QByteArray& path) -> QByteArray {
        if (path == "/ver.dat") return response("200 OK", binary);
        if (path == "/old") return response("302 Found", {}, "Location: /ver.dat\r\n");
        if (path == "/err") return response("500 Internal Server Error", "boom");
        return response("404 Not Found", "<html>missing</html>");
    };
    const struct { const char* path; bool ok; int status; QByteArray body; const char* error; } cases[] = {
        {"/ver.dat", true, 200, binary, ""},
        {"/old", true, 200, binary, ""},             // redirect followed
        {"/nothing", false, 404, "<html>missing</html>", "伺服器回應 404 (找不到檔案)"},
        {"/err", false, 500, "boom", "伺服器回應 500 (伺服器發生錯誤)"},
    };
    for (const auto& c : cases) {
        const net::FetchResult r = net::Fetch(server.url(c.path), 5000);
        EXPECT_EQ(r.ok, c.ok) << c.path;
        EXPECT_EQ(r.status, c.status) << c.path;
        EXPECT_EQ(r.body, c.body) << c.path;
        EXPECT_EQ(r.error, QString::fromUtf8(c.error)) << c.path;
    }
    EXPECT_EQ(net::FetchBytes(server.url("/ver.dat")), binary);
    try {
        net::FetchBytes(server.url("/nothing"));
        FAIL() << "a 404 page was taken for the file";
    } catch (const net::FetchError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("伺服器回應 404 (找不到檔案)"));
    }
}

TEST(Fetch, SilentServerTimesOut)
{
    LoopbackServer server;
    server.respond = [](const QByteArray&) { return QByteArray(); };
    QElapsedTimer clock;
    clock.start();
    const net::FetchResult r = net::Fetch(server.url("/slow"), 300);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.error.startsWith(QStringLiteral("連線逾時"))) << r.error.toStdString();
    EXPECT_EQ(server.paths.size(), 1);
}

TEST(Fetch, UnreachableAndInvalidAddresses)
{
    quint16 closedPort;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        closedPort = probe.serverPort();
    }
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort), QStringLiteral("無法連線 (對方拒絕連線)")},
        {QStringLiteral("not an address"), QStringLiteral("網址不正確")},
    };
    for (const auto& [url, said] : cases) {
        const net::FetchResult r = net::Fetch(url, 5000);
        EXPECT_FALSE(r.ok) << url.toStdString();
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.error.startsWith(said)) << r.error.toStdString();
        EXPECT_THROW(net::FetchBytes(url, 5000), net::FetchError);
    }
}

// A body shorter than announced, one larger than allowed and an address
// that is not http(s) are failures; a whole body streams into the device as it arrives.
TEST(Fetch, WholeBodiesOnlyWithinTheLimit)
{
    const QByteArray body(200000, 'b');
    LoopbackServer server;
    server.respond = [&](const QByteArray& path) -> QByteArray {
        if (path == "/whole") return response("200 OK", body);
        if (path == "/short") return "HTTP/1.1 200 OK\r\nContent-Length: 200000\r\nConnection: close\r\n\r\n" + body.left(5000);
        if (path == "/unannounced") return "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body;
        return response("404 Not Found", "no");
    };
    const struct {
        const char* path;
        qint64 limit;
        bool ok;
        const char* error;
    } cases[] = {
        {"/whole", 200000, true, ""},
        {"/short", 1 << 20, false, "下載未完成"},
        {"/whole", 199999, false, "上限"},        // refused from the announced length
        {"/unannounced", 100000, false, "上限"},  // refused once that much arrived
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const net::FetchResult r = net::FetchTo(server.url(c.path), out, c.limit, 5000);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.error))) << r.error.toStdString();
        EXPECT_TRUE(r.body.isEmpty());
        if (c.ok)
            EXPECT_EQ(out.data(), body);
        else
            EXPECT_LE(out.data().size(), c.limit);
    }
    for (const char* url : {"file:///etc/passwd", "ftp://127.0.0.1/x", "data:,hello"}) {
        const net::FetchResult r = net::Fetch(QString::fromLatin1(url), 5000);
        EXPECT_FALSE(r.ok) << url;
        EXPECT_TRUE(r.body.isEmpty()) << url;
        EXPECT_FALSE(net::IsWebAddress(QString::fromLatin1(url)));
    }
    EXPECT_TRUE(net::IsWebAddress(server.url("/whole")));
}
