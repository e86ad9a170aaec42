#include "platform/Os.h"

#include <QDesktopServices>
#include <QUrl>

Os* Os::s_instance = nullptr;

Os* Os::instance()
{
    if (!s_instance)
        s_instance = new Os;
    return s_instance;
}

bool Os::openUrl(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}
