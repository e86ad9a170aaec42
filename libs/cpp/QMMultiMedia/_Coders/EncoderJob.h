#pragma once

#include "QMMultiMedia/_Coders/StagedFile.h"

#include <QObject>
#include <QStringList>

#include <sys/types.h>

class QSocketNotifier;

namespace QMMultiMedia {

// One run of an encoder program into an output file. The encoder writes a staged file beside the
// output (see StagedFile); a small shell step started with it puts that file in place when the
// encoder exits with status 0 having written something, and otherwise leaves the older output as
// it was. The shell runs in a session of its own and needs nothing of this program: an encoding
// still going when the program quits finishes, or fails, all the same, and nothing waits for it at
// the quit. While the program runs, the shell's report gives done(); the job then deletes itself.
class EncoderJob : public QObject
{
    Q_OBJECT
public:
    EncoderJob(const QString& program, const QString& output);
    // Neither waits for the encoder nor stops it.
    ~EncoderJob() override;

    // The name the encoder is to write; empty when the staged file cannot be made.
    QString prepare();
    // Starts the encoder with the arguments; done() follows in any case.
    void start(const QStringList& arguments);
    bool isRunning() const { return m_pipe >= 0; }
    // Blocks until the encoding has ended and done() has been emitted; false on time-out.
    bool waitForFinished(int msecs);
    QString errorString() const { return m_error; }

signals:
    void done(bool success, const QString& error);

private:
    void fail(const QString& why);
    void readReport();
    void reportEnd();

    QString m_program;
    QString m_output;
    StagedFile m_staged;
    int m_pipe = -1;
    pid_t m_pid = 0;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_report;
    QString m_error;
};

} // namespace QMMultiMedia
