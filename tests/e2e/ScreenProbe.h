#pragma once

// What the end-to-end test sees and hears from the outside: screenshots of a window, the place of
// a known picture in a screenshot, and the pitch of a recorded sound.

#include <QImage>
#include <QRect>
#include <QVector>

namespace ScreenProbe {

// Where `picture`, scaled to each of the candidate sizes, matches `screen` best inside `area`
// (top-left corners searched every pixel). Returns the rectangle and the mean colour difference
// per channel (0 = identical) in `difference`.
QRect locate(const QImage& screen, const QImage& picture, const QRect& area, const QVector<QSize>& sizes,
             double* difference);

// Mean colour difference per channel between two images over `area` (same size images).
double difference(const QImage& a, const QImage& b, const QRect& area);

// Count of pixels in `area` whose red clearly dominates (the boards' note marks).
int redPixels(const QImage& image, const QRect& area);

// The fundamental frequency, looked for near `expectedHz`, of the first sound in mono 16-bit
// samples at `rate` (half a second after its attack); 0 when the recording holds only silence.
double pitch(const QVector<qint16>& samples, int rate, double expectedHz);

// The frequency of a note name such as "A4" or "C4#" (A4 = 440 Hz, equal temperament).
double noteFrequency(const QString& note);

} // namespace ScreenProbe
