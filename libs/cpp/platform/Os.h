#pragma once

#include <QString>

// Facade over the desktop's services. Operations the desktop lacks are empty.
class Os
{
public:
    static Os* instance();

    bool openUrl(const QString& url);

private:
    Os() = default;
    static Os* s_instance;
};
