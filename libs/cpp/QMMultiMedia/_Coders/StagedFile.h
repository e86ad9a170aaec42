#pragma once

#include <QString>
#include <QtGlobal>

namespace QMMultiMedia {

// A file written whole or not at all. It is written beside its target as a file without a name
// (O_TMPFILE), which vanishes by itself when the process ends before it is complete, and is
// linked into place only once complete; an existing target is replaced in one step (the file is
// linked under a brief hidden name and renamed over it). Where the file system cannot make a
// file without a name, a hidden temporary name beside the target stands in.
//
// A new target gets the permissions the umask gives a new file; one that replaces an older file
// gets the older file's.
class StagedFile
{
public:
    StagedFile() = default;
    ~StagedFile() { discard(); }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Makes the staged file beside the target; false (with the reason) when it cannot be made.
    bool begin(const QString& target);
    bool isOpen() const { return m_fd >= 0; }
    // The staged file, open for reading and writing; -1 when there is none.
    int fd() const { return m_fd; }
    // The temporary name; empty for a file without a name.
    QString temporaryPath() const { return m_temporary; }
    // A hidden name beside the target, free when begin() ran, for another process that puts the
    // file in place by linking it under that name first.
    QString briefPath() const { return m_brief; }
    QString target() const { return m_target; }
    // The permissions the file is to have once in place.
    uint mode() const { return m_mode; }

    // Puts the file in place (replacing what was there) and closes it; false (with the reason)
    // when it cannot be: then the target is untouched and the staged file is gone.
    bool commit();
    // Gives the file up; the target is untouched.
    void discard();
    // Closes the staged file without giving it up: another process that holds it open now puts
    // it in place, or gives it up (a file without a name then goes by itself; a temporary name
    // is that process's to remove).
    void handOver();
    QString errorString() const { return m_error; }

    // Writes at the offset, all of it or as much as fits; the bytes written, fewer than the size
    // (the system's reason in lastErrno()) when not all of it could be.
    qint64 writeAt(qint64 offset, const void* data, qint64 size);
    // Reads at the offset; the bytes read, or -1.
    qint64 readAt(qint64 offset, void* data, qint64 size) const;
    qint64 size() const;
    // Cuts the file to the size, freeing what lay beyond.
    bool truncate(qint64 size);
    // The system's reason for the last failure of begin() or writeAt().
    int lastErrno() const { return m_errno; }
    // Whether the last failure was for want of room: the file system is full (ENOSPC), the user's
    // quota is used up (EDQUOT) or the file has reached the largest size it may have (EFBIG).
    bool isFull() const { return isFullErrno(m_errno); }
    static bool isFullErrno(int code);

private:
    bool openBeside(const QString& folder);
    bool linkInPlace();
    bool fail(const QString& what);

    QString m_target;
    QString m_temporary;
    QString m_brief;
    QString m_error;
    int m_fd = -1;
    int m_errno = 0;
    uint m_mode = 0644;
};

} // namespace QMMultiMedia
