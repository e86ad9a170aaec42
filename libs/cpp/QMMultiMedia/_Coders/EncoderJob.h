#pragma once

#include "QMMultiMedia/_Coders/StagedFile.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

namespace QMMultiMedia {

// One run of an encoder program into an output file. The encoder writes under a temporary name
// beside the output, which is put in place only when the encoder exits with status 0 having
// written something; otherwise the older output stays as it was. Once started, the job lives on
// by itself until the encoder has ended, whoever started it, and then deletes itself; one still
// running when the application object goes waits for its encoder first.
class EncoderJob : public QObject
{
    Q_OBJECT
public:
    EncoderJob(const QString& program, const QString& output);
    ~EncoderJob() override;

    // The temporary file the encoder is to write; empty when it cannot be made.
    QString prepare();
    // Starts the encoder with the arguments; done() follows in any case.
    void start(const QStringList& arguments);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    bool waitForFinished(int msecs);
    QString errorString() const { return m_error; }

signals:
    void done(bool success, const QString& error);

private:
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void report(bool success);

    QString m_program;
    QString m_output;
    QProcess m_process;
    StagedFile m_staged;
    QString m_error;
    bool m_reported = false;
};

} // namespace QMMultiMedia
