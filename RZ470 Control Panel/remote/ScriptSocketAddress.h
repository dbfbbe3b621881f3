#pragma once

#include <QDir>
#include <QStandardPaths>
#include <QString>

// Where the panel listens for script lines: a socket in the panel's private 0700 folder under
// the user's runtime folder, or on Windows a named pipe of the user's.
namespace scriptsocket {

inline constexpr const char* kPanelFolderName = "rz470-control-panel";
inline constexpr const char* kSocketName = "script";

#if defined(Q_OS_WIN)
inline QString Address(const QString& /*panelFolder*/) {
    return QStringLiteral("rz470-control-panel-script-") + qEnvironmentVariable("USERNAME");
}
#else
inline QString Address(const QString& panelFolder) {
    return QDir(panelFolder).filePath(QString::fromLatin1(kSocketName));
}
#endif

// The address as a client finds it: the running panel's, for this user.
inline QString DefaultAddress() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return Address(QDir(runtime).filePath(QString::fromLatin1(kPanelFolderName)));
}

}  // namespace scriptsocket
