// rz470-artwork: draws the panel's pictures.
//
//   rz470-artwork --font PTS75F.ttf --output DIR [--qrc FILE]
//       writes DIR/bitmaps/<id>.bmp and 2x/<id>.bmp (24-bit), each with <id>.packed beside it
//       (the same pixels packed into runs), and DIR/icons/267-<size>.png; with
//       --qrc, also a Qt resource file listing exactly those pictures and the typeface, which the
//       build embeds
//   rz470-artwork --font PTS75F.ttf --contact-sheet OUT.png
//   rz470-artwork --ids FILE
//       writes a C++ header naming every picture id, rewritten only when its text changes

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <cstdio>
#include <optional>

#include "ArtworkStyle.h"
#include "PackedPicture.h"
#include "PanelFont.h"
#include "PicturePainter.h"
#include "PictureTable.h"
#include "Preview.h"

namespace {
int fail(const QString& message) {
    std::fprintf(stderr, "rz470-artwork: %s\n", qPrintable(message));
    return 1;
}

// Left untouched when it already says the same, so that what includes it is not built again.
bool writeIdsHeader(const QString& path) {
    const QByteArray text = QByteArray::fromStdString(artwork::pictureIdsHeader());
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == text) {
        return true;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

bool save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.save(path);
}

// Packs the bitmap just written at path into runs beside it, from the file's own bytes, so the
// panel draws exactly the pixels it would have packed itself. The packed file's name, or empty
// after telling why.
QString writePacked(const QString& path, const QString& name) {
    QFile bitmap(path);
    const std::optional<PackedPicture> packed =
        bitmap.open(QIODevice::ReadOnly) ? PackedPicture::FromBitmapFile(bitmap.readAll()) : std::nullopt;
    const QString packedName = QString(name).replace(QLatin1String(".bmp"), QLatin1String(".packed"));
    QSaveFile file(QFileInfo(path).absoluteDir().filePath(QFileInfo(packedName).fileName()));
    if (!packed || !file.open(QIODevice::WriteOnly) || file.write(packed->Serialize()) < 0 ||
        !file.commit()) {
        fail(QStringLiteral("cannot write %1").arg(packedName));
        return {};
    }
    return packedName;
}

// Fills written with the files relative to outputDir. Every bitmap comes at scale 1 and, in
// bitmaps/2x/, at scale 2; the icon has its sizes already.
bool writePictures(const QString& outputDir, QStringList& written) {
    for (const artwork::PictureRow& row : artwork::pictureTable()) {
        const bool icon = row.isIcon();
        for (const int scale : {1, 2}) {
            if (icon && scale != 1) {
                continue;
            }
            const QString name = QString::fromStdString(artwork::fileNameFor(row, scale));
            // Two rows on one file would leave one of them silently undrawn.
            if (written.contains(name)) {
                fail(QStringLiteral("two rows of the picture table write %1").arg(name));
                return false;
            }
            // BMP output of a 32-bit image is 24-bit; the icon keeps its alpha in PNG.
            const QString path = QDir(outputDir).filePath(name);
            if (!save(artwork::renderPicture(row, scale), path)) {
                fail(QStringLiteral("cannot write %1").arg(name));
                return false;
            }
            written.append(name);
            if (!icon) {
                const QString packedName = writePacked(path, name);
                if (packedName.isEmpty()) {
                    return false;
                }
                written.append(packedName);
            }
        }
    }
    return true;
}

// The resource file names the pictures relative to itself, so their resource paths are the
// paths under outputDir; the typeface goes under the path the panel loads it from.
bool writeResourceFile(const QString& qrcPath, const QString& outputDir, const QStringList& pictures,
                       const QString& fontFile) {
    const QDir qrcDir = QFileInfo(qrcPath).absoluteDir();
    const QString fontAlias = QString::fromLatin1(PanelFont::kResourcePath).section(QLatin1Char('/'), 1);

    QSaveFile file(qrcPath);
    if (!qrcDir.mkpath(QStringLiteral(".")) || !file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("RCC"));
    xml.writeStartElement(QStringLiteral("qresource"));
    xml.writeAttribute(QStringLiteral("prefix"), QStringLiteral("/"));
    for (const QString& name : pictures) {
        xml.writeStartElement(QStringLiteral("file"));
        xml.writeAttribute(QStringLiteral("alias"), name);
        // The panel unpacks a picture once. At scale 1 zlib, which the process has loaded anyway
        // for its icons; the four times larger pictures for scale 2 in the fastest to unpack.
        if (name.startsWith(QLatin1String("bitmaps/"))) {
            const bool large = name.startsWith(QLatin1String("bitmaps/2x/"));
            xml.writeAttribute(QStringLiteral("compression-algorithm"),
                               large ? QStringLiteral("best") : QStringLiteral("zlib"));
        }
        xml.writeCharacters(qrcDir.relativeFilePath(QDir(outputDir).absoluteFilePath(name)));
        xml.writeEndElement();
    }
    xml.writeStartElement(QStringLiteral("file"));
    xml.writeAttribute(QStringLiteral("alias"), fontAlias);
    // Stored as it is, so the panel hands the typeface its bytes in place instead of a copy.
    xml.writeAttribute(QStringLiteral("compression-algorithm"), QStringLiteral("none"));
    xml.writeCharacters(QFileInfo(fontFile).absoluteFilePath());
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && file.commit();
}
}  // namespace

int main(int argc, char* argv[]) {
    // Pictures are drawn without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the panel's pictures."));
    parser.addHelpOption();
    const QCommandLineOption fontOption(QStringLiteral("font"), QStringLiteral("PT Sans Bold font file."),
                                        QStringLiteral("file"));
    const QCommandLineOption outputOption(QStringLiteral("output"),
                                          QStringLiteral("Folder for the pictures."), QStringLiteral("dir"));
    const QCommandLineOption qrcOption(QStringLiteral("qrc"),
                                       QStringLiteral("With --output, write a Qt resource file of the "
                                                      "pictures and the typeface."),
                                       QStringLiteral("file"));
    const QCommandLineOption sheetOption(QStringLiteral("contact-sheet"),
                                         QStringLiteral("Write a PNG of every picture with its id."),
                                         QStringLiteral("png"));
    const QCommandLineOption idsOption(QStringLiteral("ids"),
                                       QStringLiteral("Write a C++ header naming every picture id."),
                                       QStringLiteral("file"));
    parser.addOptions({fontOption, outputOption, qrcOption, sheetOption, idsOption});
    parser.process(app);

    // The names need no drawing, and so no typeface.
    if (parser.isSet(idsOption)) {
        if (!writeIdsHeader(parser.value(idsOption))) {
            return fail(QStringLiteral("cannot write %1").arg(parser.value(idsOption)));
        }
        if (!parser.isSet(outputOption) && !parser.isSet(sheetOption)) {
            return 0;
        }
    }

    const QString fontFile = parser.value(fontOption);
    if (fontFile.isEmpty() || !artwork::loadLetteringFont(fontFile)) {
        return fail(QStringLiteral("a usable --font file is required"));
    }
    if (!parser.isSet(outputOption) && !parser.isSet(sheetOption)) {
        parser.showHelp(1);
    }
    if (parser.isSet(qrcOption) && !parser.isSet(outputOption)) {
        return fail(QStringLiteral("--qrc needs --output"));
    }

    if (parser.isSet(outputOption)) {
        const QString outputDir = parser.value(outputOption);
        QStringList pictures;
        if (!writePictures(outputDir, pictures)) {
            return 1;
        }
        if (parser.isSet(qrcOption) &&
            !writeResourceFile(parser.value(qrcOption), outputDir, pictures, fontFile)) {
            return fail(QStringLiteral("cannot write %1").arg(parser.value(qrcOption)));
        }
    }
    if (parser.isSet(sheetOption) && !save(artwork::contactSheet(), parser.value(sheetOption))) {
        return fail(QStringLiteral("cannot write %1").arg(parser.value(sheetOption)));
    }
    return 0;
}
