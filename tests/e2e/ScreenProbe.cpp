#include "ScreenProbe.h"

#include "Pitch.h"

#include <QColor>
#include <QString>
#include <cmath>
#include <vector>

namespace ScreenProbe {

double difference(const QImage& a, const QImage& b, const QRect& area)
{
    double sum = 0;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2) {
        for (int x = area.left(); x <= area.right(); x += 2) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            ++n;
        }
    }
    return n ? sum / (3.0 * n) : 0;
}

QRect locate(const QImage& screen, const QImage& picture, const QRect& area, const QVector<QSize>& sizes,
             double* bestDifference)
{
    QRect best;
    double bestScore = 1e9;
    const QImage shot = screen.convertToFormat(QImage::Format_RGB32);
    for (const QSize& size : sizes) {
        const QImage scaled = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_ARGB32);
        // Sample points where the picture is opaque, on a coarse grid.
        QVector<QPoint> points;
        const int step = qMax(2, qMin(size.width(), size.height()) / 12);
        for (int y = step / 2; y < size.height(); y += step)
            for (int x = step / 2; x < size.width(); x += step)
                if (qAlpha(scaled.pixel(x, y)) == 255)
                    points << QPoint(x, y);
        if (points.isEmpty())
            continue;
        for (int top = area.top(); top + size.height() <= area.bottom() + 1; ++top) {
            for (int left = area.left(); left + size.width() <= area.right() + 1; ++left) {
                if (left < 0 || top < 0 || left + size.width() > shot.width() || top + size.height() > shot.height())
                    continue;
                double sum = 0;
                for (const QPoint& p : points) {
                    const QRgb a = shot.pixel(left + p.x(), top + p.y()), b = scaled.pixel(p);
                    sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
                    if (sum / (3.0 * points.size()) > bestScore)
                        break;
                }
                const double score = sum / (3.0 * points.size());
                if (score < bestScore) {
                    bestScore = score;
                    best = QRect(QPoint(left, top), size);
                }
            }
        }
    }
    if (bestDifference)
        *bestDifference = bestScore;
    return best;
}

int redPixels(const QImage& image, const QRect& area)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 110 && c.blue() < 110)
                ++n;
        }
    return n;
}

double pitch(const QVector<qint16>& samples, int rate, double expectedHz)
{
    // The sound starts where the level first rises clearly above the floor.
    int onset = -1;
    for (int i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) > 800) {
            onset = i;
            break;
        }
    }
    const int start = onset + rate / 20;   // past the attack
    if (onset < 0 || start >= samples.size())
        return 0;
    std::vector<float> mono;
    for (int i = start; i < samples.size() && i < start + rate / 2; ++i)
        mono.push_back(samples[i] / 32768.0f);
    return TestSupport::pitch(mono.data(), mono.size(), rate, expectedHz);
}

double noteFrequency(const QString& note)
{
    static const QString letters = QStringLiteral("C D EF G A B");
    const int semitone = letters.indexOf(note.at(0));
    const int octave = note.mid(1, 1).toInt();
    const int midi = 12 * (octave + 1) + semitone + (note.endsWith('#') ? 1 : 0);
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

} // namespace ScreenProbe
