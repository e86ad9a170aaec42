#include "REZirudid/TellDialog.h"

#include "REZirudid/App.h"
#include "REZirudid/FrameworkFaces.h"
#include "REZirudid/Links.h"

#include <QUrl>

namespace REZirudid {

TellDialog::TellDialog(QWidget* parent)
    : PromoDialog(parent)
{
    const QString name = QCoreApplication::applicationName();
    setHeadline(tr("Tell a Friend"),
                tr("Do you like %1? Tell your friends about it!").arg(name));
    const App* app = App::theApp();
    for (const Faces::Face& face : Faces::kShareButtons) {
        const QString object = QString::fromLatin1(face.objectName);
        QString link;
        if (object == QLatin1String("FaceBookShareButton"))
            link = app ? app->faceBookShareLink() : QString();
        else if (object == QLatin1String("TwitterShareButton"))
            link = app ? app->twitterShareLink() : QString();
        else if (object == QLatin1String("VKontakteShareButton"))
            link = app ? app->vkontakteShareLink() : QString();
        else
            link = mailLink();
        addLinkButton(face, link);
    }
    addCloseButton(tr("&Close"));
}

QString TellDialog::mailLink()
{
    const App* app = App::theApp();
    const QString name = QCoreApplication::applicationName();
    QString page = app ? app->appSupportPage() : QString();
    if (page.isEmpty())
        page = Links::makerSite();
    const QString subject = tr("Have a look at %1").arg(name);
    const QString body =
        tr("Hi,\n\nI am learning where the notes lie on my instrument with %1. "
           "You may like it too:\n%2\n")
            .arg(name, page);
    return "mailto:?subject=" + QString::fromLatin1(QUrl::toPercentEncoding(subject))
           + "&body=" + QString::fromLatin1(QUrl::toPercentEncoding(body));
}

} // namespace REZirudid
