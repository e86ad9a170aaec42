#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace QMMultiMedia {

class EncoderJob;

// Encodes a sound file into MP3 with the LAME encoder (/usr/bin/lame), run with an argument list
// (file names are handed on as arguments, never as command text: no name can become a command),
// see EncoderJob. start() returns at once;
// finished() tells, from the encoder's exit status, whether this run wrote the MP3 file. The
// output is written whole or not at all: a failed run leaves an older output as it was. Once
// started, an encoding goes on to its end also when the runner is deleted (which reports nothing)
// or the program quits, which does not wait for it.
class LameCoder : public QObject
{
    Q_OBJECT
public:
    explicit LameCoder(QObject* parent = nullptr);
    ~LameCoder() override;

    // Encodes the test recording "~/Movies/recording.wav" into "test.mp3" in the support folder,
    // at 8 kbit/s constant bit rate with "~/Desktop/cover.png" as its cover (when that exists).
    bool start();
    // Encodes any file; an empty cover stores none. False when an encoding is already running, the
    // input is not a readable sound file or the output cannot be written (finished(false) follows
    // then too, from the event loop).
    bool start(const QString& input, const QString& output, const QString& cover);

    // The arguments the encoder is given.
    static QStringList arguments(const QString& input, const QString& output, const QString& cover);
    static QString defaultInput();
    static QString defaultOutput();
    static QString defaultCover();

    void setEncoder(const QString& program) { m_encoder = program; }
    QString encoder() const { return m_encoder; }
    bool isRunning() const;
    QString errorString() const { return m_error; }
    // Blocks until the running encoding ends; false on time-out.
    bool waitForFinished(int msecs = 30000);

signals:
    void finished(bool success);

private:
    bool refuse(const QString& why);

    QPointer<EncoderJob> m_job;
    QString m_encoder;
    QString m_error;
};

} // namespace QMMultiMedia
