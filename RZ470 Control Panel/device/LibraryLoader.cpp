#include "LibraryLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace LibraryLoader {

namespace {

platform::NativePath toNative(const QString& path) {
#if defined(_WIN32)
    return QDir::toNativeSeparators(path).toStdWString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString fromNative(const platform::NativePath& path) {
#if defined(_WIN32)
    return QDir::fromNativeSeparators(QString::fromStdWString(path));
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

}  // namespace

QStringList defaultSearchDirs() {
    QStringList dirs;
    dirs << QCoreApplication::applicationDirPath();
    for (const platform::NativePath& dir : platform::systemSearchDirs()) {
        dirs << fromNative(dir);
    }
    return dirs;
}

QString locate(const QString& fileName, const QStringList& dirs) {
    for (const QString& dir : dirs) {
        if (QDir::isRelativePath(dir)) {
            continue;  // a relative folder would resolve against the current directory
        }
        const QFileInfo candidate(QDir(dir).filePath(fileName));
        if (candidate.isFile()) {
            return candidate.absoluteFilePath();
        }
    }
    return {};
}

QByteArray readFixedFileInfo(const QString& path) {
    const std::vector<char> block = platform::fixedFileInfo(toNative(path));
    return QByteArray(block.data(), static_cast<qsizetype>(block.size()));
}

LoadOutcome load(const QString& path) {
    const platform::Opened opened = platform::open(toNative(path));
    return {opened.handle, opened.errorCode};
}

void* symbol(void* handle, const char* name) {
    return handle != nullptr ? platform::symbol(handle, name) : nullptr;
}

}  // namespace LibraryLoader
