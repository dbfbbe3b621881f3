#pragma once

#include <QFont>
#include <QString>

// The panel's one typeface. The program carries PT Sans Bold as a resource and registers it for
// its own process only; the panel's texts ask for the face name "Myriad Pro", which is mapped
// onto it. All functions need a QGuiApplication.
//
// Start-up, in this order:
//   if (PanelFont::registerEmbeddedFont() < 0) { report "Unable to load Font!" }
//   PanelFont::substituteFaceName();
//   const PanelFont::Fonts fonts = PanelFont::createPanelFonts();
class PanelFont {
public:
    static constexpr const char* kFaceName = "Myriad Pro";
    static constexpr const char* kResourcePath = ":/fonts/panel.ttf";

    // Cell heights (ascent + descent, in pixels) of FontSmall, FontMedium and FontLarge.
    static constexpr int kSmallCell = 16;
    static constexpr int kMediumCell = 20;
    static constexpr int kLargeCell = 24;

    struct Fonts {
        QFont small;
        QFont medium;
        QFont large;
    };

    // Registers the face in the font file at path (the embedded one by default) for this process.
    // Returns the font database id, or -1 when the file is missing or not a usable font. A second
    // call with the same path returns the id of the first successful one.
    static int registerEmbeddedFont(const QString& path = QString::fromLatin1(kResourcePath));

    // Family name of the registered face; empty before a successful registration.
    static QString registeredFamily();

    // Maps kFaceName onto the registered face. False when nothing is registered; fonts made by
    // face name then fall back to whatever the system offers.
    static bool substituteFaceName();

    // Bold kFaceName, antialiased, at the largest pixel size whose ascent + descent does not
    // exceed cellHeight. Not every face reaches every cell height exactly: PT Sans Bold gives
    // 20 and 24 exactly but 15 for 16 (12 px; 13 px would be 17).
    static QFont withCellHeight(int cellHeight);

    // FontSmall, FontMedium and FontLarge.
    static Fonts createPanelFonts();
};
