#include "REZirudid/App.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixLite"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("TonarixLite"));
    window.resize(620, 620);
    window.show();
    return app.exec();
}
