// rz470-ctl: one command to the running panel, its answer, and an exit code a script can test:
// 0 done, 1 refused, 2 no panel running or bad usage.
#include "ScriptSocketAddress.h"
#include "ScriptWords.h"
#include "StatusText.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

#include <cstdio>

namespace {

enum Exit { kDone = 0, kRefused = 1, kNoPanelOrUsage = 2 };

constexpr int kConnectMs = 2000;
constexpr int kAnswerMs = 10000;
// An answer is never longer than this; a longer one is not the panel's.
constexpr qint64 kMaxAnswer = 1 << 20;

const char* const kUsage =
    "usage: rz470-ctl [--socket PATH] COMMAND [ARGUMENTS]\n"
    "  status [--json]     the unit and every LED\n"
    "  channel N           one LED, as JSON\n"
    "  on N [N...]         switch LEDs on; off N [N...] switches them off; all-off\n"
    "  level N [N...] PERCENT\n"
    "  name N TEXT\n"
    "  grouping | trigger | favourites | errors\n"
    "  grouping-mode 0|1|2; group N G; load NAME; timeout N MINUTES; sequence N STEP\n"
    "  watch               print the panel's events until it ends\n"
    "  help                the panel's own list of commands\n"
    "exit code: 0 done, 1 refused, 2 no panel running or bad usage\n";

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

// The next whole line from the panel, without its newline; none when the panel went or took too long.
std::optional<QByteArray> ReadLine(QLocalSocket& socket, int timeoutMs) {
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > kMaxAnswer || !socket.waitForReadyRead(timeoutMs)) {
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString address;
    if (args.size() >= 2 && args.first() == QLatin1String("--socket")) {
        address = args[1];
        args = args.mid(2);
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
    QLocalSocket socket;
    socket.connectToServer(server);
    if (!socket.waitForConnected(kConnectMs)) {
        // Qt calls a missing socket file an invalid name.
        const bool nobody = socket.error() == QLocalSocket::ServerNotFoundError ||
                            socket.error() == QLocalSocket::ConnectionRefusedError;
        Err(QStringLiteral("no panel is running for this user (%1: %2)")
                .arg(server, nobody ? QStringLiteral("nothing listens there") : socket.errorString()));
        return kNoPanelOrUsage;
    }
    socket.write(line + '\n');
    const std::optional<QByteArray> answer = ReadLine(socket, kAnswerMs);
    if (!answer) {
        Err(QStringLiteral("the panel did not answer"));
        return kNoPanelOrUsage;
    }
    const int exit = Answered(*answer, command, json);
    if (command != QLatin1String("watch") || exit != kDone) {
        return exit;
    }
    // Events until the panel ends or the user stops us.
    while (const std::optional<QByteArray> event = ReadLine(socket, -1)) {
        Out(*event);
    }
    return kDone;
}
