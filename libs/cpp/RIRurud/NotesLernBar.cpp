#include "RIRurud/NotesLernBar.h"

#include <QLinearGradient>
#include <QPainter>

namespace RIRurud {

NotesLernBar::NotesLernBar(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("NotesLernBar"));
    setFixedHeight(24);
}

void NotesLernBar::reset()
{
    m_wrongCount = 0;
    m_rightCount = 0;
}

NotesLernBar::Split NotesLernBar::split(int right, int wrong, int width)
{
    Split s;
    const int total = right + wrong;
    if (total <= 0 || width <= 0)
        return s;
    const float p = float(right) * 100.0f / float(total);
    const float f = p / 100.0f;
    s.percent = int(p);
    s.greenWidth = qBound(0, int(f * float(width)), width);
    s.redX = s.greenWidth;
    s.redWidth = width - s.greenWidth;
    return s;
}

void NotesLernBar::paintEvent(QPaintEvent* event)
{
    if (m_rightCount != 0 || m_wrongCount != 0) {
        const int w = width();
        const int h = height();
        const Split s = split(m_rightCount, m_wrongCount, w);

        QPainter painter(this);
        painter.setPen(Qt::NoPen);

        QLinearGradient green(0, 0, 0, h);
        green.setColorAt(0, QColor(20, 90, 20));
        green.setColorAt(0.5, QColor(90, 220, 90));
        green.setColorAt(1, QColor(20, 90, 20));
        painter.fillRect(QRect(0, 0, s.greenWidth, h), green);

        QLinearGradient red(0, 0, 0, h);
        red.setColorAt(0, QColor(90, 20, 20));
        red.setColorAt(0.5, QColor(220, 90, 90));
        red.setColorAt(1, QColor(90, 20, 20));
        painter.fillRect(QRect(s.redX, 0, s.redWidth, h), red);

        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, QString::number(s.percent) + QLatin1Char('%'));
    }
    QFrame::paintEvent(event);
}

} // namespace RIRurud
