#include "ProductVersion.h"

#if defined(_WIN32)

#include <QByteArray>

#include <windows.h>

// The executable's version resource, as the platform's own version tools read it.
QString ReadProductVersion(const QString& key) {
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
    const HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
    const void* locked = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (locked == nullptr) {
        return {};
    }
    // The queries may write into the block, and a resource is read-only: they get a copy.
    QByteArray block(static_cast<const char*>(locked),
                     static_cast<qsizetype>(SizeofResource(nullptr, found)));

    void* translation = nullptr;
    UINT length = 0;
    QString path;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &length) && length == 4) {
        const DWORD entry = *static_cast<const DWORD*>(translation);
        const WORD language = LOWORD(entry);
        const WORD codePage = HIWORD(entry);
        path = QString::asprintf("\\StringFileInfo\\%02X%02X%02X%02X\\", HIBYTE(language), LOBYTE(language),
                                 HIBYTE(codePage), LOBYTE(codePage));
    } else {
        path = QString::asprintf("\\StringFileInfo\\%04X04B0\\", GetUserDefaultLangID());
    }
    path += key;

    void* text = nullptr;
    if (!VerQueryValueW(block.data(), reinterpret_cast<LPCWSTR>(path.utf16()), &text, &length) ||
        text == nullptr) {
        return {};
    }
    return QString::fromWCharArray(static_cast<const wchar_t*>(text));
}

#else

#include "PanelVersion.h"

// Elsewhere the version is compiled in from the same project version.
QString ReadProductVersion(const QString& key) {
    if (key == QLatin1String("ProductVersion")) {
        return QStringLiteral(RZ470_PRODUCT_VERSION);
    }
    return {};
}

#endif
