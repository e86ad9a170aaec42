#include "REZirudid/JoinDialog.h"

#include "REZirudid/App.h"
#include "REZirudid/FrameworkFaces.h"

namespace REZirudid {

JoinDialog::JoinDialog(QWidget* parent)
    : PromoDialog(parent)
{
    const QString name = QCoreApplication::applicationName();
    setHeadline(tr("Join Us"),
                tr("Join the %1 community: news, tips and our new applications first.").arg(name));
    const App* app = App::theApp();
    for (const Faces::JoinFace& join : Faces::kJoinButtons)
        addLinkButton(join.face, app ? app->joinUrl(QString::fromLatin1(join.social)) : QString());
    addCloseButton(tr("&Not Now"));
}

} // namespace REZirudid
