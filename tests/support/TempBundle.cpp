#include "TempBundle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestSupport {

TempBundle::TempBundle(const QString& name)
    : m_name(name)
{
    if (m_dir.isValid()) {
        QDir().mkpath(executableDir());
        QDir().mkpath(resourceDir());
    }
}

QString TempBundle::root() const
{
    return m_dir.path() + "/" + m_name;
}

QString TempBundle::executableDir() const
{
    return root() + "/MacOS";
}

QString TempBundle::resourceDir() const
{
    return root() + "/Resources/";
}

bool TempBundle::setIndependent(bool on)
{
    const QString marker = resourceDir() + "independent";
    if (!on)
        return !QFile::exists(marker) || QFile::remove(marker);
    QFile file(marker);
    return file.open(QIODevice::WriteOnly);
}

QString TempBundle::installExecutable(const QString& sourcePath)
{
    const QString target = executableDir() + "/" + QFileInfo(sourcePath).fileName();
    QFile::remove(target);
    if (!QFile::copy(sourcePath, target))
        return QString();
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ExeOwner
                                      | QFileDevice::ExeUser);
    return target;
}

} // namespace TestSupport
