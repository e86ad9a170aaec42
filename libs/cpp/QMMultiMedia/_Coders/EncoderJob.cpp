#include "QMMultiMedia/_Coders/EncoderJob.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace QMMultiMedia {

EncoderJob::EncoderJob(const QString& program, const QString& output)
    : QObject(QCoreApplication::instance())
    , m_program(program)
    , m_output(output)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this, &EncoderJob::onFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &EncoderJob::onError);
}

EncoderJob::~EncoderJob()
{
    // Only when the application goes while the encoder still runs: let it end and keep its work.
    if (isRunning())
        m_process.waitForFinished(30000);
}

QString EncoderJob::prepare()
{
    if (!m_staged.begin(m_output)) {
        m_error = m_staged.errorString();
        return QString();
    }
    return m_staged.temporaryPath();
}

void EncoderJob::start(const QStringList& arguments)
{
    m_process.start(m_program, arguments, QIODevice::ReadOnly);
}

bool EncoderJob::waitForFinished(int msecs)
{
    if (!isRunning())
        return true;
    return m_process.waitForFinished(msecs);
}

void EncoderJob::onFinished(int exitCode, QProcess::ExitStatus status)
{
    if (m_reported)
        return;
    const QByteArray log = m_process.readAll().trimmed();
    if (status != QProcess::NormalExit) {
        m_error = QStringLiteral("the encoder crashed");
    } else if (exitCode != 0) {
        m_error = QStringLiteral("the encoder failed (exit status %1): %2")
                      .arg(exitCode)
                      .arg(QString::fromLocal8Bit(log.right(400)));
    } else if (QFileInfo(m_staged.temporaryPath()).size() == 0) {
        m_error = QStringLiteral("the encoder wrote no file");
    } else if (!m_staged.commit()) {
        m_error = m_staged.errorString();
    }
    report(m_error.isEmpty());
}

void EncoderJob::onError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart || m_reported)
        return;
    m_error = QStringLiteral("the encoder %1 could not be started: %2").arg(m_program, m_process.errorString());
    report(false);
}

void EncoderJob::report(bool success)
{
    m_reported = true;
    m_staged.discard();
    emit done(success, m_error);
    deleteLater();
}

} // namespace QMMultiMedia
