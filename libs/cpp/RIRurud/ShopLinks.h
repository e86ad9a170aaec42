#pragma once

// Every web link of the instrument shops (plain http links), named once: the online stores per
// country, the editions of the online encyclopedia, and per instrument the store category numbers of
// each country and the article titles. Plain constant tables; MusicShopBase turns one row into the
// six links of a shop.

#include "REZirudid/Common.h"

#include <QAction>
#include <QCoreApplication>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>

namespace RIRurud {
namespace ShopLinks {

// The instruments that have a shop, in the order of the tables below.
enum class Instrument { Ukulele, Guitar, Banjo, Bass, Balalaika, Piano, Mandolin, Violin };
inline constexpr int kInstrumentCount = 8;

// The stores of the tables, in their column order. United States is the default store.
enum class Store { UnitedStates, Germany, Canada, France, UnitedKingdom };
inline constexpr int kStoreCount = 5;

// The editions of the encyclopedia.
enum class Edition { English, German, French };

// The five store entries of a shop, in menu order.
enum Entry { MustHave, NiceToHave, Read, Hear, See };
inline constexpr int kEntryCount = 5;

struct StoreSite
{
    const char* host;   // the store's host
    const char* tag;    // the maker's affiliate shop tag (the one path segment of a link)
};

inline constexpr StoreSite kStores[kStoreCount] = {
    {"shop.example", "tonarix-20"},
    {"de.shop.example", "tonarix-21"},
    {"ca.shop.example", "tonarix0c-20"},
    {"fr.shop.example", "tonarix0f-21"},
    {"uk.shop.example", "tonarix-uk-21"},
};

inline constexpr const char* kEncyclopediaHosts[3] = {
    "en.encyclopedia.example",
    "de.encyclopedia.example",
    "fr.encyclopedia.example",
};

struct InstrumentLinks
{
    const char* articles[3];                  // article title per edition (UTF-8)
    int categories[kStoreCount][kEntryCount]; // store category number per store and entry
};

// Rows in the order of Instrument; category rows in the order of Store; numbers in Entry order.
inline constexpr InstrumentLinks kInstruments[kInstrumentCount] = {
    {{"Ukulele", "Ukulele", "Ukul\xc3\xa9l\xc3\xa9"},
     {{3471, 6305, 2186, 1791, 7468},
      {2408, 4517, 9313, 1614, 8104},
      {2013, 3028, 1968, 4657, 7955},
      {5744, 3181, 3363, 1763, 7867},
      {2688, 4078, 3961, 2596, 7101}}},
    {{"Guitar", "Gitarre", "Guitare"},
     {{4374, 8005, 6146, 9711, 9133},
      {2341, 4999, 3945, 5070, 5919},
      {7850, 9387, 2199, 5717, 2934},
      {1642, 2271, 7909, 6572, 6140},
      {8767, 2126, 5422, 2533, 2064}}},
    {{"Banjo", "Banjo", "Banjo"},
     {{7320, 1369, 8564, 5662, 6685},
      {1965, 4575, 9088, 5709, 3119},
      {2320, 8359, 5552, 7580, 3725},
      {7233, 6878, 7804, 4780, 3472},
      {8945, 3987, 5304, 1197, 4822}}},
    {{"Bass_guitar", "E-Bass", "Guitare_basse"},
     {{9445, 7049, 6220, 3056, 9758},
      {7457, 7521, 8889, 2696, 7536},
      {3659, 4420, 6571, 2801, 8219},
      {9791, 6957, 3478, 2662, 1417},
      {6966, 6691, 5132, 8768, 3433}}},
    {{"Balalaika", "Balalaika", "Balala\xc3\xafka"},
     {{8927, 3361, 8870, 6109, 2407},
      {3645, 8841, 1378, 4362, 9459},
      {9652, 2491, 9493, 5278, 5883},
      {9236, 9725, 4654, 6401, 9873},
      {9073, 6825, 4714, 9480, 4275}}},
    {{"Piano", "Klavier", "Piano"},
     {{5246, 8327, 6726, 4172, 6640},
      {8701, 4716, 4348, 4222, 6533},
      {2389, 8832, 4265, 7365, 2964},
      {7576, 7485, 2391, 8588, 2421},
      {8624, 6741, 3394, 8771, 3476}}},
    {{"Mandolin", "Mandoline", "Mandoline"},
     {{4191, 8107, 9627, 2683, 3281},
      {5249, 5799, 4940, 6341, 9211},
      {9219, 6796, 8506, 9466, 7891},
      {8211, 1064, 3823, 4000, 3454},
      {6340, 8905, 9492, 9695, 2011}}},
    {{"Violin", "Violine", "Violon"},
     {{5537, 2601, 8408, 1691, 9318},
      {5541, 4267, 6334, 9391, 9282},
      {9572, 5253, 4319, 3246, 8332},
      {8017, 6177, 2188, 4942, 2198},
      {6999, 5146, 8663, 3248, 3342}}},
};

// Which store and which encyclopedia edition serve a country: German-speaking countries get the
// German store and article, France the French ones, Canada and the United Kingdom their own store
// with the English article, every other country the default store with the English article.
struct Region
{
    Store store;
    Edition edition;
};

inline Region regionFor(QLocale::Country country)
{
    switch (country) {
    case QLocale::Austria:
    case QLocale::Germany:
    case QLocale::Switzerland:
        return {Store::Germany, Edition::German};
    case QLocale::Canada:
        return {Store::Canada, Edition::English};
    case QLocale::France:
        return {Store::France, Edition::French};
    case QLocale::UnitedKingdom:
        return {Store::UnitedKingdom, Edition::English};
    default:
        return {Store::UnitedStates, Edition::English};
    }
}

// The entries of a shop menu, in menu order (a separator stands before the encyclopedia): the
// icon, the text (translated by the page) and the page's slot that opens the link.
struct MenuEntry
{
    const char* icon;
    const char* text;
    const char* slot;
};

inline const MenuEntry kMenuEntries[kEntryCount + 1] = {
    {":/musthave.png", QT_TRANSLATE_NOOP("RIRurud::ShopLinks", "Must Have"), SLOT(slotMustHave())},
    {":/nicetohave.png", QT_TRANSLATE_NOOP("RIRurud::ShopLinks", "Nice to Have"), SLOT(slotNiceToHave())},
    {":/read.png", QT_TRANSLATE_NOOP("RIRurud::ShopLinks", "Read"), SLOT(slotRead())},
    {":/ohr.png", QT_TRANSLATE_NOOP("RIRurud::ShopLinks", "Hear"), SLOT(slotHear())},
    {":/eye.png", QT_TRANSLATE_NOOP("RIRurud::ShopLinks", "See"), SLOT(slotSee())},
    {":/wikipedia.png", QT_TRANSLATE_NOOP("RIRurud::ShopLinks", "Wikipedia"), SLOT(slotWikipedia())},
};

// The shop menu's actions in menu order, a separator before the encyclopedia, each owned by
// `receiver` and connected to its slot there.
inline QList<QAction*> menuActions(QObject* receiver)
{
    QList<QAction*> actions;
    for (const MenuEntry& entry : kMenuEntries) {
        if (&entry == &kMenuEntries[kEntryCount]) {
            auto* separator = new QAction(receiver);
            separator->setSeparator(true);
            actions << separator;
        }
        auto* action = new QAction(REZirudid::Common::sharpIcon(QString::fromLatin1(entry.icon)),
                                   QCoreApplication::translate("RIRurud::ShopLinks", entry.text), receiver);
        QObject::connect(action, SIGNAL(triggered()), receiver, entry.slot);
        actions << action;
    }
    return actions;
}

// "http://<store host>/<tag>?_encoding=UTF8&node=<category>"
inline QString storeLink(Instrument instrument, Store store, Entry entry)
{
    const StoreSite& site = kStores[int(store)];
    return QStringLiteral("http://%1/%2?_encoding=UTF8&node=%3")
        .arg(QLatin1String(site.host), QLatin1String(site.tag))
        .arg(kInstruments[int(instrument)].categories[int(store)][entry]);
}

// "http://<edition host>/wiki/<title>"
inline QString articleLink(Edition edition, const QString& title)
{
    return QStringLiteral("http://%1/wiki/%2").arg(QLatin1String(kEncyclopediaHosts[int(edition)]), title);
}

inline QString articleLink(Instrument instrument, Edition edition)
{
    return articleLink(edition, QString::fromUtf8(kInstruments[int(instrument)].articles[int(edition)]));
}

} // namespace ShopLinks
} // namespace RIRurud
