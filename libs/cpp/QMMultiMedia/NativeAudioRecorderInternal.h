#pragma once

#include "QMMultiMedia/MAudioFormat.h"
#include "QMMultiMedia/PlatformAudioRecorder.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace QMMultiMedia {

// Does the work of NativeAudioRecorder: turns the format into recorder settings and drives the
// recorder of the current file.
class NativeAudioRecorderInternal : public QObject
{
    Q_OBJECT
public:
    explicit NativeAudioRecorderInternal(QObject* parent = nullptr);
    ~NativeAudioRecorderInternal() override;

    // The settings a format records with: AAC for "MPEG4ACC" and "CAF", else linear PCM; the
    // quality level 0..4 mapped onto 0, 32, 64, 96 (3 and any other value), 127.
    static RecorderSettings recorderSettings(const MAudioFormat& format);

    bool isStopped() const { return m_stopped; }
    // Milliseconds recorded; once a take has ended, the milliseconds its file holds.
    qint64 processedUSecs() const;
    QStringList availableInputDevices() const;
    QString defaultInputDevice() const;
    void setInputDevice(const QString&) {}
    void setFormat(const MAudioFormat& format) { m_format = format; }
    MAudioFormat format() const { return m_format; }
    QString errorString() const { return m_error; }

signals:
    // Once for every take, when it ends.
    void finished();
    // A start that could not record, or a file that could not be completed, with the reason.
    void error(const QString& message);

public slots:
    // Records into the file; a recording still going is finished first.
    void slotStart(const QString& path);
    void slotStop();
    void slotSuspend();
    void slotResume();

private:
    void onFailed(const QString& why);

    std::unique_ptr<PlatformAudioRecorder> m_recorder;
    bool m_stopped = true;
    bool m_endTold = false;      // finished() was emitted for the last take
    double m_lastSeconds = 0.0;  // the length of the last recording, once stopped
    MAudioFormat m_format;
    QString m_error;
};

} // namespace QMMultiMedia
