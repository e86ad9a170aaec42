#include "QMMultiMedia/_Coders/LameCoder.h"

#include "QMMultiMedia/MultiMediaSettings.h"

#include "REZirudid/App.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace QMMultiMedia {

LameCoder::LameCoder(QObject* parent)
    : QObject(parent)
    , m_encoder(ExternalPaths::lameEncoder())
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this, &LameCoder::onFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &LameCoder::onError);
}

LameCoder::~LameCoder()
{
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
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
    m_output = output;
    m_reported = false;
    const QStringList args = arguments(input, output, cover);
    qDebug() << "Command:" << m_encoder << args;
    m_process.start(m_encoder, args, QIODevice::ReadOnly);
    return m_process.state() != QProcess::NotRunning || !m_reported;
}

bool LameCoder::waitForFinished(int msecs)
{
    if (!isRunning())
        return true;
    return m_process.waitForFinished(msecs);
}

void LameCoder::onFinished(int exitCode, QProcess::ExitStatus status)
{
    if (m_reported)
        return;
    m_reported = true;
    const QByteArray log = m_process.readAll().trimmed();
    bool ok = status == QProcess::NormalExit && exitCode == 0;
    if (!ok) {
        m_error = status == QProcess::NormalExit
            ? QStringLiteral("the encoder failed (exit status %1): %2").arg(exitCode).arg(QString::fromLocal8Bit(log.right(400)))
            : QStringLiteral("the encoder crashed");
    } else if (!QFileInfo(m_output).isFile() || QFileInfo(m_output).size() == 0) {
        ok = false;
        m_error = QStringLiteral("the encoder wrote no file");
    }
    qDebug() << "!!!END" << (ok ? "ok" : qPrintable(m_error));
    emit finished(ok);
}

void LameCoder::onError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart || m_reported)
        return;
    m_reported = true;
    m_error = QStringLiteral("the encoder %1 could not be started: %2").arg(m_encoder, m_process.errorString());
    qDebug() << "!!!END" << m_error;
    emit finished(false);
}

} // namespace QMMultiMedia
