#include "QMMultiMedia/_Coders/LameCoder.h"

#include "QMMultiMedia/MultiMediaSettings.h"
#include "QMMultiMedia/_Coders/AudioFileReader.h"
#include "QMMultiMedia/_Coders/EncoderJob.h"

#include "REZirudid/App.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace QMMultiMedia {

LameCoder::LameCoder(QObject* parent)
    : QObject(parent)
    , m_encoder(ExternalPaths::lameEncoder())
{
}

// A running encoding is left to finish by itself.
LameCoder::~LameCoder() = default;

bool LameCoder::isRunning() const
{
    return m_job && m_job->isRunning();
}

QString LameCoder::defaultInput()
{
    return QDir::homePath() + QStringLiteral("/Movies/recording.wav");
}

QString LameCoder::defaultOutput()
{
    REZirudid::App* app = REZirudid::App::theApp();
    const QString folder = app ? app->supportDirectory() : QDir::homePath() + QLatin1Char('/');
    return folder + QStringLiteral("test.mp3");
}

QString LameCoder::defaultCover()
{
    return QDir::homePath() + QStringLiteral("/Desktop/cover.png");
}

QStringList LameCoder::arguments(const QString& input, const QString& output, const QString& cover)
{
    // Absolute paths: a name beginning with "-" must not be read as an option (the encoder knows
    // no "--").
    QStringList args;
    if (!cover.isEmpty())
        args << QStringLiteral("--ti") << QFileInfo(cover).absoluteFilePath();
    args << QStringLiteral("-b") << QStringLiteral("8") << QStringLiteral("--cbr");
    args << QFileInfo(input).absoluteFilePath() << QFileInfo(output).absoluteFilePath();
    return args;
}

bool LameCoder::start()
{
    const QString cover = defaultCover();
    return start(defaultInput(), defaultOutput(), QFileInfo::exists(cover) ? cover : QString());
}

bool LameCoder::start(const QString& input, const QString& output, const QString& cover)
{
    if (isRunning()) {
        m_error = QStringLiteral("an encoding is already running");
        return false;
    }
    m_error.clear();
    // The encoder takes anything for raw samples: only a readable sound file goes in.
    if (!AudioFileReader().open(input))
        return refuse(QStringLiteral("%1 is not a readable sound file").arg(input));
    auto* job = new EncoderJob(m_encoder, output);
    const QString temporary = job->prepare();
    if (temporary.isEmpty()) {
        const QString why = job->errorString();
        delete job;
        return refuse(why);
    }
    m_job = job;
    connect(job, &EncoderJob::done, this, [this](bool success, const QString& error) {
        m_error = error;
        qDebug() << "!!!END" << (success ? "ok" : qPrintable(m_error));
        emit finished(success);
    });
    const QStringList args = arguments(input, temporary, cover);
    qDebug() << "Command:" << m_encoder << args;
    job->start(args);
    return true;
}

bool LameCoder::refuse(const QString& why)
{
    m_error = why;
    qDebug() << "!!!END" << m_error;
    QTimer::singleShot(0, this, [this] { emit finished(false); });
    return false;
}

bool LameCoder::waitForFinished(int msecs)
{
    return !m_job || m_job->waitForFinished(msecs);
}

} // namespace QMMultiMedia
