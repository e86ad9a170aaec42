#pragma once

class QPushButton;

namespace REZirudid {

// Small helpers shared by the framework's widgets.
namespace Common {

// Gives a text button (object name "PushButton") room for its text in the larger bold font that
// the style sheet uses while the button has the focus, so the text is never clipped.
void fitPushButton(QPushButton* button);

} // namespace Common
} // namespace REZirudid
