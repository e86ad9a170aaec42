#include "QMMultiMedia/PlatformAudioRecorder.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/_Coders/AacFileWriter.h"
#include "QMMultiMedia/_Coders/AudioFileWriter.h"

#include <QFileInfo>

#include <cmath>

namespace QMMultiMedia {

namespace {

constexpr int collectIntervalMs = 20;

QString fullDisk(double keptSeconds, const QString& path)
{
    if (keptSeconds > 0)
        return QStringLiteral("the disk is full: %1 s were kept in %2").arg(keptSeconds, 0, 'f', 1).arg(path);
    return QFileInfo::exists(path) ? QStringLiteral("the disk is full: nothing was kept, %1 stays as it was").arg(path)
                                   : QStringLiteral("the disk is full: nothing was kept");
}

} // namespace

QString PlatformAudioRecorder::defaultInputName()
{
    return AudioBackend::current()->inputName();
}

QString PlatformAudioRecorder::checkTarget(const QString& path, const RecorderSettings& settings)
{
    const QFileInfo file(path);
    const QString ext = file.suffix().toLower();
    if (settings.format == RecorderSettings::MPEG4AAC) {
        if (!AacFileWriter::containerFor(path))
            return QStringLiteral("AAC sound cannot be stored in a .%1 file (use .m4a, .mp4 or .aac)").arg(ext);
    } else {
        static const QStringList pcmContainers = {QStringLiteral("wav"), QStringLiteral("aif"), QStringLiteral("aiff"),
                                                  QStringLiteral("caf")};
        if (!pcmContainers.contains(ext))
            return QStringLiteral("uncompressed sound cannot be stored in a .%1 file (use .wav, .aiff or .caf)").arg(ext);
    }
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir() || !folder.isWritable())
        return QStringLiteral("the folder %1 cannot be written").arg(folder.filePath());
    if (settings.channels <= 0 || settings.sampleRate < 1.0f)
        return QStringLiteral("%1 Hz with %2 channels cannot be recorded").arg(double(settings.sampleRate)).arg(settings.channels);
    return QString();
}

std::unique_ptr<PlatformAudioRecorder> PlatformAudioRecorder::create(const QString& path,
                                                                     const RecorderSettings& settings, QString* error)
{
    auto failed = [&](const QString& why) {
        if (error)
            *error = why;
        return nullptr;
    };
    // What is wrong with the request is told before what is missing on this computer.
    const QString wrong = checkTarget(path, settings);
    if (!wrong.isEmpty())
        return failed(wrong);
    // The encoder's libraries are loaded now, on the first AAC recording, not at start-up.
    if (settings.format == RecorderSettings::MPEG4AAC) {
        const QString missing = AacFileWriter::unavailableReason();
        if (!missing.isEmpty())
            return failed(missing);
    }
    std::unique_ptr<PlatformAudioRecorder> r(new PlatformAudioRecorder());
    const int rate = int(std::lround(settings.sampleRate));
    r->m_sampleRate = rate;
    r->m_channels = settings.channels;
    r->m_path = path;
    const QString nothingKept = QStringLiteral("the disk is full: nothing was kept");
    if (settings.format == RecorderSettings::MPEG4AAC) {
        r->m_aac = std::make_unique<AacFileWriter>();
        if (!r->m_aac->open(path, rate, settings.channels, settings.bitRate))
            return failed(r->m_aac->diskFull() ? nothingKept : r->m_aac->errorString());
    } else {
        r->m_pcm = std::make_unique<AudioFileWriter>();
        if (!r->m_pcm->open(path, rate, settings.channels))
            return failed(r->m_pcm->diskFull() ? nothingKept : r->m_pcm->errorString());
    }
    r->m_input = AudioBackend::current()->createInput(rate, settings.channels);
    if (!r->m_input)
        return failed(QStringLiteral("there is no sound input"));
    r->m_collectTimer.setInterval(collectIntervalMs);
    connect(&r->m_collectTimer, &QTimer::timeout, r.get(), &PlatformAudioRecorder::checkInput);
    return r;
}

PlatformAudioRecorder::~PlatformAudioRecorder()
{
    stop();
}

bool PlatformAudioRecorder::record()
{
    if (m_finished || !m_input)
        return false;
    if (m_started) {
        m_input->resume();
        return true;
    }
    if (!m_input->start()) {
        m_error = QStringLiteral("there is no sound input: %1").arg(m_input->errorString());
        return false;
    }
    m_started = true;
    m_collectTimer.start();
    return true;
}

void PlatformAudioRecorder::pause()
{
    if (m_started && !m_finished) {
        m_input->suspend();
        checkInput();
    }
}

bool PlatformAudioRecorder::collect()
{
    if (!m_input)
        return true;
    m_input->read(m_captured);
    const int frameBytes = 2 * m_channels;
    const int whole = m_captured.size() / frameBytes;
    if (whole == 0)
        return true;
    m_converted.resize(size_t(whole) * size_t(m_channels));
    const qint16* in = reinterpret_cast<const qint16*>(m_captured.constData());
    for (size_t i = 0; i < m_converted.size(); ++i)
        m_converted[i] = in[i] / 32768.0f;
    m_captured.remove(0, whole * frameBytes);
    const bool ok = m_pcm ? m_pcm->write(m_converted.data(), whole) : m_aac->write(m_converted.data(), whole);
    if (!ok) {
        m_error = m_pcm ? m_pcm->errorString() : m_aac->errorString();
        return false;
    }
    m_frames += whole;
    return true;
}

void PlatformAudioRecorder::checkInput()
{
    if (m_finished)
        return;
    // The input's state first: when it has stopped, all it gave before is collected below.
    const QString inputError = m_input->errorString();
    const bool written = collect();
    if (written && inputError.isEmpty())
        return;
    finish(written, inputError);
    emit failed(m_error);
}

void PlatformAudioRecorder::finish(bool written, const QString& inputError)
{
    m_finished = true;
    m_collectTimer.stop();
    m_input.reset();
    if (written && m_frames > 0) {
        if (m_pcm ? m_pcm->close() : m_aac->close()) {
            if (!inputError.isEmpty())
                m_error = QStringLiteral("the sound input stopped after %1 s (%2); the take up to then was kept in %3")
                              .arg(currentTime(), 0, 'f', 1)
                              .arg(inputError, m_path);
            return;
        }
        // The disk may have filled up with the file's last bytes.
        if (!diskFull()) {
            m_error = m_pcm ? m_pcm->errorString() : m_aac->errorString();
            return;
        }
    }
    if (diskFull()) {
        keepAfterFullDisk();
        return;
    }
    if (written)
        m_error = inputError.isEmpty() ? QStringLiteral("nothing was recorded")
                                       : QStringLiteral("there is no sound input: %1").arg(inputError);
    if (m_pcm)
        m_pcm->discard();
    else
        m_aac->discard();
}

bool PlatformAudioRecorder::diskFull() const
{
    return m_pcm ? m_pcm->diskFull() : m_aac->diskFull();
}

void PlatformAudioRecorder::keepAfterFullDisk()
{
    const bool kept = m_pcm ? m_pcm->keepWritten() : m_aac->keepWritten();
    m_frames = !kept ? 0 : m_pcm ? m_pcm->framesWritten() : m_aac->framesWritten();
    m_error = fullDisk(currentTime(), m_path);
}

bool PlatformAudioRecorder::stop()
{
    if (m_finished)
        return m_error.isEmpty();
    // The last of the input first: all that was captured up to now belongs to the take.
    const QString inputError = m_input ? m_input->errorString() : QString();
    finish(collect(), inputError);
    return m_error.isEmpty();
}

double PlatformAudioRecorder::currentTime() const
{
    return double(m_frames) / m_sampleRate;
}

} // namespace QMMultiMedia
