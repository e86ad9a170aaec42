#include "SoundServers.h"

#include <QDir>

namespace TestSupport {

namespace {

QString& missing()
{
    static QString why;
    return why;
}

} // namespace

void chooseSoundServer()
{
    const QString choice = qEnvironmentVariable("TONARIX_SOUND_SERVER");
    if (choice.isEmpty())
        return;
    QString variable;
    if (choice == QLatin1String("pulseaudio"))
        variable = QStringLiteral("TONARIX_PULSEAUDIO_SERVER");
    else if (choice == QLatin1String("pipewire"))
        variable = QStringLiteral("TONARIX_PIPEWIRE_SERVER");
    const QByteArray server = variable.isEmpty() ? QByteArray() : qgetenv(qPrintable(variable));
    if (server.isEmpty()) {
        missing() = variable.isEmpty()
            ? QStringLiteral("TONARIX_SOUND_SERVER=%1 names no server (pulseaudio, pipewire)").arg(choice)
            : QStringLiteral("no %1 server: %2 is not set").arg(choice, variable);
        qputenv("PULSE_SERVER", "unix:/nonexistent/tonarix-no-sound-server");
        return;
    }
    qputenv("PULSE_SERVER", server);
}

QString chosenSoundServerMissing()
{
    return missing();
}

QString soundServerDescription()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    if (!pactl.waitForFinished(5000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0) {
        pactl.kill();
        pactl.waitForFinished(1000);
        return {};
    }
    QString name, version;
    for (const QString& line : QString::fromLocal8Bit(pactl.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Server Name:")))
            name = line.section(QLatin1Char(':'), 1).trimmed();
        else if (line.startsWith(QLatin1String("Server Version:")))
            version = line.section(QLatin1Char(':'), 1).trimmed();
    }
    return QStringLiteral("%1, server version %2").arg(name, version);
}

bool benchSoundOnly()
{
    return !qEnvironmentVariableIsEmpty("TONARIX_BENCH_SOUND_ONLY");
}

QProcessEnvironment serverEnvironment(const QString& folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + folder + QStringLiteral("/no-bus"));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), folder + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), folder + QStringLiteral("/state"));
    QDir().mkpath(folder + QStringLiteral("/runtime"));
    QDir().mkpath(folder + QStringLiteral("/state"));
    return env;
}

bool startPulseAudio(QProcess& server, const QString& folder, const QString& socket)
{
    server.setProcessEnvironment(serverEnvironment(folder));
    server.start(QStringLiteral("pulseaudio"),
                 {QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"), QStringLiteral("--exit-idle-time=-1"),
                  QStringLiteral("--disallow-exit"), QStringLiteral("-n"), QStringLiteral("--use-pid-file=no"),
                  QStringLiteral("--log-level=error"),
                  QStringLiteral("--load=module-null-sink sink_name=back rate=44100 channels=2"),
                  QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    return server.waitForStarted(5000);
}

} // namespace TestSupport
