#include "StatusText.h"

#include <QJsonArray>

namespace {

QString YesNo(const QJsonObject& object, const char* key, const char* yes, const char* no) {
    return QString::fromLatin1(object.value(QLatin1String(key)).toBool() ? yes : no);
}

QString ChannelLine(const QJsonObject& channel) {
    const QString led = QStringLiteral("LED %1").arg(channel.value(QLatin1String("channel")).toInt());
    if (!channel.value(QLatin1String("fitted")).toBool()) {
        return led + QStringLiteral("  not fitted");
    }
    const QJsonValue level = channel.value(QLatin1String("level"));
    QString line = QStringLiteral("%1  %2 nm  %3  %4  %5")
                       .arg(led)
                       .arg(channel.value(QLatin1String("wavelength")).toInt(), 4)
                       .arg(channel.value(QLatin1String("name")).toString(), -10)
                       .arg(YesNo(channel, "on", "on ", "off"))
                       .arg(level.isDouble() ? QStringLiteral("%1 %").arg(level.toInt() / 10.0, 5, 'f', 1)
                                             : QStringLiteral("level unknown"));
    if (channel.value(QLatin1String("triggered")).toBool()) {
        line += QStringLiteral("  triggered");
    }
    if (const int alarm = channel.value(QLatin1String("alarm")).toInt(); alarm != 0) {
        line += QStringLiteral("  alarm 0x%1").arg(alarm, 4, 16, QLatin1Char('0'));
    }
    return line;
}

}  // namespace

QStringList StatusText(const QJsonObject& status) {
    if (!status.value(QLatin1String("connected")).toBool()) {
        return {QStringLiteral("unit: not connected")};
    }
    const QJsonObject versions = status.value(QLatin1String("versions")).toObject();
    QStringList lines{
        QStringLiteral("unit: model %1, serial %2, version %3")
            .arg(status.value(QLatin1String("model")).toString(),
                 status.value(QLatin1String("serial")).toString(),
                 versions.value(QLatin1String("unit")).toString()),
        QStringLiteral("light guide %1, knob %2, %3, scripting %4, demo loop %5")
            .arg(YesNo(status, "lightGuide", "inserted", "out"), YesNo(status, "knobLock", "locked", "free"),
                 YesNo(status, "triggered", "triggered", "not triggered"),
                 YesNo(status, "scriptingAllowed", "allowed", "off"),
                 YesNo(status, "demoLoop", "running", "stopped"))};
    if (const int alarm = status.value(QLatin1String("unitAlarm")).toInt(); alarm != 0) {
        lines << QStringLiteral("unit alarm 0x%1").arg(alarm, 4, 16, QLatin1Char('0'));
    }
    for (const QJsonValue channel : status.value(QLatin1String("channels")).toArray()) {
        lines << ChannelLine(channel.toObject());
    }
    return lines;
}
