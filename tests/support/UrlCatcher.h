#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace TestSupport {

// Catches every http, https and mailto link the program opens through QDesktopServices, instead of
// starting a browser or mail program. Handlers are removed again when the catcher goes.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher();
    ~UrlCatcher() override;

    QList<QUrl> urls() const { return m_urls; }
    QStringList urlStrings() const;
    QUrl last() const { return m_urls.isEmpty() ? QUrl() : m_urls.last(); }
    int count() const { return int(m_urls.size()); }
    void clear() { m_urls.clear(); }

public slots:
    void openUrl(const QUrl& url);

private:
    QList<QUrl> m_urls;
};

} // namespace TestSupport
