#include "ItemsPanel.h"

#include "AvailabilityDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ItemsPanel::ItemsPanel(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("ItemsPanel"));

    auto* balalaika = new QPushButton;
    auto* banjo = new QPushButton;
    m_violin = new QPushButton;
    m_bass = new QPushButton;
    m_guitar = new QPushButton;
    m_mandolin = new QPushButton;
    m_ukulele = new QPushButton;
    applyItemButtonProperties(balalaika, QStringLiteral("BalalaikaItem"));
    applyItemButtonProperties(banjo, QStringLiteral("BanjoItem"));
    applyItemButtonProperties(m_violin, QStringLiteral("ViolinItem"));
    applyItemButtonProperties(m_bass, QStringLiteral("BassItem"));
    applyItemButtonProperties(m_guitar, QStringLiteral("GuitarItem"));
    applyItemButtonProperties(m_mandolin, QStringLiteral("MandolinItem"));
    applyItemButtonProperties(m_ukulele, QStringLiteral("UkuleleItem"));

    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    m_group->addButton(banjo);
    m_group->addButton(balalaika);

    for (QPushButton* other : {m_guitar, m_bass, m_ukulele, m_violin, m_mandolin}) {
        other->setCheckable(false);
        connect(other, &QPushButton::clicked, this, &ItemsPanel::slotInstrumentClicked);
    }

    // Checked before the group's connection exists, so no itemChanged is reported for it: the
    // main window opens on the banjo page by its own stack order.
    banjo->setChecked(true);
    connect(m_group, QOverload<QAbstractButton*>::of(&QButtonGroup::buttonClicked), this,
            &ItemsPanel::slotItemClicked);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(3);
    const struct
    {
        QPushButton* button;
        QString label;
    } column[] = {
        {banjo, tr("Banjo")},       {balalaika, tr("Balalaika")}, {m_guitar, tr("Guitar")},
        {m_bass, tr("Bass")},       {m_ukulele, tr("Ukulele")},   {m_violin, tr("Violin")},
        {m_mandolin, tr("Mandolin")},
    };
    for (const auto& entry : column) {
        layout->addWidget(entry.button);
        layout->addWidget(applyItemLabelProperties(new QLabel(entry.label)));
        layout->addStretch(1);
    }
    setLayout(layout);
}

void ItemsPanel::applyItemButtonProperties(QPushButton* button, const QString& name)
{
    button->setFlat(true);
    button->setFixedSize(64, 64);
    button->setObjectName(name);
    button->setCheckable(true);
}

QLabel* ItemsPanel::applyItemLabelProperties(QLabel* label)
{
    label->setObjectName(QStringLiteral("SimpleText"));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return label;
}

void ItemsPanel::slotItemClicked()
{
    if (QAbstractButton* checked = m_group->checkedButton())
        emit itemChanged(checked->objectName());
}

void ItemsPanel::slotInstrumentClicked()
{
    AvailabilityDialog dialog(this);
    const QObject* from = sender();
    if (from == m_violin)
        dialog.setCurrentPage(QStringLiteral("Violin"));
    else if (from == m_bass)
        dialog.setCurrentPage(QStringLiteral("Bass"));
    else if (from == m_guitar)
        dialog.setCurrentPage(QStringLiteral("Guitar"));
    else if (from == m_mandolin)
        dialog.setCurrentPage(QStringLiteral("Mandolin"));
    else if (from == m_ukulele)
        dialog.setCurrentPage(QStringLiteral("Ukulele"));

    // Window-modal and non-blocking; the panel waits here until the dialog finishes.
    dialog.open();
    QEventLoop loop;
    connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    loop.exec();
}
