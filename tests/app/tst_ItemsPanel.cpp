// The instrument column and the availability dialog it opens: object names, texts, the exclusive
// banjo/balalaika pair, which page the dialog shows, and where its buttons lead.
#include "AvailabilityDialog.h"
#include "ItemsPanel.h"
#include "TonarixIdentity.h"
#include "TonarixStyle.h"

#include "TestMain.h"

#include "REZirudid/Label.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

// Receives what the dialog hands to the desktop's URL handler.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void record(const QUrl& url) { urls.append(url); }
};

class TestItemsPanel : public QObject
{
    Q_OBJECT
private:
    UrlRecorder m_urls;

    static QWidget* visiblePage(AvailabilityDialog& dialog)
    {
        return dialog.findChild<QStackedWidget*>()->currentWidget();
    }
    // The captions that are shown on a page (hidden rows do not count).
    static QStringList shownCaptions(QWidget* page)
    {
        QStringList captions;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (!qobject_cast<REZirudid::Label*>(label) && !label->isHidden())
                captions << label->text();
        }
        return captions;
    }
    static QList<QPushButton*> shownGetButtons(QWidget* page)
    {
        QList<QPushButton*> buttons;
        for (QPushButton* b : page->findChildren<QPushButton*>()) {
            if (!b->isHidden())
                buttons << b;
        }
        return buttons;
    }

private slots:
    void initTestCase()
    {
        qApp->setStyleSheet(strTonarixStyle);
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_urls, "record");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_urls, "record");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    void init() { m_urls.urls.clear(); }

    void panelLayout()
    {
        ItemsPanel panel;
        QCOMPARE(panel.objectName(), QStringLiteral("ItemsPanel"));
        // Column order top to bottom: button, its label, for each instrument.
        const QStringList expectedButtons = {"BanjoItem", "BalalaikaItem", "GuitarItem", "BassItem",
                                             "UkuleleItem", "ViolinItem", "MandolinItem"};
        const QStringList expectedLabels = {"Banjo", "Balalaika", "Guitar", "Bass",
                                            "Ukulele", "Violin", "Mandolin"};
        QStringList buttons, labels;
        QLayout* layout = panel.layout();
        for (int i = 0; i < layout->count(); ++i) {
            QWidget* w = layout->itemAt(i)->widget();
            if (auto* b = qobject_cast<QPushButton*>(w)) {
                buttons << b->objectName();
                QCOMPARE(b->size(), QSize(64, 64));
                QVERIFY(b->isFlat());
                QVERIFY(b->text().isEmpty());
            } else if (auto* l = qobject_cast<QLabel*>(w)) {
                labels << l->text();
                QCOMPARE(l->objectName(), QStringLiteral("SimpleText"));
                QCOMPARE(l->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
            }
        }
        QCOMPARE(buttons, expectedButtons);
        QCOMPARE(labels, expectedLabels);
    }

    void exclusivePairReportsClicks()
    {
        ItemsPanel panel;
        QSignalSpy changed(&panel, &ItemsPanel::itemChanged);
        auto* banjo = panel.findChild<QPushButton*>("BanjoItem");
        auto* balalaika = panel.findChild<QPushButton*>("BalalaikaItem");
        QVERIFY(banjo->isChecked());
        QVERIFY(!balalaika->isChecked());
        QCOMPARE(changed.count(), 0);

        QTest::mouseClick(balalaika, Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().at(0).toString(), QStringLiteral("BalalaikaItem"));
        QVERIFY(!banjo->isChecked());

        // A click on the checked one reports it again.
        QTest::mouseClick(balalaika, Qt::LeftButton);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().at(0).toString(), QStringLiteral("BalalaikaItem"));

        QTest::mouseClick(banjo, Qt::LeftButton);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.last().at(0).toString(), QStringLiteral("BanjoItem"));
    }

    // Each of the five other buttons opens the dialog on its page, waits for it and leaves the
    // pair as it was.
    void otherInstrumentsOpenTheDialog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("guitar") << "GuitarItem" << QStringList{"<CENTER>Guitar Tonarix</CENTER>", "<CENTER>Tonarix</CENTER>"};
        QTest::newRow("bass") << "BassItem" << QStringList{"<CENTER>Bass Tonarix</CENTER>", "<CENTER>Tonarix</CENTER>"};
        QTest::newRow("ukulele") << "UkuleleItem" << QStringList{"<CENTER>Ukulele Tonarix</CENTER>", "<CENTER>Tonarix</CENTER>"};
        QTest::newRow("violin") << "ViolinItem" << QStringList{"<CENTER>Violin Tonarix</CENTER>", "<CENTER>Tonarix</CENTER>"};
        QTest::newRow("mandolin") << "MandolinItem" << QStringList{"<CENTER>Tonarix</CENTER>"};
    }
    void otherInstrumentsOpenTheDialog()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, captions);
        ItemsPanel panel;
        panel.show();
        QSignalSpy changed(&panel, &ItemsPanel::itemChanged);
        auto* other = panel.findChild<QPushButton*>(button);
        QVERIFY(!other->isCheckable());

        QStringList seen;
        bool wasWindowModal = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = panel.findChild<AvailabilityDialog*>();
            if (!dialog)
                return;
            wasWindowModal = dialog->isVisible() && dialog->windowModality() == Qt::WindowModal;
            seen = shownCaptions(visiblePage(*dialog));
            dialog->findChild<QPushButton*>("PushButton")->click();   // Cancel
        });
        QTest::mouseClick(other, Qt::LeftButton);   // returns once the dialog has finished
        QVERIFY(wasWindowModal);
        QCOMPARE(seen, captions);
        QVERIFY(panel.findChild<AvailabilityDialog*>() == nullptr);   // gone with the slot
        QVERIFY(panel.findChild<QPushButton*>("BanjoItem")->isChecked());
        QVERIFY(!other->isChecked());
        QCOMPARE(changed.count(), 0);
        QVERIFY(m_urls.urls.isEmpty());   // Cancel opens nothing
    }

    void dialogFrame()
    {
        AvailabilityDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("AvailabilityDialog"));
        QVERIFY(dialog.windowTitle().isEmpty());
        QLabel* heading = nullptr;
        for (QLabel* l : dialog.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
            heading = l;
        QVERIFY(heading);
        QCOMPARE(heading->text(), QStringLiteral("<CENTER><H1>Available in:</H1></CENTER>"));
        auto* cancel = dialog.findChild<QPushButton*>("PushButton");
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        QVERIFY(cancel->isFlat());
        QCOMPARE(cancel->minimumHeight(), 32);
        // A new dialog shows the guitar page.
        QCOMPARE(shownCaptions(visiblePage(dialog)).value(0), QStringLiteral("<CENTER>Guitar Tonarix</CENTER>"));

        const auto gets = dialog.findChildren<QPushButton*>("GetButton");
        QCOMPARE(gets.size(), 10);
        for (QPushButton* get : gets) {
            QCOMPARE(get->text(), QStringLiteral("Get It"));
            QVERIFY(get->isFlat());
            QCOMPARE(get->minimumHeight(), 44);
            QCOMPARE(get->minimumWidth(), 100);
        }
        const auto icons = dialog.findChildren<REZirudid::Label*>();
        QCOMPARE(icons.size(), 10);
        for (REZirudid::Label* icon : icons) {
            QCOMPARE(icon->size(), QSize(128, 128));
            // Every shown icon has its 256 x 256 picture; the hidden one (mandolin) has none.
            if (!icon->isHidden())
                QCOMPARE(icon->retinaPixmap().size(), QSize(256, 256));
        }
    }

    void pageChoice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("firstCaption");
        QTest::newRow("GUITAR") << "GUITAR" << "<CENTER>Guitar Tonarix</CENTER>";
        QTest::newRow("guitar") << "guitar" << "<CENTER>Guitar Tonarix</CENTER>";
        QTest::newRow("Ukulele") << "Ukulele" << "<CENTER>Ukulele Tonarix</CENTER>";
        QTest::newRow("vIoLiN") << "vIoLiN" << "<CENTER>Violin Tonarix</CENTER>";
        QTest::newRow("Bass") << "Bass" << "<CENTER>Bass Tonarix</CENTER>";
        QTest::newRow("Mandolin") << "Mandolin" << "<CENTER>Tonarix</CENTER>";
        QTest::newRow("Piano") << "Piano" << "<CENTER>Tonarix</CENTER>";
        QTest::newRow("empty") << "" << "<CENTER>Tonarix</CENTER>";
    }
    void pageChoice()
    {
        QFETCH(QString, name);
        QFETCH(QString, firstCaption);
        AvailabilityDialog dialog;
        dialog.setCurrentPage(name);
        QCOMPARE(shownCaptions(visiblePage(dialog)).value(0), firstCaption);
    }

    // The dialog fits the page it shows: the one-row mandolin page makes a shorter dialog.
    void dialogFitsItsPage()
    {
        AvailabilityDialog guitar;
        guitar.setCurrentPage("Guitar");
        AvailabilityDialog mandolin;
        mandolin.setCurrentPage("Mandolin");
        QVERIFY(mandolin.sizeHint().height() < guitar.sizeHint().height() - 100);
        mandolin.setCurrentPage("Bass");
        QCOMPARE(mandolin.sizeHint().height(), guitar.sizeHint().height());
    }

    // Get It closes the dialog (finished comes first, as the waiting panel needs) and opens the
    // application's page.
    void getItOpensThePage_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("link");
        const QString host = TonarixIdentity::makerWebHost();
        QTest::newRow("guitar own") << "Guitar" << 0 << host + "/apps/guitartonarix";
        QTest::newRow("ukulele own") << "Ukulele" << 0 << host + "/apps/ukuleletonarix";
        QTest::newRow("violin own") << "Violin" << 0 << host + "/apps/violintonarix";
        QTest::newRow("bass own") << "Bass" << 0 << host + "/apps/basstonarix";
        QTest::newRow("violin complete") << "Violin" << 1 << host + "/apps/tonarix";
        QTest::newRow("mandolin complete") << "Mandolin" << 0 << host + "/apps/tonarix";
    }
    void getItOpensThePage()
    {
        QFETCH(QString, page);
        QFETCH(int, row);
        QFETCH(QString, link);
        AvailabilityDialog dialog;
        dialog.setCurrentPage(page);
        dialog.open();
        QSignalSpy finished(&dialog, &QDialog::finished);
        const QList<QPushButton*> gets = shownGetButtons(visiblePage(dialog));
        QVERIFY(row < gets.size());
        QTest::mouseClick(gets.at(row), Qt::LeftButton);
        QVERIFY(finished.count() >= 1);
        QCOMPARE(finished.first().at(0).toInt(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_urls.urls.size(), 1);
        QCOMPARE(m_urls.urls.first(), QUrl(link));
        QVERIFY(link.startsWith(QStringLiteral("http://")));
        QVERIFY(QUrl(link).host().endsWith(QStringLiteral(".example")));
    }
};

TONARIX_APP_TEST_MAIN(TestItemsPanel)
#include "tst_ItemsPanel.moc"
