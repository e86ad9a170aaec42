#pragma once

// The one visual design of every generated picture: a warm wood-and-ivory look with a deep teal
// accent. Producers take colours and fonts from here so that all pictures belong together.

#include "RIRurud/BoardMarks.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace imagegen {
namespace palette {

// Surfaces
inline QColor paper() { return QColor(0xFB, 0xF7, 0xEE); }        // staff paper, light panels
inline QColor panel() { return QColor(0xEE, 0xE8, 0xDC); }        // bars and frames
inline QColor panelDark() { return QColor(0x3A, 0x33, 0x2C); }    // dark bars, text on light
inline QColor line() { return QColor(0xC9, 0xBE, 0xAA); }         // hairlines and borders

// Accent (buttons, selections, marks)
inline QColor accent() { return QColor(0x1F, 0x7A, 0x8C); }       // teal
inline QColor accentLight() { return QColor(0x4F, 0xA8, 0xB8); }  // hover
inline QColor accentDark() { return QColor(0x15, 0x55, 0x62); }   // pressed / checked
inline QColor warm() { return QColor(0xD9, 0x83, 0x2E); }         // secondary accent (amber)
inline QColor good() { return QColor(0x3C, 0x9D, 0x5D); }         // right answers
inline QColor bad() { return QColor(0xC8, 0x43, 0x3A); }          // wrong answers
inline QColor disabled() { return QColor(0xB8, 0xB2, 0xA8); }

// Wood and metal of the instruments
inline QColor rosewood() { return QColor(0x4A, 0x2C, 0x1D); }     // fingerboard
inline QColor rosewoodLight() { return QColor(0x6B, 0x43, 0x2C); }
inline QColor maple() { return QColor(0xD8, 0xB0, 0x78); }        // bodies and necks
inline QColor bone() { return QColor(0xF1, 0xE9, 0xD2); }         // nut, inlays
inline QColor fretSilver() { return QColor(0xC9, 0xCC, 0xCF); }
inline QColor string() { return QColor(0xE3, 0xD6, 0xB0); }

// Overlay marks on the boards: red above 50 on purpose (the training display looks for it); the
// boards draw their bars in it too.
inline QColor mark() { return QColor::fromRgb(QRgb(RIRurud::BoardMarks::kMarkColour)); }
inline QColor markRing() { return QColor(0xFF, 0xF4, 0xE6); }

// Fonts (from Debian's packages: DejaVu for text, FreeSerif and Noto Music for music glyphs)
inline QString textFamily() { return QStringLiteral("DejaVu Sans"); }
inline QString musicFamily() { return QStringLiteral("FreeSerif"); }

inline QFont textFont(qreal pixelSize, int weight = QFont::Normal)
{
    QFont f(textFamily());
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(weight);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace palette
} // namespace imagegen
