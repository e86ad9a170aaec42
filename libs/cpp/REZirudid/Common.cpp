#include "REZirudid/Common.h"

#include <QFontMetrics>
#include <QPushButton>

namespace REZirudid {
namespace Common {

void fitPushButton(QPushButton* button)
{
    QFont focused = button->font();
    focused.setPixelSize(20);
    focused.setBold(true);
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    const QFontMetrics metrics(focused);
    button->setMinimumSize(qMax(88, metrics.horizontalAdvance(text) + 28), qMax(32, metrics.height() + 8));
}

} // namespace Common
} // namespace REZirudid
