// Composing messages and handing them to a sendmail-compatible agent: a recording fake agent,
// and msmtp talking to an SMTP sink on the loopback address.
#include "platform/mail/Mail.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
// Qt's "signals" keyword would clash with a member of that name in GLib's headers.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

using testsupport::TempDir;

// The composed bytes read back by GMime's own parser, as a mail reader would.
struct Parsed {
    GMimeMessage* message = nullptr;
    explicit Parsed(const QByteArray& raw)
    {
        GMimeStream* stream = g_mime_stream_mem_new_with_buffer(raw.constData(), size_t(raw.size()));
        GMimeParser* parser = g_mime_parser_new_with_stream(stream);
        message = g_mime_parser_construct_message(parser, nullptr);
        g_object_unref(parser);
        g_object_unref(stream);
    }
    ~Parsed() { if (message) g_object_unref(message); }
    QString Header(const char* name) const
    {
        const char* v = g_mime_object_get_header(GMIME_OBJECT(message), name);
        return v ? QString::fromUtf8(v) : QString();
    }
    QString Subject() const { return QString::fromUtf8(g_mime_message_get_subject(message)); }
    QByteArray Decoded(GMimeObject* part) const
    {
        GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(part));
        GMimeStream* out = g_mime_stream_mem_new();
        g_mime_data_wrapper_write_to_stream(content, out);
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out));
        QByteArray result(reinterpret_cast<const char*>(bytes->data), int(bytes->len));
        g_object_unref(out);
        return result;
    }
};

mail::Message Sample()
{
    mail::Message m;
    m.recipientName = QStringLiteral("王小明");
    m.recipientAddress = QStringLiteral("ming@example.com");
    m.subject = QStringLiteral("新年快樂");
    m.body = QStringLiteral("第一行\n第二行");
    return m;
}

QString WriteScript(const TempDir& dir, const QString& name, const QString& text)
{
    const QString path = dir.write(name, text.toUtf8());
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

TEST(MailCompose, HeadersAndBodyReadBackAsTyped)
{
    mail::Message m = Sample();
    const Parsed parsed(mail::ComposeMessage(m));
    ASSERT_NE(parsed.message, nullptr);
    EXPECT_EQ(parsed.Subject(), m.subject);
    EXPECT_TRUE(parsed.Header("From").isEmpty());  // the agent fills in the sender

    InternetAddressList* to = g_mime_message_get_to(parsed.message);
    ASSERT_EQ(internet_address_list_length(to), 1);
    InternetAddress* a = internet_address_list_get_address(to, 0);
    EXPECT_EQ(QString::fromUtf8(internet_address_get_name(a)), m.recipientName);
    EXPECT_EQ(QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(a))), m.recipientAddress);

    GMimeObject* body = g_mime_message_get_mime_part(parsed.message);
    ASSERT_TRUE(GMIME_IS_TEXT_PART(body));
    EXPECT_EQ(g_mime_part_get_content_encoding(GMIME_PART(body)), GMIME_CONTENT_ENCODING_BASE64);
    EXPECT_EQ(parsed.Decoded(body), QStringLiteral("第一行\r\n第二行").toUtf8());
}

TEST(MailCompose, LineBreaksTypedIntoHeadersStayInsideThem)
{
    mail::Message m = Sample();
    m.subject = QStringLiteral("Hi\r\nBcc: spy@example.com");
    m.recipientName = QStringLiteral("Ann\r\nCc: spy@example.com");
    const QByteArray raw = mail::ComposeMessage(m);
    const Parsed parsed(raw);
    EXPECT_TRUE(parsed.Header("Bcc").isEmpty());
    EXPECT_TRUE(parsed.Header("Cc").isEmpty());
    EXPECT_TRUE(parsed.Subject().contains(QStringLiteral("Bcc: spy@example.com")));
    for (const QByteArray& line : raw.split('\n'))
        EXPECT_FALSE(line.startsWith("Bcc:") || line.startsWith("Cc:")) << line.constData();
}

TEST(MailCompose, AttachmentWithAChineseNameDecodesBackExactly)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("報價單 2026年.bmp"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QByteArray payload("BM\0\1\2\3\r\n\xff", 10);
    f.write(payload);
    f.close();

    mail::Message m = Sample();
    m.attachmentPath = path;
    const Parsed parsed(mail::ComposeMessage(m));
    GMimeObject* top = g_mime_message_get_mime_part(parsed.message);
    ASSERT_TRUE(GMIME_IS_MULTIPART(top));
    EXPECT_STREQ(g_mime_content_type_get_media_subtype(g_mime_object_get_content_type(top)), "mixed");
    ASSERT_EQ(g_mime_multipart_get_count(GMIME_MULTIPART(top)), 2);
    GMimeObject* text = g_mime_multipart_get_part(GMIME_MULTIPART(top), 0);
    EXPECT_EQ(parsed.Decoded(text), QStringLiteral("第一行\r\n第二行").toUtf8());
    GMimeObject* attachment = g_mime_multipart_get_part(GMIME_MULTIPART(top), 1);
    EXPECT_EQ(QString::fromUtf8(g_mime_part_get_filename(GMIME_PART(attachment))),
              QStringLiteral("報價單 2026年.bmp"));
    EXPECT_EQ(parsed.Decoded(attachment), payload);

    m.attachmentPath = dir.file(QStringLiteral("missing.bmp"));
    try {
        mail::ComposeMessage(m);
        ADD_FAILURE() << "an unreadable attachment was composed";
    } catch (const mail::MailError& e) {
        EXPECT_EQ(e.number, mail::kMailAttachmentOpenFailure);
    }
}

TEST(MailAddress, RefusedBeforeAnythingIsComposed)
{
    struct Case { const char* address; int number; };
    const Case cases[] = {
        {"", mail::kMailUnknownRecipient},
        {"ann@example.com", 0},
        {"ann b@example.com", mail::kMailInvalidRecips},
        {"ann@example.com\r\nBcc: x@y", mail::kMailInvalidRecips},
        {"-oQ/tmp@example.com", mail::kMailInvalidRecips},
        {"a@b@c", mail::kMailInvalidRecips},
        {"ann@", mail::kMailInvalidRecips},
        {"@example.com", mail::kMailInvalidRecips},
        {"Ann <ann@example.com>", mail::kMailInvalidRecips},
        {"ann@example.com,bob@example.com", mail::kMailInvalidRecips},
    };
    for (const Case& c : cases) {
        const auto error = mail::CheckAddress(QString::fromUtf8(c.address));
        EXPECT_EQ(error ? error->number : 0, c.number) << c.address;
    }
}

TEST(MailTransport, FakeAgentGetsOneCallPerMessageAndItsFailuresAreReported)
{
    TempDir dir;
    const QString log = dir.file(QStringLiteral("calls.log"));
    const QString agent = WriteScript(dir, QStringLiteral("sendmail"), QStringLiteral(
        "#!/bin/sh\n"
        "echo \"$# $*\" >> '%1'\n"
        "cat > '%1.'\"$3\"\n"
        "case \"$3\" in fail@*) echo 'relay refused' >&2; exit 75;; slow@*) sleep 5;; esac\n"
        "exit 0\n").arg(log));

    mail::SendmailTransport transport(agent, 1000);
    const QStringList addresses = {QStringLiteral("a@x.tw"), QStringLiteral("b@x.tw"), QStringLiteral("c@x.tw")};
    for (const QString& address : addresses) {
        mail::Message m = Sample();
        m.recipientAddress = address;
        EXPECT_FALSE(transport.Send(m).has_value()) << address.toStdString();
    }
    EXPECT_EQ(ReadAll(log), QStringLiteral("3 -i -- a@x.tw\n3 -i -- b@x.tw\n3 -i -- c@x.tw\n"));
    EXPECT_EQ(Parsed(ReadAll(log + QStringLiteral(".b@x.tw")).toUtf8()).Subject(), QStringLiteral("新年快樂"));

    mail::Message m = Sample();
    m.recipientAddress = QStringLiteral("fail@x.tw");
    auto error = transport.Send(m);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, mail::kMailFailure);
    EXPECT_TRUE(error->Text().startsWith(QStringLiteral("32002 ")));
    EXPECT_TRUE(error->description.contains(QStringLiteral("relay refused")));

    m.recipientAddress = QStringLiteral("slow@x.tw");
    error = transport.Send(m);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, mail::kMailNetworkFailure);

    m.recipientAddress = QStringLiteral("not an address");
    QFile::remove(log);
    error = transport.Send(m);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, mail::kMailInvalidRecips);
    EXPECT_FALSE(QFile::exists(log));  // refused before the agent ran

    error = mail::SendmailTransport(dir.file(QStringLiteral("no-such-agent")), 1000).Send(Sample());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, mail::kMailLoginFailure);
}

namespace {

// Whether a process has ended within a moment (a killed process dies when it next runs): gone,
// or a zombie waiting for the parent it was handed to.
bool Ended(const QString& pidFile)
{
    const QString pid = ReadAll(pidFile).trimmed();
    if (pid.isEmpty())
        return false;
    QElapsedTimer waited;
    waited.start();
    do {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray line = stat.readAll();
        if (line.mid(line.lastIndexOf(')') + 2, 1) == "Z")
            return true;
        QThread::msleep(10);
    } while (waited.elapsed() < 2000);
    return false;
}

}  // namespace

// Ended on the time-out, or at once by a stop pressed while the agent hangs (the time-out then
// a minute away): either way with every process it started, and reaped.
TEST(MailTransport, AHungAgentLeavesTheEventLoopRunningAndIsEndedWithWhatItStarted)
{
    TempDir dir;
    // One agent that ends on the request to end; one that ignores it, as does the child it
    // started, so that only the kill ends them.
    const char* const bodies[] = {
        "echo $$ > '%1/agent.pid'\nexec sleep 600\n",
        "trap '' TERM\necho $$ > '%1/agent.pid'\nsleep 600 &\necho $! > '%1/child.pid'\nwait\n",
    };
    struct Ending {
        const char* name;
        int timeoutMs;
        int stopAfterMs;  // -1: no stop
        int error;
    };
    const Ending endings[] = {
        {"time-out", 400, -1, mail::kMailNetworkFailure},
        {"stop", 60000, 400, mail::kMailUserAbort},
    };
    for (const Ending& ending : endings)
    for (const char* body : bodies) {
        SCOPED_TRACE(ending.name);
        QFile::remove(dir.file(QStringLiteral("agent.pid")));
        QFile::remove(dir.file(QStringLiteral("child.pid")));
        const QString agent = WriteScript(dir, QStringLiteral("sendmail"),
                                          QStringLiteral("#!/bin/sh\n") + QString::fromLatin1(body).arg(dir.path()));
        mail::SendmailTransport transport(agent, ending.timeoutMs, 300);
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(10);
        QTimer stop;
        stop.setSingleShot(true);
        QObject::connect(&stop, &QTimer::timeout, [&transport] { transport.Stop(); });
        if (ending.stopAfterMs >= 0)
            stop.start(ending.stopAfterMs);
        QElapsedTimer clock;
        clock.start();
        const auto error = transport.Send(Sample());
        const qint64 took = clock.elapsed();
        timer.stop();

        ASSERT_TRUE(error);
        EXPECT_EQ(error->number, ending.error);
        EXPECT_GE(ticks, 10) << body;  // the timer kept firing while the agent was waited for
        EXPECT_LT(took, 5000) << body;
        EXPECT_TRUE(Ended(dir.file(QStringLiteral("agent.pid")))) << body;
        if (QFile::exists(dir.file(QStringLiteral("child.pid"))))
            EXPECT_TRUE(Ended(dir.file(QStringLiteral("child.pid")))) << body;
    }
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("child.pid"))));
}

namespace {

// A one-message SMTP server on the loopback address, run on its own thread.
class SmtpSink {
public:
    SmtpSink()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        ::listen(fd_, 1);
        thread_ = std::thread([this] { Serve(); });
    }
    ~SmtpSink()
    {
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        if (thread_.joinable())
            thread_.join();
    }
    int Port() const { return port_; }
    // What the one message's DATA held, once the client has quit.
    QByteArray Data()
    {
        if (thread_.joinable())
            thread_.join();
        return data_;
    }
    QByteArray Recipients() const { return rcpt_; }

private:
    void Serve()
    {
        const int c = ::accept(fd_, nullptr, nullptr);
        if (c < 0)
            return;
        timeval tv{10, 0};
        ::setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        auto say = [c](const char* s) { (void)!::write(c, s, strlen(s)); };
        say("220 sink ESMTP\r\n");
        QByteArray buffer;
        bool inData = false;
        char chunk[4096];
        for (;;) {
            const ssize_t n = ::read(c, chunk, sizeof chunk);
            if (n <= 0)
                break;
            buffer.append(chunk, int(n));
            for (;;) {
                if (inData) {
                    const qsizetype end = buffer.indexOf("\r\n.\r\n");
                    if (end < 0)
                        break;
                    data_ = buffer.left(end + 2);
                    buffer.remove(0, end + 5);
                    inData = false;
                    say("250 queued\r\n");
                    continue;
                }
                const qsizetype eol = buffer.indexOf("\r\n");
                if (eol < 0)
                    break;
                const QByteArray line = buffer.left(eol);
                buffer.remove(0, eol + 2);
                const QByteArray verb = line.left(4).toUpper();
                if (verb == "EHLO") say("250-sink\r\n250 8BITMIME\r\n");
                else if (verb == "HELO") say("250 sink\r\n");
                else if (verb == "RCPT") { rcpt_ += line; say("250 ok\r\n"); }
                else if (verb == "DATA") { inData = true; say("354 go on\r\n"); }
                else if (verb == "QUIT") { say("221 bye\r\n"); ::close(c); return; }
                else say("250 ok\r\n");
            }
        }
        ::close(c);
    }

    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
    QByteArray data_;
    QByteArray rcpt_;
};

}  // namespace

TEST(MailTransport, MsmtpDeliversToALoopbackSmtpServer)
{
    const QString msmtp = QStandardPaths::findExecutable(QStringLiteral("msmtp"));
    ASSERT_FALSE(msmtp.isEmpty()) << "msmtp comes from scripts/setup";
    TempDir dir;
    SmtpSink sink;
    const QString agent = WriteScript(dir, QStringLiteral("sendmail"), QStringLiteral(
        "#!/bin/sh\nexec '%1' --file=/dev/null --host=127.0.0.1 --port=%2 --auth=off --tls=off "
        "--from=office@localhost \"$@\"\n").arg(msmtp).arg(sink.Port()));

    mail::Message m = Sample();
    m.attachmentPath = WriteScript(dir, QStringLiteral("名單.txt"), QStringLiteral("甲,乙\n"));
    const auto error = mail::SendmailTransport(agent, 20000).Send(m);
    ASSERT_FALSE(error.has_value()) << error->Text().toStdString();

    QByteArray data = sink.Data();
    EXPECT_TRUE(sink.Recipients().contains("<ming@example.com>"));
    data.replace("\r\n", "\n");
    const Parsed parsed(data);
    ASSERT_NE(parsed.message, nullptr);
    EXPECT_EQ(parsed.Subject(), QStringLiteral("新年快樂"));
    GMimeObject* top = g_mime_message_get_mime_part(parsed.message);
    ASSERT_TRUE(GMIME_IS_MULTIPART(top));
    EXPECT_EQ(QString::fromUtf8(g_mime_part_get_filename(GMIME_PART(g_mime_multipart_get_part(GMIME_MULTIPART(top), 1)))),
              QStringLiteral("名單.txt"));
}
