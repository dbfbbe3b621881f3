// rz470-ctl: one command to the running panel, its answer, and an exit code a script can test:
// 0 done, 1 refused, 2 no panel running, no answer in time or bad usage.
#include "ScriptSocketAddress.h"
#include "ScriptWords.h"
#include "StatusText.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QLocale>

#include <cstdio>

namespace {

enum Exit { kDone = 0, kRefused = 1, kNoPanelOrUsage = 2 };

// How long the panel has to take the connection and answer, unless --timeout says otherwise. A panel
// showing a message answers at once all the same; one that does not is hung or stopped.
constexpr double kDefaultTimeoutSeconds = 5;
constexpr double kMaxTimeoutSeconds = 3600;
// An answer is never longer than this; a longer one is not the panel's.
constexpr qint64 kMaxAnswer = 1 << 20;

const char* const kUsage =
    "usage: rz470-ctl [--socket PATH] [--timeout SECONDS] COMMAND [ARGUMENTS]\n"
    "  status [--json]     the unit and every LED\n"
    "  channel N           one LED, as JSON\n"
    "  on N [N...]         switch LEDs on; off N [N...] switches them off; all-off\n"
    "  level N [N...] PERCENT\n"
    "  name N TEXT\n"
    "  grouping | trigger | favourites | errors\n"
    "  grouping-mode 0|1|2; group N G; load NAME; timeout N MINUTES; sequence N STEP\n"
    "  watch               print the panel's events until it ends\n"
    "  help                the panel's own list of commands\n"
    "--timeout SECONDS: how long to wait for the panel's answer (default 5)\n"
    "exit code: 0 done, 1 refused, 2 no panel running, no answer in time or bad usage\n";

// Whatever the panel sent, and names in it, stays one line on the terminal and cannot steer it.
void Err(const QString& text) {
    std::fprintf(stderr, "rz470-ctl: %s\n", qPrintable(scriptwords::OneLine(text)));
}

void Out(const QByteArray& text) {
    const QByteArray line = scriptwords::OneLine(text);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The next whole line from the panel, without its newline; none when the panel went, sent too
// much or took past the deadline.
std::optional<QByteArray> ReadLine(QLocalSocket& socket, const QDeadlineTimer& deadline) {
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > kMaxAnswer || deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return std::nullopt;
        }
    }
    QByteArray line = socket.readLine(kMaxAnswer);
    line.chop(1);
    return line;
}

int Answered(const QByteArray& answer, const QString& command, bool json) {
    if (answer.startsWith("error ")) {
        const QByteArray rest = answer.mid(6);
        const QByteArray kind = rest.left(rest.indexOf(' '));
        Err(QString::fromUtf8(rest.mid(kind.size() + 1)) +
            (kind == "usage" ? QString() : QStringLiteral(" (%1)").arg(QString::fromUtf8(kind))));
        return kind == "usage" ? kNoPanelOrUsage : kRefused;
    }
    if (answer == "ok") {
        return kDone;
    }
    if (!answer.startsWith("ok ")) {
        Err(QStringLiteral("the panel answered what no panel says: %1")
                .arg(QString::fromUtf8(answer.left(80))));
        return kNoPanelOrUsage;
    }
    const QByteArray value = answer.mid(3);
    if (command == QLatin1String("status") && !json) {
        for (const QString& line : StatusText(QJsonDocument::fromJson(value).object())) {
            Out(line.toUtf8());
        }
    } else {
        Out(value);
    }
    return kDone;
}

// "--timeout" seconds as given: more than none, at most an hour.
std::optional<double> TimeoutSeconds(const QString& text) {
    bool ok = false;
    const double seconds = QLocale::c().toDouble(text, &ok);
    if (!ok || !(seconds > 0) || seconds > kMaxTimeoutSeconds) {
        return std::nullopt;
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString address;
    double timeoutSeconds = kDefaultTimeoutSeconds;
    while (!args.isEmpty() &&
           (args.first() == QLatin1String("--socket") || args.first() == QLatin1String("--timeout"))) {
        const QString option = args.takeFirst();
        if (args.isEmpty()) {
            Err(QStringLiteral("%1 takes a value").arg(option));
            return kNoPanelOrUsage;
        }
        const QString value = args.takeFirst();
        if (option == QLatin1String("--socket")) {
            address = value;
            continue;
        }
        const std::optional<double> seconds = TimeoutSeconds(value);
        if (!seconds) {
            Err(QStringLiteral("--timeout takes seconds, more than 0 and at most %1")
                    .arg(kMaxTimeoutSeconds));
            return kNoPanelOrUsage;
        }
        timeoutSeconds = *seconds;
    }
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? kNoPanelOrUsage : kDone;
    }
    const QString command = args.takeFirst();
    const bool json = command == QLatin1String("status") && args.removeAll(QStringLiteral("--json")) > 0;

    QStringList words{command};
    for (const QString& arg : args) {
        words << scriptwords::Quote(arg);
    }
    const QByteArray line = words.join(QLatin1Char(' ')).toUtf8();
    if (line.contains('\n') || line.contains('\r')) {
        Err(QStringLiteral("a command is one line"));
        return kNoPanelOrUsage;
    }

    // The socket forgets the address when it fails; the message names it.
    const QString server = address.isEmpty() ? scriptsocket::DefaultAddress() : address;
    const QDeadlineTimer deadline(static_cast<qint64>(timeoutSeconds * 1000));
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        // Qt calls a missing socket file an invalid name.
        const bool nobody = socket.error() == QLocalSocket::ServerNotFoundError ||
                            socket.error() == QLocalSocket::ConnectionRefusedError;
        Err(QStringLiteral("no panel is running for this user (%1: %2)")
                .arg(server, nobody ? QStringLiteral("nothing listens there") : socket.errorString()));
        return kNoPanelOrUsage;
    }
    socket.write(line + '\n');
    const std::optional<QByteArray> answer = ReadLine(socket, deadline);
    if (!answer) {
        Err(deadline.hasExpired()
                ? QStringLiteral("no answer from the panel within %1 s (--timeout SECONDS waits longer)")
                      .arg(timeoutSeconds)
            : socket.state() != QLocalSocket::ConnectedState
                ? QStringLiteral("the panel closed the connection without an answer")
                : QStringLiteral("the panel's answer is not a line of text"));
        return kNoPanelOrUsage;
    }
    const int exit = Answered(*answer, command, json);
    if (command != QLatin1String("watch") || exit != kDone) {
        return exit;
    }
    // Events until the panel ends or the user stops us.
    while (const std::optional<QByteArray> event = ReadLine(socket, QDeadlineTimer::Forever)) {
        Out(*event);
    }
    return kDone;
}
