#include "QMMultiMedia/ID3Info.h"

#include "QMMultiMedia/MediaCommon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <time.h>

namespace QMMultiMedia {

namespace {

// A cover is a small picture beside a song: it is read no larger than this a side (smaller ones as
// they are), enough for it on a dense screen. Decoders that can scale while they read (JPEG, PNG)
// then hold no more than that.
constexpr int kCoverSide = 1024;
// A picture whose header claims more pixels than this is passed over unread: interlaced PNG, GIF and
// BMP decoders hold the whole picture before it is scaled, four bytes a pixel.
constexpr qint64 kMostPixels = 4096LL * 4096;
// The processor time the whole search may spend. A decoder's work is not always bounded by the size
// its header gives (a GIF frame may be larger than its screen, a progressive JPEG may hold any
// number of scans), so a picture still being decoded when the time is up is given up at its next
// read, and so is the search.
constexpr qint64 kBudgetNs = 50'000'000;
// Formats whose decoders make the picture the size their header gives. Others are passed over: an
// icon's directory may give 16 x 16 for a PNG of any size inside it.
const char* const kFormats[] = {"png", "jpeg", "jpg", "gif", "bmp", "tif", "tiff"};

qint64 threadTimeNs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// A picture file that yields nothing more once the thread's time has passed the deadline.
class TimedFile : public QFile
{
public:
    TimedFile(const QString& path, qint64 deadlineNs)
        : QFile(path)
        , m_deadline(deadlineNs)
    {
    }
    bool timedOut() const { return m_timedOut; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        m_timedOut = m_timedOut || threadTimeNs() > m_deadline;
        return m_timedOut ? -1 : QFile::readData(data, maxSize);
    }

private:
    qint64 m_deadline;
    bool m_timedOut = false;
};

bool knownFormat(const QByteArray& format)
{
    for (const char* known : kFormats) {
        if (format == known)
            return true;
    }
    return false;
}

// The picture at path, no larger than a cover is shown; a null picture when it does not load, is
// not of a known format, claims too many pixels (or gives no size) or is not read by the deadline.
QImage readCover(const QString& path, qint64 deadlineNs)
{
    TimedFile file(path, deadlineNs);
    // Unbuffered: the decoder's every read passes the deadline, not one read in 16 KB.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QImage();
    QImageReader reader(&file);
    if (!knownFormat(reader.format()))
        return QImage();
    const QSize size = reader.size();
    if (size.isEmpty() || qint64(size.width()) * size.height() > kMostPixels)
        return QImage();
    if (size.width() > kCoverSide || size.height() > kCoverSide)
        reader.setScaledSize(size.scaled(kCoverSide, kCoverSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    const QImage image = reader.read();
    return file.timedOut() ? QImage() : image;
}

} // namespace

ID3Info::ID3Info(const QString& fileName)
    : m_fileName(fileName)
{
    // Only a regular file is opened: opening a FIFO would wait for a writer.
    QFile file(fileName);
    if (QFileInfo(fileName).isFile() && file.open(QIODevice::ReadOnly))
        file.close();
    if (m_cover.isNull()) {
        const qint64 deadline = threadTimeNs() + kBudgetNs;
        const QString folder = QFileInfo(fileName).absolutePath();
        const QDir dir(folder);
        const QStringList names = dir.entryList({QStringLiteral("*")}, QDir::Files, QDir::NoSort);
        for (const QString& name : names) {
            if (threadTimeNs() > deadline)
                break;
            if (!MediaCommon::isImage(name))
                continue;
            m_cover = QPixmap::fromImage(readCover(folder + QLatin1Char('/') + name, deadline));
            if (!m_cover.isNull())
                break;
        }
    }
    if (m_cover.isNull())
        m_cover.load(QStringLiteral(":/pix/Dadurud.png"));
}

ID3Info::~ID3Info() = default;

} // namespace QMMultiMedia
