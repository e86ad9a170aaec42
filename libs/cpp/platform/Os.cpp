#include "platform/Os.h"

#include <QDesktopServices>
#include <QSysInfo>
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

QString Os::systemVersion() const
{
    return QSysInfo::prettyProductName();
}

void Os::setBadge(const QString&) {}

void Os::revealFile(const QString&) {}

void Os::setStartAtLogin(bool) {}

bool Os::startsAtLogin() const
{
    return false;
}
