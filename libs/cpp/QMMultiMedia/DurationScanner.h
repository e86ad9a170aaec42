#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace QMMultiMedia {

// Measures the playing times of sound files on a thread of its own, so that a list of long files
// costs the caller nothing: first what each file's header tells, which is quick, for all of them
// in turn; then, for those whose header gives only an estimate (an MP3 without a header of its
// length), the exact time, by decoding them one after the other. Each figure is reported as it
// comes, an estimate before the exact time.
class DurationScanner : public QObject
{
    Q_OBJECT
public:
    explicit DurationScanner(QObject* parent = nullptr);
    // Waits for the thread, which lets go of a file within a moment.
    ~DurationScanner() override;

    // Measures the files; the first is reported as number `first`, the next as first + 1, ...
    void measure(const QStringList& paths, int first);
    // Forgets what is being measured: no figure of it is reported any more.
    void clear();

    // The playing time of a file in milliseconds, truncated; 0 when it cannot be read. The header's
    // figure, or with `exact` the decoded length where the header gives only an estimate (a whole
    // decoding: slow for a long file). *estimate tells whether the figure is an estimate. Gives up
    // (with 0) when `stopped` says so.
    static qint64 durationMs(const QString& path, bool exact, bool* estimate = nullptr,
                             const std::function<bool()>& stopped = {});

signals:
    void measured(int number, qint64 ms);

private:
    struct Job
    {
        quint64 generation;
        int number;
        QString path;
        bool exact;
    };
    void run();
    void report(quint64 generation, int number, qint64 ms);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::atomic<quint64> m_generation {0};
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace QMMultiMedia
