#include "UrlCatcher.h"

#include <QDesktopServices>

namespace TestSupport {

static const char* const kSchemes[] = {"http", "https", "mailto"};

UrlCatcher::UrlCatcher()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "openUrl");
}

UrlCatcher::~UrlCatcher()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

QStringList UrlCatcher::urlStrings() const
{
    QStringList list;
    for (const QUrl& url : m_urls)
        list << url.toString(QUrl::FullyEncoded);
    return list;
}

void UrlCatcher::openUrl(const QUrl& url)
{
    m_urls.append(url);
}

} // namespace TestSupport
