#include "AvailabilityDialog.h"

#include "TonarixIdentity.h"

#include "REZirudid/Label.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// One row per instrument that has an application of its own; the mandolin has none.
struct InstrumentApp
{
    const char* instrument;   // lower case
    const TonarixIdentity::AppLink* app;
    void (AvailabilityDialog::*slot)();
};

const InstrumentApp instrumentApps[] = {
    {"guitar", &TonarixIdentity::guitarApp, &AvailabilityDialog::slotGotoGuitarTonarix},
    {"ukulele", &TonarixIdentity::ukuleleApp, &AvailabilityDialog::slotGotoUkuleleTonarix},
    {"violin", &TonarixIdentity::violinApp, &AvailabilityDialog::slotGotoViolinTonarix},
    {"bass", &TonarixIdentity::bassApp, &AvailabilityDialog::slotGotoBassTonarix},
};

const InstrumentApp* appFor(const QString& instrument)
{
    const QString name = instrument.toLower();
    for (const InstrumentApp& row : instrumentApps) {
        if (name == QLatin1String(row.instrument))
            return &row;
    }
    return nullptr;
}

void fillRow(REZirudid::Label* icon, QLabel* caption, const TonarixIdentity::AppLink& app)
{
    icon->setRetinaPixmap(QPixmap(QLatin1String(app.picture)));
    caption->setText(QStringLiteral("<CENTER>%1</CENTER>").arg(QLatin1String(app.title)));
}

} // namespace

AvailabilityDialog::AvailabilityDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AvailabilityDialog"));

    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setMinimumHeight(32);
    cancel->setFlat(true);
    cancel->setObjectName(QStringLiteral("PushButton"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_stack = new QStackedWidget;
    m_guitarPage = pagesFactory(QStringLiteral("Guitar"));
    m_ukulelePage = pagesFactory(QStringLiteral("Ukulele"));
    m_mandolinPage = pagesFactory(QStringLiteral("Mandolin"));
    m_violinPage = pagesFactory(QStringLiteral("Violin"));
    m_bassPage = pagesFactory(QStringLiteral("Bass"));
    for (QWidget* page : {m_guitarPage, m_ukulelePage, m_mandolinPage, m_violinPage, m_bassPage})
        m_stack->addWidget(page);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(7, 7, 7, 7);
    layout->setSpacing(2);
    layout->addWidget(new QLabel(tr("<CENTER><H1>Available in:</H1></CENTER>")));
    layout->addSpacing(5);
    layout->addWidget(m_stack);
    layout->addSpacing(5);
    layout->addWidget(cancel);
    setLayout(layout);
    setCurrentPage(QStringLiteral("Guitar"));
}

void AvailabilityDialog::setCurrentPage(const QString& instrument)
{
    const QString name = instrument.toLower();
    if (name == QLatin1String("guitar"))
        m_stack->setCurrentWidget(m_guitarPage);
    else if (name == QLatin1String("ukulele"))
        m_stack->setCurrentWidget(m_ukulelePage);
    else if (name == QLatin1String("violin"))
        m_stack->setCurrentWidget(m_violinPage);
    else if (name == QLatin1String("bass"))
        m_stack->setCurrentWidget(m_bassPage);
    else
        m_stack->setCurrentWidget(m_mandolinPage);
    // The stack takes the size of the page shown, so the one-row mandolin page is not padded out
    // to the height of the two-row pages.
    for (int i = 0; i < m_stack->count(); ++i) {
        QWidget* page = m_stack->widget(i);
        page->setSizePolicy(page == m_stack->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                            page == m_stack->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    }
    // Hidden pages do not report their new policy themselves.
    m_stack->updateGeometry();
    adjustSize();
}

QWidget* AvailabilityDialog::pagesFactory(const QString& instrument)
{
    auto* page = new QWidget;
    QPushButton* gets[2];
    for (QPushButton*& get : gets) {
        get = new QPushButton(tr("Get It"));
        get->setMinimumHeight(44);
        get->setMinimumWidth(100);
        get->setFlat(true);
        get->setObjectName(QStringLiteral("GetButton"));
        connect(get, &QPushButton::clicked, this, &QDialog::reject);
    }
    REZirudid::Label* icons[2];
    QLabel* captions[2];
    for (int i = 0; i < 2; ++i) {
        icons[i] = new REZirudid::Label(nullptr);
        icons[i]->setFixedSize(128, 128);
        captions[i] = new QLabel;
    }

    fillRow(icons[1], captions[1], TonarixIdentity::completeApp);
    connect(gets[1], &QPushButton::clicked, this, &AvailabilityDialog::slotGotoTonarix);

    if (const InstrumentApp* own = appFor(instrument)) {
        fillRow(icons[0], captions[0], *own->app);
        connect(gets[0], &QPushButton::clicked, this, own->slot);
    } else {
        icons[0]->hide();
        captions[0]->hide();
        gets[0]->hide();
    }

    auto* pageLayout = new QVBoxLayout;
    pageLayout->setContentsMargins(10, 10, 10, 10);
    pageLayout->setSpacing(5);
    for (int i = 0; i < 2; ++i) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(10, 10, 10, 10);
        row->setSpacing(5);
        row->addLayout(combined(icons[i], captions[i]));
        row->addWidget(gets[i]);
        pageLayout->addLayout(row);
    }
    page->setLayout(pageLayout);
    return page;
}

QVBoxLayout* AvailabilityDialog::combined(QWidget* icon, QLabel* caption)
{
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(icon);
    layout->addWidget(caption);
    return layout;
}

void AvailabilityDialog::openAndAccept(const QString& link)
{
    QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
    accept();
}

void AvailabilityDialog::slotGotoTonarix()
{
    openAndAccept(TonarixIdentity::pageOf(TonarixIdentity::completeApp));
}

void AvailabilityDialog::slotGotoBassTonarix()
{
    openAndAccept(TonarixIdentity::pageOf(TonarixIdentity::bassApp));
}

void AvailabilityDialog::slotGotoGuitarTonarix()
{
    openAndAccept(TonarixIdentity::pageOf(TonarixIdentity::guitarApp));
}

void AvailabilityDialog::slotGotoViolinTonarix()
{
    openAndAccept(TonarixIdentity::pageOf(TonarixIdentity::violinApp));
}

void AvailabilityDialog::slotGotoUkuleleTonarix()
{
    openAndAccept(TonarixIdentity::pageOf(TonarixIdentity::ukuleleApp));
}
