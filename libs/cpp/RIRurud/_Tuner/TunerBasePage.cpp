#include "RIRurud/_Tuner/TunerBasePage.h"

#include "RIRurud/_Tuner/ButtonsPanel.h"
#include "RIRurud/_Tuner/ModesPanel.h"
#include "RIRurud/_Tuner/TuneButton.h"

#include "RIRurud/MusicShopBase.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/ShopLinks.h"

#include "REZirudid/App.h"

#include <QCoreApplication>
#include <QPainter>
#include <QSignalMapper>
#include <QVBoxLayout>

#include <iterator>

namespace RIRurud {

namespace {

// The tuner table names the shops by their rows in ShopLinks.h.
constexpr bool sameShop(TunerTables::Shop tunerShop, ShopLinks::Instrument shop)
{
    return int(tunerShop) == int(shop);
}
static_assert(sameShop(TunerTables::Shop::Ukulele, ShopLinks::Instrument::Ukulele)
                  && sameShop(TunerTables::Shop::Guitar, ShopLinks::Instrument::Guitar)
                  && sameShop(TunerTables::Shop::Banjo, ShopLinks::Instrument::Banjo)
                  && sameShop(TunerTables::Shop::Bass, ShopLinks::Instrument::Bass)
                  && sameShop(TunerTables::Shop::Balalaika, ShopLinks::Instrument::Balalaika)
                  && sameShop(TunerTables::Shop::Piano, ShopLinks::Instrument::Piano)
                  && sameShop(TunerTables::Shop::Mandolin, ShopLinks::Instrument::Mandolin)
                  && sameShop(TunerTables::Shop::Violin, ShopLinks::Instrument::Violin),
              "the tuner table's shops are not the rows of ShopLinks.h");

} // namespace

TunerBasePage::TunerBasePage(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("TunerPage"));
    m_toneDirectory = REZirudid::App::bundleResourcePathFor(QCoreApplication::applicationDirPath());
    setMinimumWidth(300);

    m_modesPanel = new ModesPanel;
    m_buttonsPanel = new ButtonsPanel;
    connect(m_modesPanel, SIGNAL(repeatModeChangedTo(bool)), m_buttonsPanel, SLOT(slotSetRepeatMode(bool)));

    auto* layout = new QVBoxLayout;
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_modesPanel);
    layout->addStretch(1);
    layout->addWidget(m_buttonsPanel);
    setLayout(layout);
}

void TunerBasePage::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    m_pictureFile.clear();
    m_scaled = QPixmap();
}

QPixmap TunerBasePage::picture() const
{
    if (!m_pictureFile.isEmpty()) {
        m_picture = QPixmap(m_pictureFile);
        m_pictureFile.clear();
    }
    return m_picture;
}

TuneButton* TunerBasePage::button(int index) const
{
    return m_buttonsPanel->button(index);
}

void TunerBasePage::hideAppOptions()
{
    m_modesPanel->hideAppOptions();
}

QStringList TunerBasePage::linksFor(const TunerTables::Tuner& tuner, QLocale::Country country)
{
    QStringList links = MusicShopBase::linksFor(ShopLinks::Instrument(int(tuner.shop)), country);
    const ShopLinks::Edition edition = ShopLinks::regionFor(country).edition;
    links[5] = ShopLinks::articleLink(edition, QString::fromUtf8(tuner.articles[int(edition)]));
    return links;
}

void TunerBasePage::build(const TunerTables::Tuner& tuner)
{
    const QString name = QString::fromLatin1(tuner.name);
    m_pictureFile = QStringLiteral(":/%1.jpg").arg(name);

    for (int key = 0; key < tuner.stringCount; ++key) {
        button(key)->show();
        button(key)->setText(QString::fromLatin1(tuner.strings[key]));
    }

    m_signalMapper = new QSignalMapper(this);
    connect(m_signalMapper, SIGNAL(mappedString(QString)), this, SLOT(slotPlay(QString)));
    for (int key = 0; key < tuner.stringCount; ++key) {
        connect(button(key), SIGNAL(play()), m_signalMapper, SLOT(map()));
        m_signalMapper->setMapping(button(key), m_toneDirectory + QLatin1String(tuner.prefix) + QStringLiteral("_%1_")
                                                    + QLatin1String(tuner.strings[key]) + QStringLiteral(".mp3"));
    }

    const QStringList links = linksFor(tuner, QLocale::system().country());
    m_modesPanel->setMustHave(links.at(0));
    m_modesPanel->setNiceToHave(links.at(1));
    m_modesPanel->setRead(links.at(2));
    m_modesPanel->setHear(links.at(3));
    m_modesPanel->setSee(links.at(4));
    m_modesPanel->setWikipedia(links.at(5));

    const auto addApps = [this](const TunerTables::AppRow* rows, int count) {
        for (int i = 0; i < count; ++i) {
            m_modesPanel->addMenuAppLink(QPixmap(QString::fromLatin1(rows[i].icon)), tr(rows[i].title),
                                         QString::fromLatin1(rows[i].storeName), QString::fromLatin1(rows[i].storeId));
        }
        m_modesPanel->addMenuSeparator();
    };
    addApps(TunerTables::kAppRowsFirst, int(std::size(TunerTables::kAppRowsFirst)));
    addApps(TunerTables::kAppRowsSecond, int(std::size(TunerTables::kAppRowsSecond)));
    m_modesPanel->addBaseActions();
}

void TunerBasePage::slotPlay(const QString& fileTemplate)
{
    if (!isVisible())
        return;
    NoteName::playSoundFile(fileTemplate.arg(TunersCommonPanel::storedPitch()));
}

void TunerBasePage::slotSetRepeatMode(bool on)
{
    m_buttonsPanel->slotSetRepeatMode(on);
}

// The picture, scaled to twice the page's size with its proportions kept, drawn centred at half
// that size: as large as fits, at twice the page's pixel density. The halvings truncate.
void TunerBasePage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QPixmap picture = this->picture();
    if (picture.isNull())
        return;
    const int W = width();
    const int H = height();
    const QSize scaled = picture.size().scaled(2 * W, 2 * H, Qt::KeepAspectRatio);
    const int w = scaled.width() / 2;
    const int h = scaled.height() / 2;
    const QRect target(qAbs(W - w) / 2, qAbs(H - h) / 2, w, h);

    const qreal ratio = devicePixelRatioF();
    const QSize device(qRound(w * ratio), qRound(h * ratio));
    if (m_scaled.size() != device || !qFuzzyCompare(m_scaled.devicePixelRatio(), ratio)) {
        m_scaled = picture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
    }
    painter.drawPixmap(target.topLeft(), m_scaled);
}

} // namespace RIRurud
