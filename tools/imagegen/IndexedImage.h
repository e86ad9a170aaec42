#pragma once

// Pictures of few flat colours stored as indexed images. Shared with the test that checks that the
// same drawing always gives the same picture.

#include <QHash>
#include <QImage>
#include <QVector>

#include <algorithm>
#include <utility>
#include <vector>

namespace imagegen {

// A flat drawing in the 256 colours it uses most, each other colour taken to the nearest of them:
// such a picture decodes several times faster than one of full colour, fast enough to be decoded
// anew for every chord chosen.
inline QImage withPalette(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> uses;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            ++uses[line[x]];
    }
    std::vector<std::pair<int, QRgb>> byUse;
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        byUse.emplace_back(it.value(), it.key());
    // Colours used equally often are taken in the order of their values, not in the hash's order,
    // which changes from run to run: the same drawing gives the same picture on every build.
    std::sort(byUse.begin(), byUse.end(),
              [](const auto& a, const auto& b) { return a.first != b.first ? a.first > b.first : a.second < b.second; });
    QVector<QRgb> palette;
    for (std::size_t i = 0; i < byUse.size() && i < 256; ++i)
        palette << byUse[i].second;
    QHash<QRgb, uchar> nearest;
    for (auto it = uses.cbegin(); it != uses.cend(); ++it) {
        int best = 0;
        long bestDistance = -1;
        for (int i = 0; i < palette.size(); ++i) {
            const long dr = qRed(it.key()) - qRed(palette[i]), dg = qGreen(it.key()) - qGreen(palette[i]),
                       db = qBlue(it.key()) - qBlue(palette[i]);
            const long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        nearest.insert(it.key(), uchar(best));
    }
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = nearest.value(line[x]);
    }
    return indexed;
}

} // namespace imagegen
