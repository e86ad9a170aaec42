#pragma once

#include "QMMultiMedia/MAudioFormat.h"

#include <QObject>
#include <QStringList>

namespace QMMultiMedia {

class NativeAudioRecorderInternal;

// Records the default sound input into a file in a chosen format. finished() comes once for every
// take, when it ends: at the stop, or when it stops by itself; a stop with no take, or after a start
// that could not record, gives it too. error() comes when a start cannot record, when the recording
// cannot go on (the disk is full, the input is gone: it stops by itself, with finished() after the
// error), or when a stop has no complete take. A file of the same name is replaced by a complete
// take, or by the part of a take that was written before the disk filled up or the input went
// away, when that holds sound; the error then says how many seconds were kept, or that nothing
// was. processedUSecs() is then what the file holds.
class NativeAudioRecorder : public QObject
{
    Q_OBJECT
public:
    explicit NativeAudioRecorder(QObject* parent = nullptr);
    ~NativeAudioRecorder() override;

    void setOutputFileName(const QString& path) { m_outputFileName = path; }
    QString outputFileName() const { return m_outputFileName; }
    bool isStopped() const;
    // Milliseconds recorded; once a take has ended, the milliseconds its file holds.
    qint64 processedUSecs() const;
    QStringList availableInputDevices() const;
    QString defaultInputDevice() const;
    // Recording always uses the default input.
    void setInputDevice(const QString& name);
    void setFormat(const MAudioFormat& format);
    MAudioFormat format() const { return m_format; }
    QString errorString() const;

    NativeAudioRecorderInternal* internal() const { return m_internal; }

signals:
    void finished();
    void error(const QString& message);

public slots:
    void slotStart();
    void slotStart(const QString& path);
    void slotStop();
    void slotSuspend();
    void slotResume();

private:
    NativeAudioRecorderInternal* m_internal;
    QString m_outputFileName;
    MAudioFormat m_format;
};

} // namespace QMMultiMedia
