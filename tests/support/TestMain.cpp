#include "TestMain.h"

namespace TestSupport {

IsolatedHome::IsolatedHome()
    : m_oldHome(qgetenv("HOME"))
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", m_dir.path().toLocal8Bit());
}

IsolatedHome::~IsolatedHome()
{
    qputenv("HOME", m_oldHome);
}

} // namespace TestSupport
