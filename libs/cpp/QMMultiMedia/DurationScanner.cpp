#include "QMMultiMedia/DurationScanner.h"

#include "QMMultiMedia/_Coders/AudioFileReader.h"

#include <algorithm>

namespace QMMultiMedia {

DurationScanner::DurationScanner(QObject* parent)
    : QObject(parent)
{
}

DurationScanner::~DurationScanner()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        ++m_generation;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DurationScanner::measure(const QStringList& paths, int first)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const QString& path : paths)
            m_jobs.push_back({m_generation, first++, path, false});
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void DurationScanner::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_jobs.clear();
    ++m_generation;
}

qint64 DurationScanner::durationMs(const QString& path, bool exact, bool* estimate, const std::function<bool()>& stopped)
{
    AudioFileReader reader;
    if (estimate)
        *estimate = false;
    if (!reader.open(path))
        return 0;
    if (reader.lengthIsEstimate() && exact && !reader.countFrames(stopped))
        return 0;
    if (estimate)
        *estimate = reader.lengthIsEstimate();
    return qint64(reader.durationSeconds() * 1000.0);
}

void DurationScanner::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_stop)
                return;
            // Every header first, then the decodings.
            const auto next = std::find_if(m_jobs.begin(), m_jobs.end(), [](const Job& j) { return !j.exact; });
            const auto at = next != m_jobs.end() ? next : m_jobs.begin();
            job = *at;
            m_jobs.erase(at);
        }
        bool estimate = false;
        const qint64 ms = durationMs(job.path, job.exact, &estimate,
                                     [this, &job] { return m_generation.load() != job.generation; });
        if (estimate) {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (job.generation == m_generation)
                m_jobs.push_back({job.generation, job.number, job.path, true});
        }
        report(job.generation, job.number, ms);
    }
}

void DurationScanner::report(quint64 generation, int number, qint64 ms)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, number, ms] {
            if (generation == m_generation)
                emit measured(number, ms);
        },
        Qt::QueuedConnection);
}

} // namespace QMMultiMedia
