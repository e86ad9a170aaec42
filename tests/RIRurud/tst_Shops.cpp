// The instrument shops and the page frame's shop menu: which links each country gets, and that the
// menu entries open them.

#include "REZirudid/PromoMenuBar.h"
#include "RIRurud/BalalaikaShop.h"
#include "RIRurud/BanjoShop.h"
#include "RIRurud/BaseMainPage.h"
#include "RIRurud/BassShop.h"
#include "RIRurud/GuitarShop.h"
#include "RIRurud/MandolinShop.h"
#include "RIRurud/PianoShop.h"
#include "RIRurud/UkuleleShop.h"
#include "RIRurud/ViolinShop.h"
#include "TestMain.h"
#include "UrlCatcher.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

using namespace RIRurud;
using ShopLinks::Instrument;

Q_DECLARE_METATYPE(ShopLinks::Instrument)
Q_DECLARE_METATYPE(QLocale::Country)

class TestShops : public QObject
{
    Q_OBJECT

private slots:
    void linksPerCountry_data();
    void linksPerCountry();
    void germanSpeakingCountriesShareOneRow();
    void rowsDifferBetweenStoresAndEntries();
    void accentedTitlesArePercentEncoded();
    void everyShopFollowsTheSystemCountry_data();
    void everyShopFollowsTheSystemCountry();
    void menuEntriesFollowTheOwnersEntries();
    void menuEntriesOpenTheShopLinks();
    void pageWithoutShopOpensNothing();
};

namespace {

const char* const kNames[] = {"Ukulele", "Guitar", "Banjo", "Bass", "Balalaika", "Piano", "Mandolin", "Violin"};

std::unique_ptr<MusicShopBase> makeShop(Instrument i)
{
    switch (i) {
    case Instrument::Ukulele: return std::make_unique<UkuleleShop>();
    case Instrument::Guitar: return std::make_unique<GuitarShop>();
    case Instrument::Banjo: return std::make_unique<BanjoShop>();
    case Instrument::Bass: return std::make_unique<BassShop>();
    case Instrument::Balalaika: return std::make_unique<BalalaikaShop>();
    case Instrument::Piano: return std::make_unique<PianoShop>();
    case Instrument::Mandolin: return std::make_unique<MandolinShop>();
    case Instrument::Violin: return std::make_unique<ViolinShop>();
    }
    return nullptr;
}

QStringList linksOf(const MusicShopBase& s)
{
    return {s.mustHave(), s.niceToHave(), s.read(), s.hear(), s.see(), s.wikipedia()};
}

// The store host and encyclopedia host a country must get.
QPair<QString, QString> hostsFor(QLocale::Country c)
{
    switch (c) {
    case QLocale::Germany:
    case QLocale::Austria:
    case QLocale::Switzerland:
        return {"de.shop.example", "de.encyclopedia.example"};
    case QLocale::France:
        return {"fr.shop.example", "fr.encyclopedia.example"};
    case QLocale::Canada:
        return {"ca.shop.example", "en.encyclopedia.example"};
    case QLocale::UnitedKingdom:
        return {"uk.shop.example", "en.encyclopedia.example"};
    default:
        return {"shop.example", "en.encyclopedia.example"};
    }
}

class ProbePage : public BaseMainPage
{
public:
    explicit ProbePage(Instrument instrument)
        : m_instrument(instrument)
    {
    }
    void addShopMenu() override
    {
        setShop(makeShop(m_instrument).release());
        shop()->setParent(this);
        doShopConnections();
    }

private:
    Instrument m_instrument;
};

} // namespace

void TestShops::linksPerCountry_data()
{
    QTest::addColumn<Instrument>("instrument");
    QTest::addColumn<QLocale::Country>("country");
    QTest::addColumn<QString>("article");

    const QList<QLocale::Country> countries = {QLocale::UnitedStates, QLocale::Italy, QLocale::Japan,
                                               QLocale::Germany, QLocale::Canada, QLocale::France,
                                               QLocale::UnitedKingdom};
    const QStringList en = {"Ukulele", "Guitar", "Banjo", "Bass_guitar", "Balalaika", "Piano", "Mandolin", "Violin"};
    const QStringList de = {"Ukulele", "Gitarre", "Banjo", "E-Bass", "Balalaika", "Klavier", "Mandoline", "Violine"};
    const QStringList fr = {QString::fromUtf8("Ukulélé"), "Guitare", "Banjo", "Guitare_basse",
                            QString::fromUtf8("Balalaïka"), "Piano", "Mandoline", "Violon"};
    for (int i = 0; i < 8; ++i) {
        for (QLocale::Country c : countries) {
            const QString article = c == QLocale::Germany ? de.at(i) : c == QLocale::France ? fr.at(i) : en.at(i);
            QTest::addRow("%s %s", kNames[i], qPrintable(QLocale::countryToString(c)))
                << Instrument(i) << c << article;
        }
    }
}

void TestShops::linksPerCountry()
{
    QFETCH(Instrument, instrument);
    QFETCH(QLocale::Country, country);
    QFETCH(QString, article);

    const QStringList links = MusicShopBase::linksFor(instrument, country);
    QCOMPARE(links.size(), 6);
    const auto hosts = hostsFor(country);
    static const QRegularExpression store(QStringLiteral("^http://([a-z.]+)/([a-z0-9-]+)\\?_encoding=UTF8&node=([1-9][0-9]*)$"));
    for (int e = 0; e < 5; ++e) {
        const QRegularExpressionMatch m = store.match(links.at(e));
        QVERIFY2(m.hasMatch(), qPrintable(links.at(e)));
        QCOMPARE(m.captured(1), hosts.first);
        QVERIFY(m.captured(1).endsWith(QStringLiteral(".example")));
    }
    QCOMPARE(links.at(5), QStringLiteral("http://") + hosts.second + QStringLiteral("/wiki/") + article);
}

void TestShops::germanSpeakingCountriesShareOneRow()
{
    for (int i = 0; i < 8; ++i) {
        const QStringList germany = MusicShopBase::linksFor(Instrument(i), QLocale::Germany);
        QCOMPARE(MusicShopBase::linksFor(Instrument(i), QLocale::Austria), germany);
        QCOMPARE(MusicShopBase::linksFor(Instrument(i), QLocale::Switzerland), germany);
        // Canada and the United Kingdom keep the English article of the default row.
        const QStringList us = MusicShopBase::linksFor(Instrument(i), QLocale::UnitedStates);
        QCOMPARE(MusicShopBase::linksFor(Instrument(i), QLocale::Canada).last(), us.last());
        QCOMPARE(MusicShopBase::linksFor(Instrument(i), QLocale::UnitedKingdom).last(), us.last());
        QCOMPARE(MusicShopBase::linksFor(Instrument(i), QLocale::AnyCountry), us);
    }
}

void TestShops::rowsDifferBetweenStoresAndEntries()
{
    // Five distinct entries per shop and store, and no two shops share a link: a copied row
    // would send a page's menu to another instrument's shelf.
    QSet<QString> all;
    const QList<QLocale::Country> stores = {QLocale::UnitedStates, QLocale::Germany, QLocale::Canada,
                                            QLocale::France, QLocale::UnitedKingdom};
    for (int i = 0; i < 8; ++i) {
        for (QLocale::Country c : stores) {
            const QStringList links = MusicShopBase::linksFor(Instrument(i), c);
            for (int e = 0; e < 5; ++e) {
                QVERIFY2(!all.contains(links.at(e)), qPrintable(links.at(e)));
                all.insert(links.at(e));
            }
        }
    }
    QCOMPARE(all.size(), 8 * 5 * 5);
}

void TestShops::accentedTitlesArePercentEncoded()
{
    const QUrl ukulele(MusicShopBase::linksFor(Instrument::Ukulele, QLocale::France).last(), QUrl::TolerantMode);
    QCOMPARE(ukulele.toEncoded(), QByteArray("http://fr.encyclopedia.example/wiki/Ukul%C3%A9l%C3%A9"));
    QCOMPARE(ukulele.path(), QString::fromUtf8("/wiki/Ukulélé"));
    const QUrl balalaika(MusicShopBase::linksFor(Instrument::Balalaika, QLocale::France).last(), QUrl::TolerantMode);
    QCOMPARE(balalaika.toEncoded(), QByteArray("http://fr.encyclopedia.example/wiki/Balala%C3%AFka"));
}

void TestShops::everyShopFollowsTheSystemCountry_data()
{
    QTest::addColumn<Instrument>("instrument");
    for (int i = 0; i < 8; ++i)
        QTest::newRow(kNames[i]) << Instrument(i);
}

void TestShops::everyShopFollowsTheSystemCountry()
{
    QFETCH(Instrument, instrument);
    // CTest runs this test under several locales (LC_ALL); the expected country comes with it.
    const QLocale::Country country = QLocale::system().country();
    const QByteArray expected = qgetenv("TONARIX_EXPECT_COUNTRY");
    if (!expected.isEmpty())
        QCOMPARE(QLocale::countryToString(country), QString::fromLatin1(expected));

    const auto shop = makeShop(instrument);
    const QStringList links = linksOf(*shop);
    QCOMPARE(links, MusicShopBase::linksFor(instrument, country));
    const auto hosts = hostsFor(country);
    QCOMPARE(QUrl(links.first()).host(), hosts.first);
    QCOMPARE(QUrl(links.last()).host(), hosts.second);
    QVERIFY(QUrl(links.last()).path().startsWith(QStringLiteral("/wiki/")));
    QVERIFY(qobject_cast<MusicShopBase*>(shop.get()));
    QVERIFY(QByteArray(shop->metaObject()->className()).endsWith(QByteArray(kNames[int(instrument)]) + "Shop"));
}

void TestShops::menuEntriesFollowTheOwnersEntries()
{
    ProbePage page(Instrument::Banjo);
    QMenu* menu = page.promoMenuBar()->moreMenu();
    QVERIFY(menu);
    const int before = menu->actions().size();
    auto* own = new QAction(QStringLiteral("Owner's entry"), &page);
    page.promoMenuBar()->addMenuAction(own);
    QVERIFY(!page.shop());

    page.addShopMenu();
    QVERIFY(page.shop());
    QCOMPARE(page.shop()->parent(), &page);
    const QList<QAction*> actions = menu->actions().mid(before);
    QCOMPARE(actions.size(), 1 + 1 + 5 + 1 + 1);
    QCOMPARE(actions.at(0), own);
    QVERIFY(actions.at(1)->isSeparator());
    const QStringList texts = {"Must Have", "Nice to Have", "Read", "Hear", "See"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(actions.at(2 + i)->text(), texts.at(i));
        QVERIFY2(!actions.at(2 + i)->icon().isNull(), qPrintable(texts.at(i)));
        QCOMPARE(actions.at(2 + i)->parent(), &page);
    }
    QVERIFY(actions.at(7)->isSeparator());
    QCOMPARE(actions.at(8)->text(), QStringLiteral("Wikipedia"));
    QVERIFY(!actions.at(8)->icon().isNull());
}

void TestShops::menuEntriesOpenTheShopLinks()
{
    TestSupport::UrlCatcher catcher;
    for (int i = 0; i < 8; ++i) {
        ProbePage page{Instrument(i)};
        QMenu* menu = page.promoMenuBar()->moreMenu();
        const int before = menu->actions().size();
        page.addShopMenu();
        catcher.clear();
        for (QAction* a : menu->actions().mid(before)) {
            if (!a->isSeparator())
                a->trigger();
        }
        QStringList expected;
        for (const QString& link : linksOf(*page.shop()))
            expected << QUrl(link, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
        QCOMPARE(catcher.urlStrings(), expected);

        // The slots open the same links, one each.
        catcher.clear();
        page.slotWikipedia();
        page.slotSee();
        QCOMPARE(catcher.urlStrings(), QStringList({expected.at(5), expected.at(4)}));
    }
}

void TestShops::pageWithoutShopOpensNothing()
{
    TestSupport::UrlCatcher catcher;
    ProbePage page(Instrument::Violin);
    const int entries = page.promoMenuBar()->moreMenu()->actions().size();
    page.slotMustHave();
    page.slotNiceToHave();
    page.slotRead();
    page.slotHear();
    page.slotSee();
    page.slotWikipedia();
    QCOMPARE(catcher.count(), 0);
    QCOMPARE(page.promoMenuBar()->moreMenu()->actions().size(), entries);
}

TONARIX_APP_TEST_MAIN(TestShops)
#include "tst_Shops.moc"
