// Media types by name, cover pictures beside audio files, and the play-list model.

#include "FakeAudioBackend.h"
#include "ProcessStatus.h"
#include "ToneFiles.h"

#include "QMMultiMedia/ID3Info.h"
#include "QMMultiMedia/MediaCommon.h"
#include "QMMultiMedia/PlayListModel.h"

#include "TestMain.h"

#include <QElapsedTimer>
#include <QImage>
#include <QtEndian>
#include <QSignalSpy>
#include <QThread>
#include <QTemporaryDir>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

using namespace QMMultiMedia;
using TestAudio::bytesOf;

namespace {

void writePicture(const QString& path, const QColor& colour, const char* format)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, format));
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    const QByteArray body = type + data;
    const auto crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size())));
    return bytesOf(qToBigEndian(quint32(data.size()))) + body + bytesOf(qToBigEndian(crc));
}

// A PNG of side x side black pixels (8-bit RGB), compressed a row at a time as it is made: some
// 750 kB that decode to 3 bytes a pixel.
QByteArray blackPng(int side)
{
    const QByteArray row(1 + 3 * side, '\0');   // the filter byte, then the pixels
    QByteArray data;
    QByteArray out(1 << 16, '\0');
    z_stream z {};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15, 9, Z_RLE);
    for (int y = 0; y <= side; ++y) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(row.constData()));
        z.avail_in = y < side ? uInt(row.size()) : 0;
        do {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            deflate(&z, y < side ? Z_NO_FLUSH : Z_FINISH);
            data += out.left(out.size() - int(z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    const QByteArray header = bytesOf(qToBigEndian(quint32(side))) + bytesOf(qToBigEndian(quint32(side)))
        + QByteArray("\x08\x02\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1a\n") + pngChunk("IHDR", header) + pngChunk("IDAT", data)
        + pngChunk("IEND", QByteArray());
}

// An icon whose one entry says 16 x 16 and holds the PNG.
QByteArray iconOf(const QByteArray& png)
{
    return QByteArray("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14) + bytesOf(qToLittleEndian(quint32(png.size())))
        + bytesOf(qToLittleEndian(quint32(22))) + png;
}

// A GIF whose screen is 1 x 1 and whose one frame is side x side pixels of colour 0, in LZW codes
// that each stand for a run one pixel longer than the last until the table is full (each code is
// the entry the decoder makes as it reads it), then for the longest run over and over.
QByteArray gifFrameBeyondItsScreen(int side)
{
    const QByteArray sides = bytesOf(qToLittleEndian(quint16(side))) + bytesOf(qToLittleEndian(quint16(side)));
    QByteArray gif = QByteArray("GIF89a\1\0\1\0\x80\0\0", 13) + QByteArray(6, '\0') + QByteArray(",\0\0\0\0", 5)
        + sides + QByteArray("\0\2", 2);
    QByteArray codes;
    quint32 bits = 0;
    int held = 0, width = 3, next = 6;
    const auto put = [&](int code) {
        bits |= quint32(code) << held;
        for (held += width; held >= 8; held -= 8, bits >>= 8)
            codes += char(bits & 0xff);
    };
    put(4);   // clear
    put(0);   // one pixel
    for (qint64 left = qint64(side) * side - 1, code = 6; left > 0; code = qMin<qint64>(code + 1, 4095)) {
        put(int(code));
        left -= code - 4;
        if (next < 4096 && ++next == 1 << width && width < 12)
            ++width;
    }
    put(5);   // end
    codes += char(bits);
    for (int at = 0; at < codes.size(); at += 255)
        gif += char(qMin(255, codes.size() - at)) + codes.mid(at, 255);
    return gif + QByteArray("\0;", 2);
}

QColor coverColour(const QString& audio)
{
    const QPixmap cover = ID3Info(audio).cover();
    return cover.isNull() ? QColor() : QColor(cover.toImage().pixel(0, 0));
}

} // namespace

class TestMediaLibrary : public QObject
{
    Q_OBJECT

private slots:
    void mediaTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");
        QTest::newRow("upper MP3") << "/music/Song.MP3" << 0;
        QTest::newRow("mixed Mov") << "clip.Mov" << 1;
        QTest::newRow("JPEG") << "a.JPEG" << 2;
        QTest::newRow("tiff is not tif") << "scan.tiff" << 2;
        QTest::newRow("bare extension") << ".avi" << 1;
        QTest::newRow("archive of mp3") << "x.mp3.zip" << 4;
        QTest::newRow("mpeg is not listed") << "x.mpeg" << 4;
        QTest::newRow("3gp video") << "x.3gp" << 1;
        QTest::newRow("folder named like a video") << "/films.avi/readme" << 4;
    }
    void mediaTypes()
    {
        QFETCH(QString, name);
        QFETCH(int, type);
        QCOMPARE(MediaCommon::mediaType(name), type);
        QCOMPARE(MediaCommon::isAudio(name), type == 0);
        QCOMPARE(MediaCommon::isVideo(name), type == 1);
        QCOMPARE(MediaCommon::isImage(name), type == 2);
    }

    void covers()
    {
        QTemporaryDir dir;
        // Name order ignores case: a.jpg comes before B.png.
        QDir(dir.path()).mkpath("one");
        writePicture(dir.filePath("one/B.png"), Qt::blue, "PNG");
        writePicture(dir.filePath("one/a.jpg"), Qt::red, "JPG");
        writeText(dir.filePath("one/song.mp3"), "x");
        QCOMPARE(coverColour(dir.filePath("one/song.mp3")).red() > 200, true);

        // The extension test is made on the lower-cased name.
        QDir(dir.path()).mkpath("two");
        writePicture(dir.filePath("two/c.PNG"), Qt::green, "PNG");
        QCOMPARE(coverColour(dir.filePath("two/song.mp3")), QColor(Qt::green));

        // A corrupt picture is passed over.
        QDir(dir.path()).mkpath("three");
        writeText(dir.filePath("three/a.jpg"), "not a picture");
        writePicture(dir.filePath("three/b.png"), Qt::blue, "PNG");
        QCOMPARE(coverColour(dir.filePath("three/song.mp3")), QColor(Qt::blue));

        // Sub-folders, hidden files and folders named like pictures are not searched.
        QDir(dir.path()).mkpath("four/sub");
        QDir(dir.path()).mkpath("four/folder.jpg");
        writePicture(dir.filePath("four/sub/a.png"), Qt::blue, "PNG");
        writePicture(dir.filePath("four/.hidden.png"), Qt::blue, "PNG");
        writeText(dir.filePath("four/song.mp3"), "x");
        QVERIFY(ID3Info(dir.filePath("four/song.mp3")).cover().isNull());

        // No folder at all: a null cover, quietly; copies share the picture.
        QVERIFY(ID3Info(dir.filePath("nowhere/song.mp3")).cover().isNull());
        const ID3Info original(dir.filePath("two/song.mp3"));
        const ID3Info copy(original);
        QCOMPARE(copy.cover().cacheKey(), original.cover().cacheKey());
    }

    // A picture that decodes to far more than its file holds is neither decoded whole nor waited
    // for: the search spends about its 50 ms of processor time at most, and little memory. One
    // whose header gives it away is passed over for the next picture.
    void hostileCovers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<bool>("nextFound");
        const QByteArray png = blackPng(16000);
        QTest::newRow("16000 x 16000 PNG") << "a.png" << png << true;
        QTest::newRow("the same in an icon of 16 x 16") << "a.png" << iconOf(png) << true;
        QTest::newRow("GIF frame larger than its screen") << "a.gif" << gifFrameBeyondItsScreen(30000) << false;
    }
    void hostileCovers()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, picture);
        QFETCH(bool, nextFound);
        QTemporaryDir dir;
        writeText(dir.filePath(name), picture);
        writePicture(dir.filePath("b.png"), Qt::green, "PNG");
        const TestSupport::Cost cost;
        const QColor colour = coverColour(dir.filePath("song.mp3"));
        const double ms = cost.ms();
        const long grownKb = cost.peakKb();
        qInfo("%.1f ms of processor time, peak memory +%ld kB", ms, grownKb);
        // Twice the budget: what a decoder was given before the time ran out still takes a moment.
        QVERIFY2(ms < 100, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QVERIFY2(grownKb < 64 * 1024, qPrintable(QStringLiteral("%1 kB").arg(grownKb)));
        QCOMPARE(colour, nextFound ? QColor(Qt::green) : QColor());
    }

    void modelFromFolder()
    {
        TestAudio::FakeAudioBackend backend(false);
        QTemporaryDir dir;
        QVERIFY(TestAudio::writeTone(dir.filePath("b.mp3"), 440, 1.5));
        QVERIFY(TestAudio::writeTone(dir.filePath("A.mp3"), 440, 0.5));
        writeText(dir.filePath("notes.txt"), "x");
        writeText(dir.filePath("broken.mp3"), "not a sound");
        PlayListModel model;
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy measured(&model, &QAbstractItemModel::dataChanged);
        model.setPlayList(QDir(dir.path()), {QStringLiteral("*.mp3")});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 3);
        // The playing times come one by one, off the GUI thread.
        QTRY_COMPARE(measured.count(), 3);
        QCOMPARE(model.data(model.index(0)).toString(), QStringLiteral("A.mp3"));
        QCOMPARE(model.data(model.index(1)).toString(), QStringLiteral("b.mp3"));
        QCOMPARE(model.data(model.index(2)).toString(), QStringLiteral("broken.mp3"));
        QCOMPARE(model.data(model.index(1), PlayListModel::DurationRole).toTime(), QTime(0, 0, 1));
        QCOMPARE(model.data(model.index(2), PlayListModel::DurationRole).toTime(), QTime(0, 0, 0));
        QCOMPARE(model.data(model.index(1), PlayListModel::PathRole).toString(), dir.filePath("b.mp3"));
        QCOMPARE(model.data(model.index(1), PlayListModel::LastModifiedRole).toDateTime(),
                 QFileInfo(dir.filePath("b.mp3")).lastModified());

        // Roles outside the table, and rows outside the list, give nothing.
        for (int role : {1, 256, 258, int(Qt::DecorationRole)})
            QVERIFY(!model.data(model.index(0), role).isValid());
        QVERIFY(!model.data(model.index(-1)).isValid());
        QVERIFY(model.flags(model.index(0)) & Qt::ItemIsEditable);

        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Number"));
        QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("0"));
        QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());

        // A view may still hold an index of a row that has gone: it must find nothing there.
        const QModelIndex stale = model.index(2);
        model.setPlayList(QDir(dir.path() + "/missing"), {QStringLiteral("*.mp3")});
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.data(stale).isValid());
        QVERIFY(!model.data(stale, PlayListModel::DurationRole).isValid());
        QVERIFY(!model.setData(stale, QStringLiteral("x.mp3")));
        QVERIFY(!(model.flags(stale) & Qt::ItemIsEditable));
    }

    void modelEditsAndAppends()
    {
        TestAudio::FakeAudioBackend backend(false);
        QTemporaryDir dir;
        const QString odd = dir.filePath("a#b%c?d Song.mp3");
        QVERIFY(TestAudio::writeTone(odd, 440, 2.2));
        PlayListModel model;
        model.setPlayList(QStringList{odd});
        QCOMPARE(model.data(model.index(0)).toString(), QStringLiteral("a#b%c?d Song.mp3"));
        QTRY_COMPARE(model.data(model.index(0), PlayListModel::DurationRole).toTime(), QTime(0, 0, 2));

        // Renaming keeps the folder and the playing time; nothing on disk changes.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(0), QStringLiteral("Renamed.mp3"), Qt::EditRole));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model.data(model.index(0), PlayListModel::PathRole).toString(), dir.filePath("Renamed.mp3"));
        QCOMPARE(model.data(model.index(0), Qt::EditRole).toString(), QStringLiteral("Renamed.mp3"));
        QCOMPARE(model.data(model.index(0), PlayListModel::DurationRole).toTime(), QTime(0, 0, 2));
        QVERIFY(QFile::exists(odd));
        QVERIFY(!model.setData(model.index(0), QStringLiteral("x.mp3"), Qt::DisplayRole));
        // A whole path is taken as it is.
        QVERIFY(model.setData(model.index(0), QStringLiteral("/elsewhere/y.mp3")));
        QCOMPARE(model.data(model.index(0), PlayListModel::PathRole).toString(), QStringLiteral("/elsewhere/y.mp3"));
        // An empty or blank name is refused: the row keeps its file.
        for (const QString& blank : {QString(), QStringLiteral("  \t")})
            QVERIFY(!model.setData(model.index(0), blank));
        QCOMPARE(model.data(model.index(0), PlayListModel::PathRole).toString(), QStringLiteral("/elsewhere/y.mp3"));

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy any(&model, &QAbstractItemModel::dataChanged);
        model.appendToPlayList({});
        QCOMPARE(reset.count(), 0);
        model.appendToPlayList({odd, odd});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 3);
        model.setPlayList(QStringList());
        QCOMPARE(reset.count(), 2);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(any.count(), 0);
    }

    void onlyRegularFilesEnterTheModel()
    {
        // Reading the length of a FIFO, or opening it in the search for a cover, would wait for a
        // writer for ever: it is left out. Writers come after a while all the same, so that a
        // model that does wait is seen to.
        TestAudio::FakeAudioBackend backend(false);
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe.wav");
        const QString song = dir.filePath("song.wav");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(TestAudio::writeTone(song, 440, 0.5));
        std::atomic<bool> done {false};
        std::thread writer([&] {
            // After two seconds, a writer comes and goes every few milliseconds.
            for (int i = 0; !done; ++i) {
                QThread::msleep(10);
                if (i < 200)
                    continue;
                const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        });
        PlayListModel model;
        QElapsedTimer t;
        t.start();
        model.setPlayList(QStringList{fifo, song});
        model.appendToPlayList({dir.path(), fifo});
        // The list player asks for the cover of the entry it is at, a FIFO among them.
        const ID3Info cover(fifo);
        const qint64 ms = t.elapsed();
        done = true;
        writer.join();
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("the model and the cover waited %1 ms").arg(ms)));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.data(model.index(0), PlayListModel::PathRole).toString(), song);
    }
};

TONARIX_TEST_MAIN(TestMediaLibrary)
#include "tst_MediaLibrary.moc"
