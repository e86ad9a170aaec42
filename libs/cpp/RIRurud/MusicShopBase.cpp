#include "RIRurud/MusicShopBase.h"

#include <QStringList>

namespace RIRurud {

MusicShopBase::MusicShopBase(QObject* parent)
    : QObject(parent)
{
}

MusicShopBase::MusicShopBase(ShopLinks::Instrument instrument, QObject* parent)
    : QObject(parent)
{
    fill(instrument, QLocale::system().country());
}

QStringList MusicShopBase::linksFor(ShopLinks::Instrument instrument, QLocale::Country country)
{
    const ShopLinks::Region region = ShopLinks::regionFor(country);
    QStringList links;
    for (int entry = 0; entry < ShopLinks::kEntryCount; ++entry)
        links << ShopLinks::storeLink(instrument, region.store, ShopLinks::Entry(entry));
    links << ShopLinks::articleLink(instrument, region.edition);
    return links;
}

void MusicShopBase::fill(ShopLinks::Instrument instrument, QLocale::Country country)
{
    const QStringList links = linksFor(instrument, country);
    m_mustHave = links.at(0);
    m_niceToHave = links.at(1);
    m_read = links.at(2);
    m_hear = links.at(3);
    m_see = links.at(4);
    m_wikipedia = links.at(5);
}

} // namespace RIRurud
