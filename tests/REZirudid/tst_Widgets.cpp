#include "DialogAnswerer.h"
#include "TestMain.h"
#include "UrlCatcher.h"

#include "REZirudid/AboutDialog.h"
#include "REZirudid/App.h"
#include "REZirudid/Common.h"
#include "REZirudid/FrameworkFaces.h"
#include "REZirudid/HelpDialog.h"
#include "REZirudid/JoinDialog.h"
#include "REZirudid/Label.h"
#include "REZirudid/Links.h"
#include "REZirudid/MessageBox.h"
#include "REZirudid/PromoMenuBar.h"
#include "REZirudid/TellDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrlQuery>
#include <QWindow>

using namespace REZirudid;

namespace {

QStringList menuEntries(const QMenu* menu)
{
    QStringList entries;
    for (const QAction* action : menu->actions())
        entries << (action->isSeparator() ? QStringLiteral("--") : action->text());
    return entries;
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60; }

} // namespace

class TestFrameworkWidgets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        App* app = App::theApp();
        app->setAppId("id42");
        app->setFaceBookShareLink("http://vantrel.example/apps/tonarix/fb.php");
        app->setTwitterShareLink("http://vantrel.example/apps/tonarix/tw.php");
        app->setVKontakteShareLink(QString());
        app->setAppSupportPage("http://vantrel.example/apps/tonarixtest");
        app->setHelpOnStart(true);
    }

    // ---- promotion bar ----

    void promoBarLayout()
    {
        PromoMenuBar bar;
        bar.resize(600, 45);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QCOMPARE(bar.objectName(), QStringLiteral("MenuBar"));
        QCOMPARE(bar.height(), 45);
        QStringList order;
        int lastX = -1;
        for (const Faces::Face& face : Faces::kPromoButtons) {
            QPushButton* button = bar.button(face.objectName);
            QVERIFY2(button, face.objectName);
            QVERIFY(button->isVisible());
            QVERIFY2(button->x() > lastX, face.objectName);
            QVERIFY(button->geometry().bottom() < bar.height());
            lastX = button->x();
        }
        QCOMPARE(bar.button("MoreButton")->menu(), bar.moreMenu());
        // More stands at the right end.
        QVERIFY(bar.button("MoreButton")->geometry().right() > bar.width() - 20);

        bar.hideRateButton();
        QVERIFY(!bar.button("RateButton")->isVisible());
        QVERIFY(bar.button("ShareButton")->isVisible());
    }

    void moreMenuKeepsCallOrderAndOpensLinks()
    {
        QAction ownAction("Own action");
        {
            PromoMenuBar bar;
            QPixmap icon(16, 16);
            icon.fill(Qt::red);
            bar.addMenuLink(icon, "First", "https://shop.example/first");
            bar.addMenuSeparator();
            bar.addMenuAction(&ownAction);
            bar.addMenuLink(QPixmap(), "Second", "https://shop.example/second?x=1&y=2");
            QCOMPARE(menuEntries(bar.moreMenu()),
                     (QStringList{"First", "--", "Own action", "Second"}));
            QVERIFY(!bar.moreMenu()->actions().first()->icon().isNull());

            TestSupport::UrlCatcher catcher;
            bar.moreMenu()->actions().at(3)->trigger();
            bar.moreMenu()->actions().at(0)->trigger();
            QCOMPARE(catcher.urlStrings(), (QStringList{"https://shop.example/second?x=1&y=2",
                                                        "https://shop.example/first"}));
        }
        // The bar does not take the page's action with it.
        QCOMPARE(ownAction.text(), QStringLiteral("Own action"));
    }

    void promoButtonsOpenTheirLinks_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::newRow("more apps") << "MoreAppsButton" << Links::makerSite() + "/apps";
        QTest::newRow("rate") << "RateButton"
                              << Links::storeEndpoint() + "/app/tonarixtest/id42?ls=1&mt=12";
    }
    void promoButtonsOpenTheirLinks()
    {
        QFETCH(QString, button);
        QFETCH(QString, expected);
        PromoMenuBar bar;
        TestSupport::UrlCatcher catcher;
        bar.button(button)->click();
        QCOMPARE(catcher.urlStrings(), QStringList{expected});
    }

    void promoButtonsOpenTheirDialogs_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("app button: About") << "AppButton" << "REZirudid::AboutDialog";
        QTest::newRow("share") << "ShareButton" << "REZirudid::TellDialog";
    }
    void promoButtonsOpenTheirDialogs()
    {
        QFETCH(QString, button);
        QFETCH(QString, dialog);
        PromoMenuBar bar;
        TestSupport::DialogAnswerer answer(QDialog::Rejected);
        bar.button(button)->click();
        QVERIFY(answer.answered());
        QCOMPARE(answer.dialogClass(), dialog);
    }

    void introButtonOpensTheSlideShow()
    {
        PromoMenuBar bar;
        bar.button("IntroButton")->click();
        QVERIFY(App::theApp()->helpDialog());
        QTRY_VERIFY(App::theApp()->helpDialog()->isVisible());
        App::theApp()->helpDialog()->close();
    }

    // ---- picture label ----

    void labelDrawsByMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("colour");   // "red", "blue" or "none"
        // A 200 x 100 picture, left half red, right half blue, in a 100 x 100 label.
        QTest::newRow("fit: band above is empty") << 0 << QPoint(50, 10) << "none";
        QTest::newRow("fit: left half") << 0 << QPoint(10, 50) << "red";
        QTest::newRow("fit: right half") << 0 << QPoint(90, 50) << "blue";
        QTest::newRow("fit: band below is empty") << 0 << QPoint(50, 90) << "none";
        QTest::newRow("expand: top-left corner") << 1 << QPoint(2, 2) << "red";
        QTest::newRow("expand: right edge still left half") << 1 << QPoint(97, 50) << "red";
        QTest::newRow("expand: bottom covered") << 1 << QPoint(50, 97) << "red";
    }
    void labelDrawsByMode()
    {
        QFETCH(int, mode);
        QFETCH(QPoint, point);
        QFETCH(QString, colour);
        QImage picture(200, 100, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                picture.setPixel(x, y, qRgb(255, 0, 0));
        Label label(nullptr);
        QCOMPARE(label.mode(), Label::Fit);
        label.setMode(Label::Mode(mode));
        label.setRetinaPixmap(QPixmap::fromImage(picture));
        label.resize(100, 100);
        const QImage shot = label.grab().toImage();
        const QRgb c = shot.pixel(point);
        if (colour == "red")
            QVERIFY2(isRed(c), qPrintable(QColor(c).name()));
        else if (colour == "blue")
            QVERIFY2(isBlue(c), qPrintable(QColor(c).name()));
        else
            QVERIFY2(!isRed(c) && !isBlue(c), qPrintable(QColor(c).name()));
    }

    void labelKeepsItsPlainContent()
    {
        Label label(nullptr);
        label.resize(80, 30);
        label.setStyleSheet("background: rgb(0,255,0)");
        label.setAutoFillBackground(true);
        const QImage empty = label.grab().toImage();
        QCOMPARE(QColor(empty.pixel(40, 15)), QColor(0, 255, 0));
        QPixmap transparent(10, 10);
        transparent.fill(Qt::transparent);
        label.setRetinaPixmap(transparent);
        QCOMPARE(QColor(label.grab().toImage().pixel(40, 15)), QColor(0, 255, 0));
    }

    // ---- message box ----

    void messageBoxReturnsThePressedFlag_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("press");       // button text, or "<escape>"
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("information Ok") << "information" << 0x400 << "Ok" << 0x400 << QStringList{"Ok"};
        QTest::newRow("information closed by Escape")
            << "information" << 0x400 << "<escape>" << 0x400 << QStringList{"Ok"};
        QTest::newRow("warning Ok") << "warning" << 0x400 << "Ok" << 0x400 << QStringList{"Ok"};
        QTest::newRow("warning Yes") << "warning" << (0x4000 | 0x10000) << "Yes" << 0x4000
                                     << QStringList{"Yes", "No"};
        QTest::newRow("warning No") << "warning" << (0x4000 | 0x10000) << "No" << 0x10000
                                    << QStringList{"Yes", "No"};
        QTest::newRow("warning Escape answers No") << "warning" << (0x4000 | 0x10000) << "<escape>"
                                                   << 0x10000 << QStringList{"Yes", "No"};
        QTest::newRow("Escape prefers Cancel") << "warning" << (0x400 | 0x400000) << "<escape>"
                                               << 0x400000 << QStringList{"Ok", "Cancel"};
    }
    void messageBoxReturnsThePressedFlag()
    {
        QFETCH(QString, kind);
        QFETCH(int, buttons);
        QFETCH(QString, press);
        QFETCH(int, expected);
        QFETCH(QStringList, texts);
        QWidget parent;
        parent.show();
        QScopedPointer<TestSupport::DialogAnswerer> answer(
            press == "<escape>" ? new TestSupport::DialogAnswerer(0)
                                : new TestSupport::DialogAnswerer(press));
        QString shownText;
        QWidget* shownParent = nullptr;
        answer->setInspector([&, escape = press == "<escape>"](QWidget* box) {
            shownText = box->findChild<QLabel*>("MessageText")->text();
            shownParent = box->parentWidget();
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
        });
        const int result = kind == "information"
                               ? MessageBox::information(&parent, "Info", "Some text", buttons, 0)
                               : MessageBox::warning(&parent, "Careful", "Some text", buttons, 0);
        QVERIFY(answer->answered());
        QCOMPARE(result, expected);
        QCOMPARE(answer->buttonTexts(), texts);
        QCOMPARE(answer->dialogTitle(), kind == "information" ? QString("Info") : QString("Careful"));
        QCOMPARE(shownText, QStringLiteral("Some text"));
        QCOMPARE(shownParent, &parent);
    }

    // The icon is the program's own picture, drawn for the pixel ratio of the screen the box opens
    // on: on a dense screen (this case also runs at scale 2) the double-density picture, never a
    // smaller one scaled up.
    void messageBoxIconsFollowThePixelRatio()
    {
        QWidget parent;
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const qreal ratio = parent.windowHandle()->devicePixelRatio();
        for (const auto& [icon, picture] : {std::pair(MessageBox::Information, ":/messageinformation.png"),
                                            std::pair(MessageBox::Warning, ":/messagewarning.png"),
                                            std::pair(MessageBox::Question, ":/messagequestion.png")}) {
            const MessageBox box(&parent, icon, "Title", "Text", MessageBox::Ok);
            const QPixmap shown = box.findChildren<QLabel*>().first()->pixmap(Qt::ReturnByValue);
            const QImage expected(ratio > 1 ? Common::doubleDensityName(picture) : QString(picture));
            QCOMPARE(shown.devicePixelRatio(), ratio);
            QVERIFY2(!expected.isNull() && shown.toImage().convertToFormat(expected.format()) == expected, picture);
        }
    }

    // ---- About box ----

    void aboutBoxTexts()
    {
        AboutDialog about(nullptr);
        QCOMPARE(about.objectName(), QStringLiteral("AboutDialog"));
        QCOMPARE(about.windowTitle(), QStringLiteral("TonarixTest Info"));
        QLabel* logo = about.findChild<QLabel*>("LogoLabel");
        QVERIFY(logo);
        about.show();
        QCOMPARE(logo->size(), QSize(290, 290));
        const QString build = about.findChild<QLabel*>("BuildLabel")->text();
        QVERIFY2(QRegularExpression("^TonarixTest Build: \\d{4}-\\d{2}-\\d{2}$").match(build).hasMatch(),
                 qPrintable(build));
        QVERIFY(about.findChild<QLabel*>("LinkLabel")->text().contains(Links::makerSite()));
        QStringList buttons;
        for (QPushButton* b : about.findChildren<QPushButton*>())
            buttons << b->text();
        QCOMPARE(buttons, (QStringList{"&Legal Notices", "&Ok"}));

        QString notices;
        TestSupport::DialogAnswerer answer("Ok");
        answer.setInspector([&notices](QWidget* dialog) {
            if (QTextBrowser* text = dialog->findChild<QTextBrowser*>())
                notices = text->toPlainText();
        });
        about.findChildren<QPushButton*>().first()->click();
        QVERIFY(answer.answered());
        for (const char* source : {"Qt", "LGPL", "DejaVu", "FreeFont", "Noto", "SIL Open Font",
                                   "FluidR3_GM", "fluid-soundfont-gm", "MIT"})
            QVERIFY2(notices.contains(QLatin1String(source)), source);

        about.findChildren<QPushButton*>().last()->click();
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    // ---- share and join-us dialogs ----

    void shareDialogLinks()
    {
        TellDialog dialog(nullptr);
        QCOMPARE(dialog.objectName(), QStringLiteral("Dialog"));
        QCOMPARE(dialog.linkOf("FaceBookShareButton"),
                 QStringLiteral("http://vantrel.example/apps/tonarix/fb.php"));
        QCOMPARE(dialog.linkOf("TwitterShareButton"),
                 QStringLiteral("http://vantrel.example/apps/tonarix/tw.php"));
        // No VKontakte link set: its button cannot be pressed.
        QVERIFY(!dialog.findChild<QPushButton*>("VKontakteShareButton")->isEnabled());

        const QUrl mail(dialog.linkOf("EmailShareButton"));
        QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
        const QUrlQuery query(mail);
        QVERIFY(query.queryItemValue("subject", QUrl::FullyDecoded).contains("TonarixTest"));
        QVERIFY(query.queryItemValue("body", QUrl::FullyDecoded)
                    .contains("http://vantrel.example/apps/tonarixtest"));

        TestSupport::UrlCatcher catcher;
        dialog.show();
        dialog.findChild<QPushButton*>("TwitterShareButton")->click();
        QCOMPARE(catcher.urlStrings(), QStringList{"http://vantrel.example/apps/tonarix/tw.php"});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void joinDialogLinks_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("social");
        for (const Faces::JoinFace& join : Faces::kJoinButtons)
            QTest::newRow(join.face.objectName) << join.face.objectName << join.social;
    }
    void joinDialogLinks()
    {
        QFETCH(QString, button);
        QFETCH(QString, social);
        JoinDialog dialog(nullptr);
        TestSupport::UrlCatcher catcher;
        dialog.show();
        dialog.findChild<QPushButton*>(button)->click();
        QCOMPARE(catcher.count(), 1);
        const QUrl url = catcher.last();
        QCOMPARE(url.scheme() + "://" + url.host() + url.path(), Links::makerJoinPage());
        QCOMPARE(QUrlQuery(url).queryItemValue("app"), QStringLiteral("TonarixTest"));
        QCOMPARE(QUrlQuery(url).queryItemValue("social"), social);
    }

    // ---- introduction ----

    void slideShowSteps()
    {
        QTemporaryDir dir;
        QStringList paths;
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
        for (int i = 0; i < 3; ++i) {
            QImage image(80, 50, QImage::Format_RGB32);
            image.fill(colours[i]);
            paths << dir.path() + QString("/slide%1.png").arg(i);
            QVERIFY(image.save(paths.last()));
        }
        paths << dir.path() + "/missing.png";
        HelpDialog dialog(nullptr);
        dialog.setSlides(paths);
        dialog.show();
        dialog.start();
        QVERIFY(dialog.isPlaying());
        QCOMPARE(dialog.currentSlide(), 0);
        Label* picture = dialog.findChild<Label*>();
        QVERIFY(picture);
        QCOMPARE(picture->retinaPixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
        QVERIFY(picture->text().isEmpty());

        const QList<QPushButton*> steps = dialog.findChildren<QPushButton*>("HelpSlideButton");
        QPushButton* third = nullptr;
        for (QPushButton* step : steps)
            if (step->text() == "3")
                third = step;
        QVERIFY(third);
        third->click();
        QCOMPARE(dialog.currentSlide(), 2);
        QVERIFY(third->isChecked());
        QCOMPARE(picture->retinaPixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));

        dialog.slotNext();
        QCOMPARE(dialog.currentSlide(), 3);
        QVERIFY(picture->retinaPixmap().isNull());   // a missing file shows a note instead
        QVERIFY(!picture->text().isEmpty());
        dialog.slotNext();
        QCOMPARE(dialog.currentSlide(), 0);           // wraps round
        dialog.slotPrevious();
        QCOMPARE(dialog.currentSlide(), 3);

        dialog.close();
        QVERIFY(!dialog.isPlaying());
    }

    void slideShowMovesOnByItself()
    {
        QTemporaryDir dir;
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QVERIFY(image.save(dir.path() + "/a.png"));
        HelpDialog dialog(nullptr);
        dialog.setSlides({dir.path() + "/a.png", dir.path() + "/a.png"});
        dialog.show();
        dialog.start();
        QTest::qWait(3500);
        QCOMPARE(dialog.currentSlide(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.currentSlide(), 1, 2500);
    }

    // ---- pictures ----

    void framePicturesExistAtBothScales_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        auto add = [](const Faces::Face& face) {
            const QSize size(face.width, face.height);
            QTest::newRow(face.picture) << QString(face.picture) << size;
            QTest::newRow(qPrintable(QString(face.picture) + "_hover"))
                << QString(face.picture) + "_hover" << size;
        };
        for (const Faces::Face& face : Faces::kPromoButtons)
            add(face);
        for (const Faces::Face& face : Faces::kShareButtons)
            add(face);
        for (const Faces::JoinFace& join : Faces::kJoinButtons)
            add(join.face);
        QTest::newRow("app") << "app" << QSize(Faces::kLogoSize, Faces::kLogoSize);
        for (const char* icon : {"appicon", "star", "recommend", "moreappsicon", "feedback", "webpage"})
            QTest::newRow(icon) << QString(icon) << QSize();
    }
    void framePicturesExistAtBothScales()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage one(":/" + name + ".png");
        const QImage two(":/" + name + "@2x.png");
        QVERIFY2(!one.isNull(), qPrintable(name));
        QVERIFY2(!two.isNull(), qPrintable(name + "@2x"));
        QCOMPARE(two.size(), one.size() * 2);
        if (size.isValid())
            QCOMPARE(one.size(), size);
        // Drawn, not blank.
        QVERIFY(one.pixelColor(one.width() / 2, one.height() / 2).alpha() > 0);
    }
};

TONARIX_APP_TEST_MAIN(TestFrameworkWidgets)
#include "tst_Widgets.moc"
