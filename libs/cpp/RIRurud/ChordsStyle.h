#pragma once

#include <QString>

namespace RIRurud {

// The chord pages' style sheet, in the program's look: warm dark wood with ivory text and a teal
// accent. It holds placeholders for the sizes that differ between a desktop and a pocket device
// ($PANEL_BUTTON_SIZE, $QUALITY_BUTTON_WIDTH,
// $PANEL_FONT_SIZE, $PUSH_FONT_SIZE); ChordsMainPage::styleSheet() fills them.
extern const QString strChordsStyle;

} // namespace RIRurud
