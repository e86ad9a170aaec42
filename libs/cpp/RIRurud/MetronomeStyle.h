#pragma once

#include <QString>

namespace RIRurud {

// The metronome page's looks: the beat marks, the button faces, the tempo and its list, on the dark
// panel that floats over the face. Whoever shows the page sets it on the application together with
// the application's own sheet (it only adds rules for the metronome's object names).
QString metronomeStyleSheet();

} // namespace RIRurud
