#include "MainPage.h"
#include "TonarixIdentity.h"
#include "TonarixStartup.h"

#include "REZirudid/App.h"

int main(int argc, char** argv)
{
    REZirudid::App app(argc, argv, TonarixIdentity::organisationName(), TonarixIdentity::applicationName());
    std::unique_ptr<MainPage> window = TonarixStartup::start(app);
    const int code = app.exec();
    window.reset();   // the window goes before the application object
    return code;
}
