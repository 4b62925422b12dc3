#include "app/looks.h"

#include <QFontDatabase>

namespace fav {

namespace {

// Adds the built-in face to the program's fonts. A system face of the same name may still be
// chosen over it; it has the same widths, which is what the layouts rely on.
bool LoadProgramFace() {
    bool loaded = true;
    for (const char* file : ProgramFaceFiles) {
        loaded = QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0 && loaded;
    }
    return loaded;
}

} // namespace

QFont DesignFont() {
    static const bool loaded = LoadProgramFace();
    (void)loaded;
    QFont font;
    // Should the built-in face ever be missing, a face of the same widths comes next.
    font.setFamilies(
        {QString::fromLatin1(ProgramFaceFamily), QStringLiteral("Arial"), QStringLiteral("Arimo")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

QPalette CabinetPalette() {
    // The light grey desktop palette of the Fusion style, the same in every window group so that
    // a cabinet without a window manager (where no window counts as active) looks the same.
    const QColor window(239, 239, 239);
    const QColor dark = window.darker(150);
    const QColor mid = window.darker(130);
    const QColor shadow = dark.darker(135);
    QPalette palette(Qt::black, window, window.lighter(150), dark, mid, Qt::black, Qt::white);
    palette.setColor(QPalette::Midlight, mid.lighter(110));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::Shadow, shadow);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(48, 140, 198));
    }

    // Disabled: a mid grey that reads clearly as "not selected" next to black, yet stays legible
    // from across the room. A disabled list looks like the window behind it rather than a white
    // box waiting for input, and keeps its selected row visible in grey.
    const QColor greyed(128, 128, 128);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, greyed);
    palette.setColor(QPalette::Disabled, QPalette::Text, greyed);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, greyed);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
    palette.setColor(QPalette::Disabled, QPalette::Shadow, shadow.lighter(150));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(144, 144, 144));
    return palette;
}

} // namespace fav
