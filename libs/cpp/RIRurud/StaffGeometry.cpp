#include "RIRurud/StaffGeometry.h"

#include "RIRurud/NoteName.h"

#include <cmath>

namespace RIRurud {
namespace StaffGeometry {

float lineHeight(int height, float paperHeightFactor, int lines)
{
    return float(height) * paperHeightFactor / float(lines);
}

float lineY(int k, float lh, int translateLines)
{
    return float(k) * lh - float(translateLines) * lh;
}

int halfLineAt(int y, float lh, int translateLines)
{
    return int((float(y) + float(translateLines) * lh) / (lh * 0.5f));
}

float noteTop(int p, float lh, int translateLines)
{
    return float(p) * lh * 0.5f - float(translateLines) * lh - lh * 0.5f;
}

bool aboveUpperLimit(float top, int startLine, float lh, int translateLines)
{
    return float(startLine) * lh - float(translateLines) * lh - 1.2f * float(int(lh)) > top;
}

int halfLineOf(const QString& natural)
{
    if (natural.size() < 2)
        return kNoHalfLine;
    const int letter = NoteName::letterIndex(natural.at(0));
    const QChar digit = natural.at(1);
    if (letter < 0 || digit < QLatin1Char('0') || digit > QLatin1Char('9'))
        return kNoHalfLine;
    return 58 - 7 * digit.digitValue() - letter;
}

QString nameOfHalfLine(int p, int* letterIndex, int* octave)
{
    for (int o = 0; o <= 8; ++o) {
        const int base = 58 - 7 * o;
        if (base - 7 < p && p <= base) {
            const int i = base - p;
            if (letterIndex)
                *letterIndex = i;
            if (octave)
                *octave = o;
            return QLatin1Char(NoteName::kLetters[i]) + QString::number(o);
        }
    }
    return QString();
}

int bandCentreRow(int p, float lh, int translateLines)
{
    const float centre = (float(p) + 0.5f) * lh * 0.5f - float(translateLines) * lh;
    const int row = int(std::lround(centre));
    // The band is half a line high; the rounded centre is inside it unless rounding in single
    // precision pushes it over an edge, so look at the neighbours as well.
    for (int step : {0, -1, 1, -2, 2}) {
        if (halfLineAt(row + step, lh, translateLines) == p)
            return row + step;
    }
    return row;
}

const StaffTables::Instrument* tableFor(const QString& instrumentName)
{
    return StaffTables::find(instrumentName.toLower().toLatin1().constData());
}

QString rowName(const StaffTables::Row& row)
{
    return QLatin1Char(row.letter) + QString::number(row.octave);
}

void fillNamePos(QMap<QString, int>& namePos, const QString& instrumentName, int height)
{
    const StaffTables::Instrument* table = tableFor(instrumentName);
    if (!table)
        return;
    const float scale = float(height) / StaffTables::kReferenceHeight;
    for (std::size_t r = 0; r < table->count; ++r) {
        const StaffTables::Row& row = table->rows[r];
        namePos[rowName(row)] = int(row.pos * scale);
    }
}

} // namespace StaffGeometry
} // namespace RIRurud
