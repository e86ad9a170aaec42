#include "RIRurud/_Tuner/TunersExplorer.h"

#include "RIRurud/_Tuner/TunerTables.h"
#include "RIRurud/_Tuner/TunersCommonPanel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace RIRurud {

namespace {

constexpr int kButtonSide = 92;

// The order the buttons are made and join the group in.
constexpr TunerTables::Id kCreationOrder[] = {
    TunerTables::Violin, TunerTables::Viola, TunerTables::Cello, TunerTables::DoubleBass,
    TunerTables::Guitar, TunerTables::BassGuitar, TunerTables::Ukulele, TunerTables::Banjo,
    TunerTables::Mandolin, TunerTables::Balalaika, TunerTables::Dombra,
};

QPushButton* pictureButton(const QString& objectName)
{
    auto* button = new QPushButton;
    button->setFixedSize(kButtonSide, kButtonSide);
    button->setFlat(true);
    button->setObjectName(objectName);
    return button;
}

} // namespace

TunersExplorer::TunersExplorer(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("TunersExplorer"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    m_commonPanel = new TunersCommonPanel;
    connect(m_commonPanel, SIGNAL(repeatModeChangedTo(bool)), this, SIGNAL(repeatModeChangedTo(bool)));

    auto* grid = new QGridLayout;
    grid->setContentsMargins(15, 15, 15, 15);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    const auto place = [&](QPushButton* button, const char* caption, int row, int column) {
        auto* label = new QLabel(tr("<center>%1</center>").arg(tr(caption)));
        grid->addWidget(button, 2 * row, column);
        grid->addWidget(label, 2 * row + 1, column);
    };

    QPushButton* guitar = nullptr;
    for (TunerTables::Id id : kCreationOrder) {
        const TunerTables::Tuner& tuner = TunerTables::kTuners[id];
        const QByteArray name(tuner.name);
        QPushButton* button = pictureButton(QString::fromLatin1(name + "Button"));
        button->setCheckable(true);
        m_group->addButton(button);
        // The signal is found by the instrument's name: show<Name>().
        const bool connected = connect(button, SIGNAL(clicked()), this, ("2show" + name + "()").constData());
        Q_ASSERT_X(connected, "TunersExplorer", tuner.name);
        Q_UNUSED(connected)
        place(button, tuner.name, tuner.explorerRow, tuner.explorerColumn);
        if (id == TunerTables::Guitar)
            guitar = button;
    }
    QPushButton* harmolux = pictureButton(QStringLiteral("HarmoluxButton"));
    connect(harmolux, SIGNAL(clicked()), this, SIGNAL(showMore()));
    place(harmolux, TunerTables::kHarmolux.title, TunerTables::kHarmoluxRow, TunerTables::kHarmoluxColumn);
    guitar->setChecked(true);

    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_commonPanel);
    layout->addStretch(1);
    layout->addLayout(grid);
    setLayout(layout);
}

} // namespace RIRurud
