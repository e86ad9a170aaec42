#pragma once

#include <QString>

// The application's style sheet. It styles widgets by class and, above all, by object name, and
// serves every window the application opens; main() sets it on the application object before any
// window exists.
extern const QString strTonarixStyle;
