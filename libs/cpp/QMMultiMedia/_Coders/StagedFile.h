#pragma once

#include <QString>

namespace QMMultiMedia {

// A file written whole or not at all: it is written under a temporary name beside its target and
// moved into place (replacing what was there) only once complete. Until then, and when it is
// given up, the target stays as it was.
class StagedFile
{
public:
    StagedFile() = default;
    ~StagedFile() { discard(); }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Makes the temporary file beside the target; false (with the reason) when it cannot be made.
    bool begin(const QString& target);
    // The name to write under until commit().
    QString temporaryPath() const { return m_temporary; }
    QString target() const { return m_target; }
    // Moves the temporary file into place; false (with the reason) when it cannot be.
    bool commit();
    // Removes the temporary file; the target is untouched.
    void discard();
    QString errorString() const { return m_error; }

private:
    QString m_target;
    QString m_temporary;
    QString m_error;
};

} // namespace QMMultiMedia
