#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace TestSupport {

// Writes TonarixLite's settings file into the fresh home `home` before the program starts there:
// `entries` are its "Key=value" lines, one a line. False when it cannot be written.
inline bool writeProgramSettings(const QString& home, const QByteArray& entries)
{
    const QString support = home + QStringLiteral("/Library/Application Support/TonarixLite");
    const QByteArray text = "[TonarixLite]\n" + entries;
    QFile settings(support + QStringLiteral("/settings.plist"));
    return QDir().mkpath(support) && settings.open(QIODevice::WriteOnly) && settings.write(text) == text.size();
}

} // namespace TestSupport
