#include "RIRurud/BoardGeometry.h"

#include <QImage>
#include <QPair>
#include <QTime>
#include <algorithm>

namespace RIRurud {
namespace BoardGeometry {

QPoint toFrame(int x, int y, int width, int height)
{
    const float fx = width > 0 ? float(x) * float(BoardTables::kFrameWidth) / float(width) : 0.0f;
    const float fy = height > 0 ? float(y) * float(BoardTables::kFrameHeight) / float(height) : 0.0f;
    return QPoint(int(fx), int(fy));
}

bool isInBox(int x, int y, const QPoint& point)
{
    return BoardTables::inBox(x, y, point.x(), point.y());
}

QString noteAt(const BoardTables::BoardTable& table, const QPoint& framePoint)
{
    const int hit = BoardTables::firstHit(table, framePoint.x(), framePoint.y());
    return hit < 0 ? QString() : QString::fromLatin1(table.spots[hit].note);
}

QVector<BoardMarks::BarCells> barsOf(const BoardTables::BoardTable& table, const QString& note)
{
    QVector<BoardMarks::BarCells> bars;
    const QByteArray name = note.toLatin1();
    for (std::size_t i = 0; i < table.spotCount; ++i) {
        if (!table.spots[i].marked || !BoardTables::sameNote(table.spots[i].note, name.constData()))
            continue;
        const BoardMarks::BarCells bar = BoardMarks::barCells(table, i);
        if (!bar.isEmpty())
            bars.append(bar);
    }
    return bars;
}

QRect barPixels(const BoardMarks::BarCells& bar, const QSize& size, double dpr)
{
    // Along one side: the first and last device pixel whose press maps into the cells from .. to - 1
    // (frameOf maps a logical pixel), looked for a unit and two pixels beyond the cells' own pixels.
    const auto span = [dpr](int from, int to, double pixelsPerUnit, const auto& frameOf) {
        QPair<int, int> found(0, -1);
        const int end = int((to + 1) * pixelsPerUnit * dpr) + 2;
        for (int i = qMax(0, int((from - 1) * pixelsPerUnit * dpr) - 2); i <= end; ++i) {
            const int cell = frameOf(qRound(i / dpr));
            if (cell < from || cell >= to)
                continue;
            if (found.second < found.first)
                found.first = i;
            found.second = i;
        }
        return found;
    };
    const int w = size.width();
    const int h = size.height();
    const QPair<int, int> x = span(bar.left, bar.right, double(w) / BoardTables::kFrameWidth,
                                   [w, h](int p) { return toFrame(p, 0, w, h).x(); });
    const QPair<int, int> y = span(bar.top, bar.bottom, double(h) / BoardTables::kFrameHeight,
                                   [w, h](int p) { return toFrame(0, p, w, h).y(); });
    if (x.second < x.first || y.second < y.first)
        return QRect();
    return QRect(QPoint(x.first, y.first), QPoint(x.second, y.second));
}

bool isMarked(QRgb pixel)
{
    return qBlue(pixel) > 50 || qRed(pixel) > 50;
}

static int walkRows(const QImage& image, int column, int step)
{
    const int w = image.width();
    const int h = image.height();
    // Premultiplied pixels are judged by their straight colour, as after a conversion.
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    int found = -1;
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = column; x >= 0 && x < w; x += step) {
            const QRgb pixel = row[x];
            if (pixel != 0 && isMarked(premultiplied ? qUnpremultiply(pixel) : pixel)) {
                found = x;
                break;
            }
        }
    }
    return found;
}

int markedColumn(const QImage& source, int column)
{
    if (source.isNull())
        return -1;
    QImage image = source;
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32
        && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32);
    column = qBound(0, column, image.width() - 1);
    const int found = walkRows(image, column, -1);
    if (found > 0)
        return found;
    const int right = walkRows(image, column, +1);
    return right >= 0 ? right : found;
}

Band bandAround(int found, double dpr, int imageWidth)
{
    Band band;
    band.left = qMax(0, int(found - 40 * dpr));
    band.right = qMin(imageWidth, int(found + 40 * dpr));
    return band;
}

int reseededRandom()
{
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
    qsrand(uint(QTime::currentTime().msec()));
    return qrand();
QT_WARNING_POP
}

void keepBand(QImage& image, const Band& band)
{
    if (image.isNull())
        return;
    if (image.depth() != 32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    // Straight on the scan lines: every 32-bit format stores fully transparent black as zero.
    const int w = image.width();
    const int left = qBound(0, band.left, w);
    const int right = qBound(left, band.right, w);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line, line + left, QRgb(0));
        std::fill(line + right, line + w, QRgb(0));
    }
}

} // namespace BoardGeometry
} // namespace RIRurud

namespace RIRurud {
namespace BoardGeometry {

QVector<QRect> visibleRegions(const QImage& source, int cell, int margin)
{
    QVector<QRect> regions;
    if (source.isNull() || cell < 1)
        return regions;
    QImage image = source;
    if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int cols = (w + cell - 1) / cell;
    const int rows = (h + cell - 1) / cell;
    QVector<char> filled(cols * rows, 0);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* cells = filled.data() + (y / cell) * cols;
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) > 0)
                cells[x / cell] = 1;
        }
    }
    // Join neighbouring cells (4-neighbourhood) into one rectangle each.
    QVector<int> stack;
    for (int start = 0; start < filled.size(); ++start) {
        if (filled[start] != 1)
            continue;
        int minC = cols, minR = rows, maxC = -1, maxR = -1;
        stack.append(start);
        filled[start] = 2;
        while (!stack.isEmpty()) {
            const int i = stack.takeLast();
            const int c = i % cols;
            const int r = i / cols;
            minC = qMin(minC, c);
            maxC = qMax(maxC, c);
            minR = qMin(minR, r);
            maxR = qMax(maxR, r);
            const int next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[0] >= cols || n[1] < 0 || n[1] >= rows)
                    continue;
                const int j = n[1] * cols + n[0];
                if (filled[j] == 1) {
                    filled[j] = 2;
                    stack.append(j);
                }
            }
        }
        QRect rect(minC * cell, minR * cell, (maxC - minC + 1) * cell, (maxR - minR + 1) * cell);
        regions.append(rect.adjusted(-margin, -margin, margin, margin) & image.rect());
    }
    return regions;
}

} // namespace BoardGeometry
} // namespace RIRurud
