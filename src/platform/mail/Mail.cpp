#include "platform/mail/Mail.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

// Qt's "signals" keyword would clash with a member of that name in GLib's headers.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

namespace mail {

namespace {

void InitGMime()
{
    static const bool once = [] {
        g_mime_init();
        return true;
    }();
    (void)once;
}

// Owns one GObject reference.
template <typename T>
struct Ref {
    T* p = nullptr;
    explicit Ref(T* object) : p(object) {}
    ~Ref() { if (p) g_object_unref(p); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* get() const { return p; }
};

// A display name goes into a header: a line break in it would start a header of its own.
QByteArray HeaderText(const QString& text)
{
    QString flat = text;
    for (QChar& c : flat)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    return flat.toUtf8();
}

QByteArray WithCrLf(const QString& text)
{
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    normal.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return normal.toUtf8();
}

MailError Error(int number, const QString& description) { return MailError{number, description}; }

// Waits up to `ms` until the agent has left the state it is in (starting, or running), with the
// event loop running meanwhile, so the windows repaint and take clicks. True when it did.
bool WaitWhile(QProcess& agent, QProcess::ProcessState state, int ms)
{
    if (agent.state() != state)
        return true;
    if (!QCoreApplication::instance())
        return state == QProcess::Starting ? agent.waitForStarted(ms) : agent.waitForFinished(ms);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&agent, &QProcess::stateChanged, &loop, [&](QProcess::ProcessState now) {
        if (now != state)
            loop.quit();
    });
    timer.start(ms);
    loop.exec();
    return agent.state() != state;
}

// Ends an agent that did not finish in time, with everything it started: its process group is
// asked to end, then killed, and the agent is reaped.
void EndAgent(QProcess& agent, int graceMs)
{
    const pid_t group = pid_t(agent.processId());
    if (group > 0)
        ::kill(-group, SIGTERM);
    WaitWhile(agent, QProcess::Running, graceMs);
    if (group > 0)
        ::kill(-group, SIGKILL);  // what ignored the request, the agent's children included
    if (agent.state() != QProcess::NotRunning) {
        agent.kill();
        WaitWhile(agent, QProcess::Running, 5000);
    }
}

}  // namespace

std::optional<MailError> CheckAddress(const QString& address)
{
    if (address.isEmpty())
        return Error(kMailUnknownRecipient, QStringLiteral("沒有收件人的電子郵件地址"));
    const QString bad = QStringLiteral("收件人的電子郵件地址不正確: ");
    for (QChar c : address)
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || c == QLatin1Char('<') || c == QLatin1Char('>')
            || c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char('"'))
            return Error(kMailInvalidRecips, bad + HeaderText(address));
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (address.startsWith(QLatin1Char('-')) || at <= 0 || at != address.lastIndexOf(QLatin1Char('@'))
        || at == address.size() - 1)
        return Error(kMailInvalidRecips, bad + address);
    return std::nullopt;
}

QByteArray ComposeMessage(const Message& message)
{
    if (auto error = CheckAddress(message.recipientAddress))
        throw *error;
    InitGMime();

    Ref<GMimeMessage> mime(g_mime_message_new(FALSE));
    g_mime_message_add_mailbox(mime.get(), GMIME_ADDRESS_TYPE_TO,
                               HeaderText(message.recipientName).constData(),
                               message.recipientAddress.toUtf8().constData());
    // Encoded as a whole when it holds anything but plain printable ASCII, so "\r\nBcc: x"
    // typed into the subject stays text inside the subject.
    g_mime_message_set_subject(mime.get(), message.subject.toUtf8().constData(), "utf-8");
    GDateTime* now = g_date_time_new_now_local();
    g_mime_message_set_date(mime.get(), now);
    g_date_time_unref(now);
    char* id = g_mime_utils_generate_message_id("tessarine.localhost");
    g_mime_message_set_message_id(mime.get(), id);
    g_free(id);

    Ref<GMimeTextPart> text(g_mime_text_part_new_with_subtype("plain"));
    g_mime_text_part_set_text(text.get(), WithCrLf(message.body).constData());
    g_mime_text_part_set_charset(text.get(), "utf-8");
    g_mime_part_set_content_encoding(GMIME_PART(text.get()), GMIME_CONTENT_ENCODING_BASE64);

    if (message.attachmentPath.isEmpty()) {
        g_mime_message_set_mime_part(mime.get(), GMIME_OBJECT(text.get()));
    } else {
        QFile file(message.attachmentPath);
        if (!file.open(QIODevice::ReadOnly))
            throw Error(kMailAttachmentOpenFailure,
                        QStringLiteral("無法開啟附件檔案: ") + message.attachmentPath);
        const QByteArray bytes = file.readAll();
        Ref<GMimePart> attachment(g_mime_part_new_with_type("application", "octet-stream"));
        Ref<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.constData(), size_t(bytes.size())));
        Ref<GMimeDataWrapper> content(
            g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
        g_mime_part_set_content(attachment.get(), content.get());
        g_mime_part_set_filename(attachment.get(),
                                 HeaderText(QFileInfo(message.attachmentPath).fileName()).constData());
        g_mime_part_set_content_encoding(attachment.get(), GMIME_CONTENT_ENCODING_BASE64);

        Ref<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixed.get(), GMIME_OBJECT(text.get()));
        g_mime_multipart_add(mixed.get(), GMIME_OBJECT(attachment.get()));
        g_mime_message_set_mime_part(mime.get(), GMIME_OBJECT(mixed.get()));
    }

    char* raw = g_mime_object_to_string(GMIME_OBJECT(mime.get()), nullptr);
    QByteArray out(raw);
    g_free(raw);
    return out;
}

SendmailTransport::SendmailTransport(QString program, int timeoutMs, int graceMs)
    : program_(std::move(program)), timeoutMs_(timeoutMs), graceMs_(graceMs)
{
}

SendmailTransport::~SendmailTransport()
{
    Stop();
}

void SendmailTransport::Stop()
{
    stopped_ = true;
    if (!agent_ || agent_->state() == QProcess::NotRunning)
        return;
    if (agent_->state() == QProcess::Starting)
        agent_->waitForStarted(graceMs_);
    EndAgent(*agent_, graceMs_);
}

QString SendmailTransport::DefaultProgram()
{
    const QString named = QProcessEnvironment::systemEnvironment().value(QStringLiteral("TESSARINE_SENDMAIL"));
    return named.isEmpty() ? QStringLiteral("/usr/sbin/sendmail") : named;
}

std::optional<MailError> SendmailTransport::Send(const Message& message)
{
    QByteArray bytes;
    try {
        bytes = ComposeMessage(message);
    } catch (const MailError& error) {
        return error;
    }
    const QString noAgent = QStringLiteral("找不到郵件程式 %1 (請安裝 sendmail 相容的郵件程式,例如 msmtp-mta)").arg(program_);
    if (!QFileInfo(program_).isExecutable())
        return Error(kMailLoginFailure, noAgent);

    stopped_ = false;
    QProcess agent;
    agent_ = &agent;
    struct Forget {
        QProcess*& agent;
        ~Forget() { agent = nullptr; }
    } forget{agent_};
    const auto stoppedHere = [&] {
        if (agent.state() != QProcess::NotRunning)
            EndAgent(agent, graceMs_);
        return Error(kMailUserAbort, QStringLiteral("已停止傳送"));
    };
    agent.setProcessChannelMode(QProcess::SeparateChannels);
    // In a process group of its own, so that ending it also ends what it started.
    agent.setChildProcessModifier([] { ::setpgid(0, 0); });
    agent.start(program_, {QStringLiteral("-i"), QStringLiteral("--"), message.recipientAddress});
    const bool started = WaitWhile(agent, QProcess::Starting, timeoutMs_);
    if (stopped_)
        return stoppedHere();
    if (!started || agent.state() != QProcess::Running) {
        if (agent.state() != QProcess::NotRunning)
            EndAgent(agent, graceMs_);
        return Error(kMailLoginFailure, noAgent);
    }
    agent.write(bytes);
    agent.closeWriteChannel();
    const bool finished = WaitWhile(agent, QProcess::Running, timeoutMs_);
    if (stopped_)
        return stoppedHere();
    if (!finished) {
        EndAgent(agent, graceMs_);
        return Error(kMailNetworkFailure,
                     QStringLiteral("郵件程式沒有在時間內完成傳送，已將它結束。請檢查郵件程式的設定與網路連線。"));
    }
    if (agent.exitStatus() != QProcess::NormalExit || agent.exitCode() != 0) {
        QString said = QString::fromLocal8Bit(agent.readAllStandardError()).trimmed();
        if (said.isEmpty())
            said = QString::fromLocal8Bit(agent.readAllStandardOutput()).trimmed();
        QString text = QStringLiteral("郵件程式無法傳送 (結束碼 %1)").arg(agent.exitCode());
        if (!said.isEmpty())
            text += QStringLiteral(": ") + said;
        return Error(kMailFailure, text);
    }
    return std::nullopt;
}

}  // namespace mail
