#include "RIRurud/ChordView.h"

#include "REZirudid/App.h"
#include "RIRurud/ChordPhotoView.h"
#include "RIRurud/ChordStandardView.h"
#include "RIRurud/ChordTabView.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace RIRurud {

ChordView::ChordView(QWidget* parent)
    : QFrame(parent)
    , m_standardView(new ChordStandardView)
    , m_tabView(new ChordTabView)
    , m_photoView(new ChordPhotoView)
    , m_instrumentLabel(new QFrame)
    , m_playButton(new QPushButton)
{
    setObjectName(QStringLiteral("ChordView"));
    setMinimumSize(150, 150);
    const REZirudid::App* app = REZirudid::App::theApp();
    const bool pocket = app && app->isPocketDevice();

    m_playButton->setObjectName(QStringLiteral("PlayButton"));
    m_playButton->setToolTip(tr("Play the chord"));
    m_playButton->setFocusPolicy(Qt::NoFocus);
    connect(m_playButton, &QPushButton::clicked, this, &ChordView::play);

    auto* options = new QFrame;
    options->setObjectName(QStringLiteral("ViewOptionsFrame"));
    options->setMaximumWidth(pocket ? 56 : 64);
    auto* optionsLayout = new QVBoxLayout(options);
    if (pocket) {
        optionsLayout->setContentsMargins(2, 2, 2, 2);
        optionsLayout->setSpacing(2);
    }
    optionsLayout->addWidget(m_playButton, 0, Qt::AlignHCenter);
    optionsLayout->addWidget(m_instrumentLabel, 0, Qt::AlignHCenter);
    optionsLayout->addStretch(1);

    auto* pictures = new QVBoxLayout;
    pictures->addWidget(m_standardView);
    pictures->addWidget(m_tabView);

    auto* layout = new QHBoxLayout(this);
    if (pocket) {
        layout->setContentsMargins(1, 1, 1, 1);
        layout->setSpacing(1);
    }
    layout->addWidget(options);
    layout->addLayout(pictures, 1);
    layout->addWidget(m_photoView, 1);
}

void ChordView::setInstrumentName(const QString& name)
{
    m_instrumentName = name;
    m_standardView->setInstrumentName(name);
    m_tabView->setInstrumentName(name);
    m_photoView->setInstrumentName(name);
    m_instrumentLabel->setObjectName(QStringLiteral("InstrumentLabel_") + name);
    m_instrumentLabel->setFixedSize(40, 105);
    // A style sheet in force picks the new object name up only when asked to.
    m_instrumentLabel->style()->unpolish(m_instrumentLabel);
    m_instrumentLabel->style()->polish(m_instrumentLabel);
}

void ChordView::setChordTabAndName(int index, const QVector<int>& tab, const QString& name)
{
    m_standardView->setChordTabAndName(index, tab, name);
    m_tabView->setChordTabAndName(index, tab, name);
    m_photoView->setChordTabAndName(index, tab, name);
}

void ChordView::optimizationProtocol(const QString& fileName, const QString& line)
{
    const REZirudid::App* app = REZirudid::App::theApp();
    if (!app)
        return;
    QFile file(app->supportDirectory() + fileName);
    QString content;
    if (file.open(QIODevice::ReadOnly)) {
        content = QString::fromUtf8(file.readAll());
        file.close();
    }
    if (content.split(QLatin1Char('\n')).contains(line))
        return;
    if (!file.open(QIODevice::Append))
        return;
    // A file that does not end its last line gets the line feed first, so the lines stay apart.
    const QString separator = content.isEmpty() || content.endsWith(QLatin1Char('\n')) ? QString() : QStringLiteral("\n");
    file.write((separator + line + QLatin1Char('\n')).toUtf8());
}

} // namespace RIRurud
