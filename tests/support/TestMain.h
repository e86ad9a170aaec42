#pragma once

// Test entry points. Each test process gets a HOME of its own in a fresh temporary folder (removed
// when the test ends), so no real settings or folders are touched, and runs on the offscreen
// platform unless told otherwise. Sound goes to the server TONARIX_SOUND_SERVER names, if any
// (see SoundServers.h).
//
//   TONARIX_TEST_MAIN(TestClass)       a plain QApplication
//   TONARIX_APP_TEST_MAIN(TestClass)   the program's application object (REZirudid::App), named
//                                      "TonarixTest" by the organisation "Vantrel"

#include "REZirudid/App.h"
#include "SoundServers.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace TestSupport {

// Points HOME at a temporary folder for the lifetime of the object.
class IsolatedHome
{
public:
    IsolatedHome();
    ~IsolatedHome();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
};

} // namespace TestSupport

#define TONARIX_TEST_MAIN(TestObject)                                                      \
    int main(int argc, char** argv)                                                        \
    {                                                                                      \
        TestSupport::IsolatedHome home;                                                    \
        TestSupport::chooseSoundServer();                                                  \
        QApplication app(argc, argv);                                                      \
        TestObject tc;                                                                     \
        return QTest::qExec(&tc, argc, argv);                                              \
    }

#define TONARIX_APP_TEST_MAIN(TestObject)                                                  \
    int main(int argc, char** argv)                                                        \
    {                                                                                      \
        TestSupport::IsolatedHome home;                                                    \
        TestSupport::chooseSoundServer();                                                  \
        REZirudid::App app(argc, argv, QStringLiteral("Vantrel"), QStringLiteral("TonarixTest")); \
        TestObject tc;                                                                     \
        return QTest::qExec(&tc, argc, argv);                                              \
    }
