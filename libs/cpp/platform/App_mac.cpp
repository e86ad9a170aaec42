#include "platform/App_mac.h"

#include <QGuiApplication>
#include <QScreen>

App_mac* App_mac::s_instance = nullptr;

App_mac* App_mac::instance()
{
    if (!s_instance)
        s_instance = new App_mac;
    return s_instance;
}

void App_mac::installDockHandler() {}

double App_mac::backingScaleFactor() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}
