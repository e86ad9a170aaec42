#pragma once

#include "RIRurud/ShopLinks.h"

#include <QLocale>
#include <QObject>
#include <QString>

namespace RIRurud {

// Six web links about one instrument: five pages of an online store and one encyclopedia article.
// The links are chosen once, at construction, by the country of the system locale.
class MusicShopBase : public QObject
{
    Q_OBJECT
public:
    explicit MusicShopBase(QObject* parent = nullptr);

    QString mustHave() const { return m_mustHave; }
    QString niceToHave() const { return m_niceToHave; }
    QString read() const { return m_read; }
    QString hear() const { return m_hear; }
    QString see() const { return m_see; }
    QString wikipedia() const { return m_wikipedia; }

    // The six links of an instrument for a country, in the getters' order.
    static QStringList linksFor(ShopLinks::Instrument instrument, QLocale::Country country);

protected:
    // Fills the six links of the instrument for the country of the system locale.
    MusicShopBase(ShopLinks::Instrument instrument, QObject* parent);
    void fill(ShopLinks::Instrument instrument, QLocale::Country country);

private:
    QString m_mustHave;
    QString m_niceToHave;
    QString m_read;
    QString m_hear;
    QString m_see;
    QString m_wikipedia;
};

} // namespace RIRurud
