#pragma once

#include <QString>

// Facade over the desktop's services, created on first use. Operations this desktop lacks (the
// dock tile badge, start at log-on, revealing a file in the file viewer) are empty.
class Os
{
public:
    static Os* instance();

    // Opens a web or "mailto:" link with the desktop's URL handler; true when it was handed over.
    bool openUrl(const QString& url);

    // The system's name and version, e.g. "Debian GNU/Linux 12 (bookworm)".
    QString systemVersion() const;

    void setBadge(const QString& text);
    void revealFile(const QString& path);
    void setStartAtLogin(bool on);
    bool startsAtLogin() const;

private:
    Os() = default;
    static Os* s_instance;
};
