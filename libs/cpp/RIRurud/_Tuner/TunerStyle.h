#pragma once

#include <QString>

namespace RIRurud {

// The tuner window's style sheet: it styles the tuners' widgets and the framework's dialogs by
// object name. The tuner main page sets it on the whole application when it is built.
extern const QString strStyle;

} // namespace RIRurud
