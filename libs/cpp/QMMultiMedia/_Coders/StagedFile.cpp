#include "QMMultiMedia/_Coders/StagedFile.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace QMMultiMedia {

bool StagedFile::begin(const QString& target)
{
    discard();
    m_error.clear();
    const QFileInfo info(target);
    // Hidden, so that folder listings (play lists, covers) pass over a take being written.
    QTemporaryFile file(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    file.setAutoRemove(false);
    if (!file.open()) {
        m_error = QStringLiteral("%1 cannot be written: %2").arg(target, file.errorString());
        return false;
    }
    m_temporary = file.fileName();
    file.close();
    // The file that comes into place keeps the permissions of the one it replaces.
    const QFileDevice::Permissions perms = info.exists()
        ? QFile::permissions(target)
        : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(m_temporary, perms);
    m_target = target;
    return true;
}

bool StagedFile::commit()
{
    if (m_temporary.isEmpty())
        return false;
    // rename() replaces the target in one step: there is never a moment without a whole file.
    if (std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) != 0) {
        m_error = QStringLiteral("%1 cannot be put in place: %2").arg(m_target, QString::fromLocal8Bit(std::strerror(errno)));
        discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void StagedFile::discard()
{
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
    m_temporary.clear();
}

} // namespace QMMultiMedia
