#include "QMMultiMedia/_Coders/StagedFile.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QMMultiMedia {

namespace {

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QByteArray procPath(int fd)
{
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// A hidden name beside the target that nothing has yet, so that folder listings (play lists,
// covers) pass over a take being written.
QString hiddenNameBeside(const QString& target)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QFileInfo info(target);
    for (;;) {
        QString suffix;
        for (int i = 0; i < 6; ++i)
            suffix += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
        const QString name = info.absoluteDir().filePath(QStringLiteral(".%1.%2").arg(info.fileName(), suffix));
        struct stat st;
        if (::lstat(encoded(name).constData(), &st) != 0)
            return name;
    }
}

} // namespace

bool StagedFile::fail(const QString& what)
{
    m_errno = errno;
    m_error = QStringLiteral("%1: %2").arg(what, qt_error_string(errno));
    return false;
}

bool StagedFile::openBeside(const QString& folder)
{
    // 0666 and the umask: the permissions the file gets when the target is new.
    m_fd = ::open(encoded(folder).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (m_fd >= 0) {
        // Linked into place and opened again through /proc; without it, a name is needed.
        if (::access(procPath(m_fd).constData(), F_OK) == 0)
            return true;
        ::close(m_fd);
        m_fd = -1;
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = hiddenNameBeside(m_target);
        m_fd = ::open(encoded(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temporary = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool StagedFile::begin(const QString& target)
{
    discard();
    m_error.clear();
    m_errno = 0;
    m_target = target;
    const QFileInfo info(target);
    if (!openBeside(info.absolutePath()))
        return fail(QStringLiteral("%1 cannot be written").arg(target));
    struct stat st;
    if (::stat(encoded(target).constData(), &st) == 0)
        m_mode = st.st_mode & 0777;
    else if (::fstat(m_fd, &st) == 0)
        m_mode = st.st_mode & 0777;
    // Private while it is written, and writable whatever it is to become.
    ::fchmod(m_fd, S_IRUSR | S_IWUSR);
    m_brief = hiddenNameBeside(target);
    return true;
}

bool StagedFile::linkInPlace()
{
    const QByteArray file = procPath(m_fd);
    const QByteArray target = encoded(m_target);
    // A new target is linked in one step.
    if (::linkat(AT_FDCWD, file.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    // rename() replaces an existing target in one step, so the file gets a name of its own first.
    // That name lasts only from the link to the rename.
    QByteArray brief;
    for (int attempt = 0;; ++attempt) {
        brief = encoded(hiddenNameBeside(m_target));
        if (::linkat(AT_FDCWD, file.constData(), AT_FDCWD, brief.constData(), AT_SYMLINK_FOLLOW) == 0)
            break;
        if (errno != EEXIST || attempt == 100)
            return false;
    }
    if (std::rename(brief.constData(), target.constData()) == 0)
        return true;
    const int why = errno;
    ::unlink(brief.constData());
    errno = why;
    return false;
}

bool StagedFile::commit()
{
    if (m_fd < 0)
        return false;
    ::fchmod(m_fd, mode_t(m_mode));
    const bool placed = m_temporary.isEmpty()
        ? linkInPlace()
        : std::rename(encoded(m_temporary).constData(), encoded(m_target).constData()) == 0;
    if (!placed) {
        fail(QStringLiteral("%1 cannot be put in place").arg(m_target));
        discard();
        return false;
    }
    m_temporary.clear();
    ::close(m_fd);
    m_fd = -1;
    return true;
}

bool StagedFile::isFullErrno(int code)
{
    return code == ENOSPC || code == EDQUOT || code == EFBIG;
}

qint64 StagedFile::writeAt(qint64 offset, const void* data, qint64 size)
{
    const char* bytes = static_cast<const char*>(data);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(m_fd, bytes + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that makes no progress without a reason has met the end of the room.
            m_errno = n < 0 ? errno : ENOSPC;
            break;
        }
        done += n;
    }
    return done;
}

qint64 StagedFile::readAt(qint64 offset, void* data, qint64 size) const
{
    ssize_t n;
    do
        n = ::pread(m_fd, data, size_t(size), off_t(offset));
    while (n < 0 && errno == EINTR);
    return n;
}

qint64 StagedFile::size() const
{
    struct stat st;
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? qint64(st.st_size) : -1;
}

bool StagedFile::truncate(qint64 size)
{
    return m_fd >= 0 && ::ftruncate(m_fd, off_t(size)) == 0;
}

void StagedFile::discard()
{
    if (!m_temporary.isEmpty())
        ::unlink(encoded(m_temporary).constData());
    handOver();
}

void StagedFile::handOver()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_temporary.clear();
}

} // namespace QMMultiMedia
