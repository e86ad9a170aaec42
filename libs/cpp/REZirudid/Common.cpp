#include "REZirudid/Common.h"

#include "REZirudid/App.h"

#include <QApplication>
#include <QFile>
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

QString doubleDensityName(const QString& picture)
{
    const int dot = picture.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? picture + QStringLiteral("@2x") : picture.left(dot) + QStringLiteral("@2x") + picture.mid(dot);
}

QIcon sharpIcon(const QString& picture)
{
    QIcon icon;
    icon.addFile(picture);
    const QString twin = doubleDensityName(picture);
    if (QFile::exists(twin))
        icon.addFile(twin);
    return icon;
}

double pixelRatio()
{
    if (const App* app = App::theApp())
        return app->devicePixelRatio();
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

} // namespace Common
} // namespace REZirudid
