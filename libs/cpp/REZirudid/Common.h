#pragma once

#include <QIcon>
#include <QString>

class QPushButton;

namespace REZirudid {

// Small helpers shared by the framework's widgets.
namespace Common {

// Gives a text button (object name "PushButton") room for its text in the larger bold font that
// the style sheet uses while the button has the focus, so the text is never clipped.
void fitPushButton(QPushButton* button);

// The name of a picture's double-density twin: ":/star.png" -> ":/star@2x.png".
QString doubleDensityName(const QString& picture);

// An icon of a compiled-in picture together with its "@2x" twin, where there is one, so that menus
// and buttons draw it sharply at every pixel ratio.
QIcon sharpIcon(const QString& picture);

// The pixel ratio pictures are drawn for: the application's screen's, or Qt's where no App runs.
double pixelRatio();

} // namespace Common
} // namespace REZirudid
