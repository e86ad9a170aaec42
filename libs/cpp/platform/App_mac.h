#pragma once

#include <QObject>

// The desktop's application-level hooks, created on first use. A click on the program's dock
// icon arrives as dockClicked(); this desktop has no such hook, so installing it does nothing and
// the signal never fires on its own.
class App_mac : public QObject
{
    Q_OBJECT
public:
    static App_mac* instance();

    void installDockHandler();
    // The main screen's backing scale factor; 1 where the desktop reports none.
    double backingScaleFactor() const;

signals:
    void dockClicked();

private:
    App_mac() = default;
    static App_mac* s_instance;
};
