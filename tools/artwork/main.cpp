// rz470-artwork: draws the panel's pictures.
//
//   rz470-artwork --font PTS75F.ttf --output DIR [--expect FILE,FILE,...]
//       writes DIR/bitmaps/<id>.bmp (24-bit) and DIR/icons/267-<size>.png; with --expect, fails
//       unless exactly the listed files are written (the build's list must match the table)
//   rz470-artwork --font PTS75F.ttf --contact-sheet OUT.png
//   rz470-artwork --font PTS75F.ttf --mocks DIR
//       writes DIR/mock-<screen>.png, rough compositions of the screens with sample texts

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <cstdio>

#include "ArtworkStyle.h"
#include "PanelFont.h"
#include "PicturePainter.h"
#include "PictureTable.h"
#include "Preview.h"

namespace {
int fail(const QString& message) {
    std::fprintf(stderr, "rz470-artwork: %s\n", qPrintable(message));
    return 1;
}

bool save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.save(path);
}

int writePictures(const QString& outputDir, const QString& expected) {
    QSet<QString> written;
    for (const artwork::PictureRow& row : artwork::pictureTable()) {
        const QString name = QString::fromStdString(artwork::fileNameFor(row));
        // BMP output of a 32-bit image is 24-bit; the icon keeps its alpha in PNG.
        if (!save(artwork::renderPicture(row), QDir(outputDir).filePath(name))) {
            return fail(QStringLiteral("cannot write %1").arg(name));
        }
        written.insert(name);
    }
    if (!expected.isNull()) {
        const QStringList list = expected.split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QSet<QString> wanted(list.begin(), list.end());
        if (wanted != written) {
            QStringList unlisted = QSet<QString>(written).subtract(wanted).values();
            QStringList undrawn = QSet<QString>(wanted).subtract(written).values();
            unlisted.sort();
            undrawn.sort();
            return fail(
                QStringLiteral("the build's picture list does not match the table; drawn but not listed: "
                               "[%1], listed but not drawn: [%2]")
                    .arg(unlisted.join(QLatin1Char(' ')), undrawn.join(QLatin1Char(' '))));
        }
    }
    return 0;
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
    const QCommandLineOption expectOption(QStringLiteral("expect"),
                                          QStringLiteral("Comma-separated files the build expects."),
                                          QStringLiteral("files"));
    const QCommandLineOption sheetOption(QStringLiteral("contact-sheet"),
                                         QStringLiteral("Write a PNG of every picture with its id."),
                                         QStringLiteral("png"));
    const QCommandLineOption mocksOption(
        QStringLiteral("mocks"), QStringLiteral("Write mock screens into a folder."), QStringLiteral("dir"));
    parser.addOptions({fontOption, outputOption, expectOption, sheetOption, mocksOption});
    parser.process(app);

    const QString fontFile = parser.value(fontOption);
    if (fontFile.isEmpty() || !artwork::loadLetteringFont(fontFile)) {
        return fail(QStringLiteral("a usable --font file is required"));
    }
    if (!parser.isSet(outputOption) && !parser.isSet(sheetOption) && !parser.isSet(mocksOption)) {
        parser.showHelp(1);
    }

    if (parser.isSet(outputOption)) {
        const QString expected = parser.isSet(expectOption) ? parser.value(expectOption) : QString();
        if (const int result = writePictures(parser.value(outputOption), expected)) {
            return result;
        }
    }
    if (parser.isSet(sheetOption) && !save(artwork::contactSheet(), parser.value(sheetOption))) {
        return fail(QStringLiteral("cannot write %1").arg(parser.value(sheetOption)));
    }
    if (parser.isSet(mocksOption)) {
        if (PanelFont::registerEmbeddedFont(fontFile) < 0 || !PanelFont::substituteFaceName()) {
            return fail(QStringLiteral("cannot register %1 as the panel font").arg(fontFile));
        }
        const QDir dir(parser.value(mocksOption));
        for (const QString& name : artwork::mockScreenNames()) {
            const QString path = dir.filePath(QStringLiteral("mock-%1.png").arg(name));
            if (!save(artwork::mockScreen(name), path)) {
                return fail(QStringLiteral("cannot write %1").arg(path));
            }
        }
    }
    return 0;
}
