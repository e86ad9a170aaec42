#include "RIRurud/ChordsButtonsPanel.h"

#include "RIRurud/ChordBook.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVariant>

namespace RIRurud {

namespace {

const char* const kPartProperty = "chordPart";

// The quality buttons in three rows of musical kinship: triads and sevenths, the others, the
// altered ones. Each with its suffix, the face it shows and its tool tip.
struct QualityFace
{
    const char* suffix;
    const char* face;
    const char* toolTip;
};

const QualityFace kQualityFaces[] = {
    {"", "maj", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Major")},
    {"m", "m", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Minor")},
    {"7", "7", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Seventh")},
    {"m7", "m7", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Minor seventh")},
    {"maj7", "maj7", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Major seventh")},
    {"6", "6", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Sixth")},
    {"m6", "m6", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Minor sixth")},
    {"9", "9", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Ninth")},
    {"aug", "aug", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Augmented")},
    {"dim", "dim", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Diminished")},
    {"sus4", "sus4", QT_TRANSLATE_NOOP("RIRurud::ChordsButtonsPanel", "Suspended fourth")},
};
constexpr int kQualityColumns = 4;

QPushButton* makeButton(const QString& face, const QString& part)
{
    auto* button = new QPushButton(face);
    button->setObjectName(QStringLiteral("PanelButton"));
    button->setProperty(kPartProperty, part);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QString partOf(const QAbstractButton* button)
{
    return button ? button->property(kPartProperty).toString() : QString();
}

QAbstractButton* buttonWithPart(const QButtonGroup* group, const QString& part)
{
    for (QAbstractButton* button : group->buttons()) {
        if (partOf(button) == part)
            return button;
    }
    return nullptr;
}

} // namespace

ChordsButtonsPanel::ChordsButtonsPanel(QWidget* parent)
    : QFrame(parent)
    , m_roots(new QButtonGroup(this))
    , m_qualities(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("ChordsButtonsPanel"));

    // Roots: one column a letter, flats above the naturals above the sharps.
    auto* roots = new QGridLayout;
    roots->setSpacing(3);
    const QStringList& spellings = ChordBook::rootSpellings();
    for (int i = 0; i < spellings.size(); ++i) {
        const QString& spelling = spellings.at(i);
        QPushButton* button = makeButton(spelling, spelling);
        const int row = spelling.size() == 1 ? 1 : (spelling.endsWith(ChordBook::flatSign()) ? 0 : 2);
        roots->addWidget(button, row, i / 3);
        m_roots->addButton(button);
    }

    auto* qualities = new QGridLayout;
    qualities->setSpacing(3);
    int at = 0;
    for (const QualityFace& face : kQualityFaces) {
        QPushButton* button = makeButton(QString::fromLatin1(face.face), QString::fromLatin1(face.suffix));
        button->setToolTip(tr(face.toolTip));
        button->setProperty("quality", true);
        qualities->addWidget(button, at / kQualityColumns, at % kQualityColumns);
        m_qualities->addButton(button);
        ++at;
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 8, 6, 8);
    layout->setSpacing(10);
    layout->addLayout(roots, 7);
    layout->addLayout(qualities, kQualityColumns);

    rootButton(QStringLiteral("A"))->setChecked(true);
    qualityButton(QString())->setChecked(true);

    for (QAbstractButton* button : m_roots->buttons() + m_qualities->buttons())
        connect(button, &QAbstractButton::clicked, this, &ChordsButtonsPanel::slotButtonClicked);
}

bool ChordsButtonsPanel::setChord(const QString& name)
{
    QString spelling, suffix;
    if (!ChordBook::splitChordName(name, &spelling, &suffix))
        return false;
    rootButton(spelling)->setChecked(true);
    qualityButton(suffix)->setChecked(true);
    emit chordChanged(stringToChord(name), name);
    return true;
}

int ChordsButtonsPanel::stringToChord(const QString& name)
{
    return ChordBook::chordIndex(name);
}

QString ChordsButtonsPanel::currentChordPart1() const
{
    return partOf(m_roots->checkedButton());
}

QString ChordsButtonsPanel::currentChordPart2() const
{
    return partOf(m_qualities->checkedButton());
}

QString ChordsButtonsPanel::currentChord() const
{
    return currentChordPart1() + currentChordPart2();
}

QAbstractButton* ChordsButtonsPanel::rootButton(const QString& spelling) const
{
    return buttonWithPart(m_roots, spelling);
}

QAbstractButton* ChordsButtonsPanel::qualityButton(const QString& suffix) const
{
    return buttonWithPart(m_qualities, suffix);
}

void ChordsButtonsPanel::slotButtonClicked()
{
    const QString name = currentChord();
    emit chordChanged(stringToChord(name), name);
}

} // namespace RIRurud
