#include "QMMultiMedia/_Coders/EncoderJob.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace QMMultiMedia {

namespace {

// In the encoder's process the staged file is descriptor 3, so that it can open it by this name.
const char stagedInChild[] = "/proc/self/fd/3";

// Runs the encoder ("$@"), then puts its output in place or leaves the older one, and reports on
// its standard output: a result line, then the end of the encoder's messages. It ignores the
// signals that come when the program or its terminal goes.
const char shellStep[] = R"sh(trap '' HUP INT PIPE
mode=$1 target=$2 staged=$3 brief=$4
shift 4
log=$("$@" 2>&1 </dev/null)
status=$?
result=placed
if [ $status -ne 0 ]; then
    result="failed $status"
elif [ ! -s "$staged" ]; then
    result=empty
else
    chmod -- "$mode" "$staged" || result=unplaced
    if [ "$result" = placed ] && [ "$staged" = /proc/self/fd/3 ]; then
        ln -L -- /proc/self/fd/3 "$brief" && staged=$brief || result=unplaced
    fi
    [ "$result" = placed ] && mv -fT -- "$staged" "$target" || result=unplaced
fi
[ "$staged" = /proc/self/fd/3 ] || rm -f -- "$staged"
echo "$result"
printf '%s' "$log" | tail -c 400
)sh";

// A copy of a descriptor above the standard ones and the staged file's place in the child, so that
// the child's dup2() always moves it.
int above(int fd)
{
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 10);
}

// Collects the exit status of the shell once it has gone, without waiting for it.
void reap(pid_t pid)
{
    if (::waitpid(pid, nullptr, WNOHANG) == 0)
        QTimer::singleShot(50, QCoreApplication::instance(), [pid] { reap(pid); });
}

} // namespace

EncoderJob::EncoderJob(const QString& program, const QString& output)
    : QObject(QCoreApplication::instance())
    , m_program(program)
    , m_output(QFileInfo(output).absoluteFilePath())
{
}

EncoderJob::~EncoderJob()
{
    // The shell goes on without its listener and puts the output in place by itself.
    if (m_pipe >= 0)
        ::close(m_pipe);
}

QString EncoderJob::prepare()
{
    if (!m_staged.begin(m_output)) {
        m_error = m_staged.errorString();
        return QString();
    }
    return m_staged.temporaryPath().isEmpty() ? QString::fromLatin1(stagedInChild) : m_staged.temporaryPath();
}

void EncoderJob::fail(const QString& why)
{
    m_error = why;
    m_staged.discard();
    // Told from the event loop, as every other end.
    QTimer::singleShot(0, this, [this] {
        emit done(false, m_error);
        deleteLater();
    });
}

void EncoderJob::start(const QStringList& arguments)
{
    if (!m_staged.isOpen())
        return fail(m_error.isEmpty() ? QStringLiteral("nothing to encode into") : m_error);
    if (!QFileInfo(m_program).isExecutable())
        return fail(QStringLiteral("the encoder %1 could not be started: it is not a program").arg(m_program));
    const bool unnamed = m_staged.temporaryPath().isEmpty();
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return fail(QStringLiteral("the encoder %1 could not be started: %2").arg(m_program, qt_error_string(errno)));
    const int reportFd = above(ends[1]);
    const int stagedFd = unnamed ? above(m_staged.fd()) : -1;
    int rc = reportFd < 0 || (unnamed && stagedFd < 0) ? errno : 0;
    ::close(ends[1]);

    QList<QByteArray> args {"/bin/sh", "-c", shellStep, "sh", QByteArray::number(m_staged.mode(), 8),
                            QFile::encodeName(m_output),
                            unnamed ? QByteArray(stagedInChild) : QFile::encodeName(m_staged.temporaryPath()),
                            QFile::encodeName(m_staged.briefPath()), QFile::encodeName(m_program)};
    for (const QString& a : arguments)
        args << QFile::encodeName(a);
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, reportFd, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (unnamed)
        posix_spawn_file_actions_adddup2(&actions, stagedFd, 3);
    // A session of its own: the terminal's hang-up or interrupt that ends the program does not
    // reach it. Signals as a new program expects them.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (rc == 0)
        rc = posix_spawn(&m_pid, "/bin/sh", &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    for (int fd : {reportFd, stagedFd}) {
        if (fd >= 0)
            ::close(fd);
    }
    if (rc != 0) {
        ::close(ends[0]);
        return fail(QStringLiteral("the encoder %1 could not be started: %2").arg(m_program, qt_error_string(rc)));
    }
    // From here the staged file is the shell's.
    m_staged.handOver();
    m_pipe = ends[0];
    ::fcntl(m_pipe, F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_pipe, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EncoderJob::readReport);
}

void EncoderJob::readReport()
{
    for (;;) {
        char buffer[4096];
        const ssize_t n = ::read(m_pipe, buffer, sizeof buffer);
        if (n > 0)
            m_report.append(buffer, int(n));
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN)
            return;
        else
            break;
    }
    reportEnd();
}

void EncoderJob::reportEnd()
{
    m_notifier->setEnabled(false);
    m_notifier->deleteLater();
    m_notifier = nullptr;
    ::close(m_pipe);
    m_pipe = -1;
    reap(m_pid);
    const int lineEnd = m_report.indexOf('\n');
    const QByteArray result = m_report.left(lineEnd);
    const QString log = lineEnd < 0 ? QString() : QString::fromLocal8Bit(m_report.mid(lineEnd + 1)).trimmed();
    if (result.startsWith("failed ")) {
        const int status = result.mid(7).toInt();
        if (status == 126 || status == 127)
            m_error = QStringLiteral("the encoder %1 could not be started: %2").arg(m_program, log);
        else if (status > 128)
            m_error = QStringLiteral("the encoder crashed");
        else
            m_error = QStringLiteral("the encoder failed (exit status %1)").arg(status)
                + (log.isEmpty() ? QString() : QStringLiteral(": ") + log);
    } else if (result == "empty") {
        m_error = QStringLiteral("the encoder wrote no file");
    } else if (result == "unplaced") {
        m_error = QStringLiteral("%1 cannot be put in place").arg(m_output);
    } else if (result != "placed") {
        m_error = QStringLiteral("the encoding was stopped before it ended");
    }
    emit done(m_error.isEmpty(), m_error);
    deleteLater();
}

bool EncoderJob::waitForFinished(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (m_pipe >= 0) {
        pollfd ready {m_pipe, POLLIN, 0};
        const int rc = ::poll(&ready, 1, deadline.isForever() ? -1 : int(deadline.remainingTime()));
        if (rc == 0 || (rc < 0 && errno != EINTR))
            return false;
        if (rc > 0)
            readReport();
    }
    return true;
}

} // namespace QMMultiMedia
