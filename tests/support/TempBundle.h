#pragma once

#include <QString>
#include <QTemporaryDir>

namespace TestSupport {

// A throw-away application bundle: <tmp>/<name>/MacOS and <tmp>/<name>/Resources. A test can put
// the "independent" marker into Resources and copy a helper program into MacOS to run it from
// inside a real bundle.
class TempBundle
{
public:
    explicit TempBundle(const QString& name = QStringLiteral("Probe"));

    bool isValid() const { return m_dir.isValid(); }
    QString root() const;            // <tmp>/<name>
    QString executableDir() const;   // <tmp>/<name>/MacOS
    QString resourceDir() const;     // <tmp>/<name>/Resources/ (ending in "/")

    bool setIndependent(bool on);
    // Copies an executable into MacOS/ and returns its new path (empty on failure).
    QString installExecutable(const QString& sourcePath);

private:
    QTemporaryDir m_dir;
    QString m_name;
};

} // namespace TestSupport
