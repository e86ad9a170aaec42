#include "RIRurud/NotesWidget.h"

#include "REZirudid/App.h"
#include "RIRurud/NoteName.h"
#include "RIRurud/StaffGeometry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QVBoxLayout>

namespace RIRurud {

using namespace StaffGeometry;

namespace {

// A compiled-in picture scaled to a size in device pixels, shared through Qt's pixmap cache by
// every staff of the same size and pixel ratio: a resize back to a size seen before, or a second
// page at the same size, costs no scaling.
QPixmap scaledPicture(const QString& path, const QSize& deviceSize, Qt::AspectRatioMode mode)
{
    if (deviceSize.isEmpty())
        return QPixmap();
    const QString key = QStringLiteral("RIRurud.NotesWidget|%1|%2x%3|%4")
                            .arg(path)
                            .arg(deviceSize.width())
                            .arg(deviceSize.height())
                            .arg(int(mode));
    QPixmap scaled;
    if (QPixmapCache::find(key, &scaled))
        return scaled;
    QPixmap source;
    if (!QPixmapCache::find(path, &source)) {
        if (!source.load(path))
            return QPixmap();
        QPixmapCache::insert(path, source);
    }
    scaled = source.scaled(deviceSize, mode, Qt::SmoothTransformation);
    QPixmapCache::insert(key, scaled);
    return scaled;
}

QPushButton* makeSignButton(const char* objectName)
{
    auto* button = new QPushButton();
    button->setFlat(true);
    button->setFixedSize(37, 37);
    button->setCheckable(true);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

} // namespace

NotesWidget::NotesWidget(QWidget* parent)
    : QFrame(parent)
{
    m_flatButton = makeSignButton("FlatSignButton");
    m_sharpButton = makeSignButton("SharpSignButton");
    m_naturalButton = makeSignButton("NaturalSignButton");
    m_naturalButton->setChecked(true);

    connect(m_flatButton, SIGNAL(clicked()), this, SLOT(slotSetFlat()));
    connect(m_sharpButton, SIGNAL(clicked()), this, SLOT(slotSetSharp()));
    connect(m_naturalButton, SIGNAL(clicked()), this, SLOT(slotSetNatural()));

    setMouseTracking(true);

    m_solfegeNames.append(tr("do"));
    m_solfegeNames.append(tr("re"));
    m_solfegeNames.append(tr("mi"));
    m_solfegeNames.append(tr("fa"));
    m_solfegeNames.append(tr("sol"));
    m_solfegeNames.append(tr("la"));
    m_solfegeNames.append(tr("si"));

    m_noteLabel = new QLabel();
    m_noteLabel->setObjectName(QStringLiteral("NoteLabel"));

    auto* signRow = new QHBoxLayout();
    signRow->setContentsMargins(1, 1, 1, 1);
    signRow->setSpacing(2);
    signRow->addWidget(m_naturalButton);
    signRow->addWidget(m_sharpButton);
    signRow->addWidget(m_flatButton);

    auto* topRow = new QHBoxLayout();
    topRow->setContentsMargins(0, 0, 0, 0);
    topRow->setSpacing(0);
    topRow->addLayout(signRow);
    topRow->addStretch(1);
    topRow->addWidget(m_noteLabel);

    auto* column = new QVBoxLayout();
    column->setContentsMargins(5, 5, 5, 5);
    column->setSpacing(5);
    column->addLayout(topRow);
    column->addStretch(1);
    setLayout(column);
}

NotesWidget::~NotesWidget() = default;

void NotesWidget::setPaperHeightFactor(const float& factor) { m_paperHeightFactor = factor; }
void NotesWidget::setStartLine(const int& line) { m_startLine = line; }
void NotesWidget::setLines(const int& lines) { m_lines = lines; }
void NotesWidget::setTranslateLines(const int& lines) { m_translateLines = lines; }
void NotesWidget::setNoBass(bool noBass) { m_noBass = noBass; }
void NotesWidget::setNoViolin(bool noViolin) { m_noViolin = noViolin; }
void NotesWidget::setInstrumentName(const QString& name) { m_instrumentName = name; }

bool NotesWidget::isFlat() const { return m_flatButton->isChecked(); }
bool NotesWidget::isSharp() const { return m_sharpButton->isChecked(); }
bool NotesWidget::isNatural() const { return m_naturalButton->isChecked(); }
int NotesWidget::pianoLines() const { return m_lines; }

float NotesWidget::linesHeight() const
{
    return lineHeight(height(), m_paperHeightFactor, m_lines);
}

float NotesWidget::shortLineWidth() const
{
    return float(double(linesHeight()) * 1.2);
}

float NotesWidget::noteWidth() const
{
    return linesHeight() / 1.2f;
}

int NotesWidget::c4() const
{
    return kC4HalfLine;
}

QPoint NotesWidget::nameToPos(const QString& name) const
{
    return QPoint(10, namePos.value(name, 0));
}

int NotesWidget::buttonAccidental() const
{
    if (isFlat())
        return -1;
    if (isSharp())
        return 1;
    return 0;
}

double NotesWidget::pixelRatio() const
{
    if (const REZirudid::App* app = REZirudid::App::theApp())
        return app->devicePixelRatio();
    return devicePixelRatioF();
}

void NotesWidget::slotSetFlat()
{
    m_flatButton->setChecked(true);
    m_sharpButton->setChecked(false);
    m_naturalButton->setChecked(false);
}

void NotesWidget::slotSetSharp()
{
    m_flatButton->setChecked(false);
    m_sharpButton->setChecked(true);
    m_naturalButton->setChecked(false);
}

void NotesWidget::slotSetNatural()
{
    m_flatButton->setChecked(false);
    m_sharpButton->setChecked(false);
    m_naturalButton->setChecked(true);
}

QRect NotesWidget::noteArea(const QPoint& pointer) const
{
    if (pointer.isNull())
        return QRect();
    const float lh = linesHeight();
    const int p = halfLineAt(pointer.y(), lh, m_translateLines);
    const float top = noteTop(p, lh, m_translateLines);
    const float u = lh / 1.2f;
    const float x0 = float(width() / 2) - u;
    // The sign stands left of the note, its baseline at the note's bottom edge; its glyph may
    // reach above the note's top.
    const int left = int(x0 - 2.0f * u) - 2;
    const int right = int(x0 + 2.2f * u) + 2;
    const int upper = int(top - lh) - 2;
    const int lower = int(top + 1.5f * lh) + 2;
    return QRect(QPoint(left, upper), QPoint(right, lower));
}

void NotesWidget::mousePressEvent(QMouseEvent* event)
{
    m_currentName.clear();
    const QPoint old = m_pointer;
    m_pointer = event->localPos().toPoint();
    repaint(QRegion(noteArea(old)) + noteArea(m_pointer));

    // Nothing under the pointer (above the staff's highest note): nothing to sound.
    if (m_currentName.isEmpty())
        return;
    QString layer = m_currentName;
    if (isSharp())
        layer = NoteName::layerForm(m_currentName, 1);
    else if (isFlat())
        layer = NoteName::layerForm(m_currentName, -1);
    NoteName::playSoundFile(NoteName::soundFilePath(m_instrumentName, layer));
}

void NotesWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QFrame::mouseReleaseEvent(event);
}

void NotesWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->localPos().toPoint();
    QFrame::mouseMoveEvent(event);
    // While a button is held the staff keeps the mouse; positions outside it name no note of
    // the staff and are ignored, as they are when no button is held.
    if (!rect().contains(pos))
        return;

    const QPoint old = m_pointer;
    m_pointer = pos;
    // The paint depends only on the band under the pointer and the sign: a move that changes
    // neither would repaint the same picture and report nothing, so it requests no paint.
    const float lh = linesHeight();
    const bool sameBand = !old.isNull() && !pos.isNull()
        && halfLineAt(old.y(), lh, m_translateLines) == halfLineAt(pos.y(), lh, m_translateLines);
    if (sameBand && buttonAccidental() == m_paintedAccidental)
        return;
    update(QRegion(noteArea(old)) + noteArea(pos));
}

void NotesWidget::enterEvent(QEvent* event)
{
    QFrame::enterEvent(event);
}

void NotesWidget::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
}

void NotesWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const float lh = linesHeight();
    const int w = width();

    const double halfShort = StaffTables::Drawing::kShortLineHalf * double(lh);
    const float centre = float(w) / 2.0f;
    for (int k = m_startLine; k < m_lines; ++k) {
        const float y = lineY(k, lh, m_translateLines);
        const bool treble = !m_noViolin && k >= kTrebleFirstLine && k <= kTrebleLastLine;
        const bool bass = !m_noBass && k >= kBassFirstLine && k <= kBassLastLine;
        if (treble || bass)
            painter.drawLine(QPointF(0, y), QPointF(w, y));
        else
            painter.drawLine(QPointF(centre + halfShort, y), QPointF(centre - halfShort, y));
    }

    const double dpr = pixelRatio();
    namespace drawing = StaffTables::Drawing;
    const int trebleSize = int(float(drawing::kTrebleClefLines) * lh);
    const int bassSize = int(float(drawing::kBassClefLines) * lh);
    if (m_keysStale) {
        if (!m_noViolin) {
            const int side = int(dpr * trebleSize);
            m_violinKeyPixmap = scaledPicture(QStringLiteral(":/violinkey.png"), QSize(side, side),
                                              Qt::KeepAspectRatio);
        }
        if (!m_noBass) {
            const int side = int(dpr * bassSize);
            m_bassKeyPixmap = scaledPicture(QStringLiteral(":/basskey.png"), QSize(side, side),
                                            Qt::KeepAspectRatio);
        }
        m_keysStale = false;
    }
    if (!m_noViolin && !m_violinKeyPixmap.isNull()) {
        const int top = int(lineY(drawing::kTrebleClefTopLine, lh, m_translateLines));
        painter.drawPixmap(QRect(0, top, trebleSize, trebleSize), m_violinKeyPixmap);
    }
    if (!m_noBass && !m_bassKeyPixmap.isNull()) {
        const int top = int(lineY(drawing::kBassClefTopLine, lh, m_translateLines));
        painter.drawPixmap(QRect(0, top, bassSize, bassSize), m_bassKeyPixmap);
    }

    // Paints of other regions (a child button redrawn over the staff) run drawNote as well but show
    // nothing of the note; only a paint that covers the note tells what is on screen.
    const int shownAccidental = m_paintedAccidental;
    drawNote(&painter);
    if (!(QRegion(noteArea(m_pointer)) - event->region()).isEmpty())
        m_paintedAccidental = shownAccidental;
    painter.end();
    QFrame::paintEvent(event);
}

void NotesWidget::drawNote(QPainter* painter)
{
    if (m_pointer.isNull())
        return;
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(Qt::black);

    const float lh = linesHeight();
    const int p = halfLineAt(m_pointer.y(), lh, m_translateLines);
    const float top = noteTop(p, lh, m_translateLines);
    if (aboveUpperLimit(top, m_startLine, lh, m_translateLines))
        return;

    const float u = lh / 1.2f;
    const float x0 = float(width() / 2) - u;
    const QRect target(int(x0), int(top), int(2.2f * u), int(lh));
    if (m_noteStale) {
        // Scaled straight to the device size of the rectangle it is drawn into, so that every
        // paint copies it pixel for pixel instead of stretching it.
        const double dpr = pixelRatio();
        m_notePixmap = scaledPicture(QStringLiteral(":/note.png"),
                                     QSize(int(dpr * target.width()), int(dpr * target.height())),
                                     Qt::IgnoreAspectRatio);
        m_noteStale = false;
    }
    painter->drawPixmap(target, m_notePixmap);

    const int accidental = buttonAccidental();
    m_paintedAccidental = accidental;
    if (accidental != 0) {
        QFont font = this->font();
        font.setPixelSize(qMax(1, int(1.5f * lh)));
        painter->setFont(font);
        painter->drawText(QPoint(int(x0 - 1.5f * u), int(top + lh)),
                          accidental < 0 ? QString(QChar(0x266D)) : QStringLiteral("#"));
    }

    int letter = 0;
    int octave = 0;
    const QString name = nameOfHalfLine(p, &letter, &octave);
    if (!name.isEmpty() && name != m_currentName) {
        m_currentName = name;
        setNote(name, m_solfegeNames.at(letter) + QString::number(octave));
    }
}

void NotesWidget::setNote(const QString& name, const QString& solfege)
{
    const int accidental = buttonAccidental();
    setNoteLabel(name, solfege, accidental);
    emit noteChanged(name, accidental);
}

void NotesWidget::setNoteLabel(const QString& note, const QString& solfege, int accidental)
{
    QString sign;
    if (accidental > 0)
        sign = QStringLiteral("#");
    else if (accidental < 0)
        sign = QStringLiteral("<b>") + QChar(0x266D) + QStringLiteral("</b>");
    m_noteLabel->setText(QStringLiteral("<CENTER><FONT SIZE=\"10\">") + sign + note
                         + QStringLiteral("</FONT><br><FONT SIZE=\"5\">(") + sign + solfege
                         + QStringLiteral(")</FONT></CENTER>"));
}

void NotesWidget::slotShowNote(const QString& note, int accidental)
{
    const int index = note.isEmpty() ? -1 : NoteName::letterIndex(note.at(0));
    setNoteLabel(note, m_solfegeNames.at(index < 0 ? 6 : index), accidental);

    if (accidental == 0)
        slotSetNatural();
    else if (accidental < 0)
        slotSetFlat();
    else
        slotSetSharp();

    if (!namePos.contains(note))
        return;
    // The note goes to the middle of its own band rather than to the stored row: scaled and
    // truncated rows of notes with a small margin fall into the band of the next higher note at
    // many staff heights, and the staff must show the note the board sent.
    const float lh = linesHeight();
    const QPoint old = m_pointer;
    m_pointer = QPoint(10, bandCentreRow(halfLineOf(note), lh, m_translateLines));
    const bool wasBlocked = blockSignals(true);
    repaint(QRegion(noteArea(old)) + noteArea(m_pointer));
    blockSignals(wasBlocked);
}

void NotesWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    generateNamePosMap();
    m_keysStale = true;
    m_noteStale = true;
}

void NotesWidget::generateNamePosMap()
{
    fillNamePos(namePos, m_instrumentName, height());
}

} // namespace RIRurud
