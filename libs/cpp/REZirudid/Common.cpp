#include "REZirudid/Common.h"

#include "REZirudid/App.h"

#include <QApplication>
#include <QFile>
#include <QHash>
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
    // Every page's menus name the same few pictures: each is read once and its icon shared.
    static QHash<QString, QIcon> icons;
    auto it = icons.constFind(picture);
    if (it != icons.cend())
        return it.value();
    QIcon icon;
    icon.addFile(picture);
    const QString twin = doubleDensityName(picture);
    if (QFile::exists(twin))
        icon.addFile(twin);
    icons.insert(picture, icon);
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
