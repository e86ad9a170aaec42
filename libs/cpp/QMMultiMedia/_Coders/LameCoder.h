#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

namespace QMMultiMedia {

// Encodes a sound file into MP3 with the LAME encoder (/usr/bin/lame), run directly with an
// argument list (no shell: no file name can become a command). start() returns at once;
// finished() tells, from the encoder's exit status, whether the MP3 file was written.
class LameCoder : public QObject
{
    Q_OBJECT
public:
    explicit LameCoder(QObject* parent = nullptr);
    ~LameCoder() override;

    // Encodes the test recording "~/Movies/recording.wav" into "test.mp3" in the support folder,
    // at 8 kbit/s constant bit rate with "~/Desktop/cover.png" as its cover (when that exists).
    bool start();
    // Encodes any file; an empty cover stores none. False when an encoding is already running or
    // the encoder cannot be started (finished(false) follows then too).
    bool start(const QString& input, const QString& output, const QString& cover);

    // The arguments the encoder is given.
    static QStringList arguments(const QString& input, const QString& output, const QString& cover);
    static QString defaultInput();
    static QString defaultOutput();
    static QString defaultCover();

    void setEncoder(const QString& program) { m_encoder = program; }
    QString encoder() const { return m_encoder; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    QString errorString() const { return m_error; }
    // Blocks until the running encoding ends; false on time-out.
    bool waitForFinished(int msecs = 30000);

signals:
    void finished(bool success);

private:
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);

    QProcess m_process;
    QString m_encoder;
    QString m_output;
    QString m_error;
    bool m_reported = true;
};

} // namespace QMMultiMedia
