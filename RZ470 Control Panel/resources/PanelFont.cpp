#include "PanelFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QResource>
#include <QStringList>

namespace {
int& registeredId() {
    static int id = -1;
    return id;
}

QString& familyName() {
    static QString family;
    return family;
}

QString& registeredPath() {
    static QString path;
    return path;
}
}  // namespace

int PanelFont::registerEmbeddedFont(const QString& path) {
    if (registeredId() >= 0 && registeredPath() == path) {
        return registeredId();
    }
    // Registered from its bytes: the face then works on them, where a registered path would have
    // the file read again when the face is first loaded. The embedded one is stored uncompressed,
    // so its bytes are used where they lie.
    QByteArray bytes;
    const QResource resource(path);
    if (resource.isValid()) {
        bytes = resource.uncompressedData();
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return -1;
        }
        bytes = file.readAll();
    }
    const int id = QFontDatabase::addApplicationFontFromData(bytes);
    if (id < 0) {
        return -1;
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        QFontDatabase::removeApplicationFont(id);
        return -1;
    }
    registeredId() = id;
    registeredPath() = path;
    familyName() = families.first();
    return id;
}

QString PanelFont::registeredFamily() {
    return familyName();
}

bool PanelFont::substituteFaceName() {
    if (familyName().isEmpty()) {
        return false;
    }
    QFont::insertSubstitution(QString::fromLatin1(kFaceName), familyName());
    return true;
}

QFont PanelFont::withCellHeight(int cellHeight) {
    QFont font(QString::fromLatin1(kFaceName));
    font.setWeight(QFont::Bold);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::PreferAntialias));
    // Glyph metrics round per pixel size, so the cell height is found by measuring rather than
    // computed from the face's proportions.
    for (int pixelSize = cellHeight; pixelSize > 1; --pixelSize) {
        font.setPixelSize(pixelSize);
        const QFontMetrics metrics(font);
        if (metrics.ascent() + metrics.descent() <= cellHeight) {
            break;
        }
    }
    return font;
}

PanelFont::Fonts PanelFont::createPanelFonts() {
    return Fonts{withCellHeight(kSmallCell), withCellHeight(kMediumCell), withCellHeight(kLargeCell)};
}
