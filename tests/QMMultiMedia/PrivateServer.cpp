#include "PrivateServer.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

namespace TestAudio {

PrivateServer::PrivateServer() = default;

PrivateServer::~PrivateServer()
{
    kill();
}

bool PrivateServer::available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty();
}

QString PrivateServer::socketUrl() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

bool PrivateServer::start(QString* why)
{
    kill();
    QFile::remove(m_dir.filePath(QStringLiteral("native")));
    // Runtime and state folders of its own: nothing is shared with a server of the session.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"}) {
        const QString folder = m_dir.filePath(QString::fromLatin1(name).toLower());
        QDir().mkpath(folder);
        env.insert(QString::fromLatin1(name), folder);
    }
    env.remove(QStringLiteral("PULSE_SERVER"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("pulseaudio"),
                    {QStringLiteral("--daemonize=no"), QStringLiteral("-n"), QStringLiteral("--exit-idle-time=-1"),
                     QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-level=error"),
                     QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=")
                         + m_dir.filePath(QStringLiteral("native")),
                     QStringLiteral("--load=module-null-sink sink_name=back rate=44100 channels=2")});
    if (!m_process.waitForStarted(10000)) {
        *why = QStringLiteral("pulseaudio did not start: ") + m_process.errorString();
        return false;
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
        QProcess info;
        info.start(QStringLiteral("pactl"), {QStringLiteral("--server=") + socketUrl(), QStringLiteral("info")});
        if (info.waitForFinished(5000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0)
            return true;
        if (m_process.state() == QProcess::NotRunning)
            break;
        QThread::msleep(50);
    }
    *why = QStringLiteral("the test's own pulseaudio does not answer");
    kill();
    return false;
}

void PrivateServer::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

} // namespace TestAudio
