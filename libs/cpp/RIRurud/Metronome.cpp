#include "RIRurud/Metronome.h"

#include "RIRurud/MetronomeBeats.h"
#include "RIRurud/MetronomeControls.h"
#include "RIRurud/NoteName.h"

#include "QMMultiMedia/AudioBackend.h"
#include "QMMultiMedia/DecodedSound.h"

#include "REZirudid/Common.h"
#include "REZirudid/App.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace RIRurud {

namespace {
const QString kTick = QStringLiteral("tick.wav");
const QString kBell = QStringLiteral("bell.wav");
constexpr float kBeatGain = 0.5f;
} // namespace

Metronome::Metronome(QWidget* parent)
    : QFrame(parent)
    , m_engine(QMMultiMedia::AudioBackend::current()->engine())
{
    setObjectName(QStringLiteral("Metronome"));
    // Every paint covers the whole frame: nothing beneath it (the page's background, a style
    // sheet's) needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    const REZirudid::App* app = REZirudid::App::theApp();
    setSoundDirectory(app ? app->bundleResourcePath() : QString());

    m_beats = new MetronomeBeats;
    m_controls = new MetronomeControls;
    m_beats->slotSetBeats(m_controls->beatsCount());

    connect(m_controls, &MetronomeControls::beatsCountChanged, m_beats, &MetronomeBeats::slotSetBeats);
    connect(m_controls, &MetronomeControls::beatsCountChanged, this, &Metronome::slotBeatsCountChanged);
    connect(m_controls, &MetronomeControls::visibleTickChanged, this, &Metronome::slotVisibleTickChanged);
    connect(m_controls, &MetronomeControls::audibleTickChanged, this, &Metronome::slotAudibleTickChanged);
    connect(m_controls, &MetronomeControls::intervalChanged, this, &Metronome::slotTickIntervalChanged);
    connect(&m_timer, &QTimer::timeout, this, &Metronome::slotTick);

    // A precise timer keeps its grid as long as it is not held up for longer than a period;
    // realign() puts it back on the grid after that.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(periodMs(m_controls->interval()));
    m_realign.setSingleShot(true);
    m_realign.setTimerType(Qt::PreciseTimer);
    connect(&m_realign, &QTimer::timeout, this, [this] {
        m_timer.start();
        slotTick();
    });
    restartTimer();

    auto* layout = new QVBoxLayout(this);
    auto* beatsRow = new QHBoxLayout;
    beatsRow->addStretch(1);
    beatsRow->addWidget(m_beats);
    beatsRow->addStretch(1);
    auto* controlsRow = new QHBoxLayout;
    controlsRow->setContentsMargins(0, 0, 0, 0);
    controlsRow->setSpacing(0);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addStretch(23);
    column->addWidget(m_controls);
    column->addStretch(1);
    controlsRow->addStretch(1);
    controlsRow->addLayout(column);
    controlsRow->addStretch(1);
    layout->addLayout(beatsRow);
    layout->addLayout(controlsRow);
}

Metronome::~Metronome()
{
    // Beats given and not heard yet go with the metronome.
    for (const PlannedBeat& b : m_plan) {
        if (b.voice)
            m_engine->remove(b.voice);
    }
}

void Metronome::setSoundDirectory(const QString& directory)
{
    m_soundDirectory = directory;
    // Decoded now, so that no beat reads or decodes a file.
    const QString names[2] = {kTick, kBell};
    for (int i = 0; i < 2; ++i) {
        m_sounds[i] = QMMultiMedia::DecodedSound::open(m_soundDirectory + names[i]);
        if (m_sounds[i])
            m_sounds[i]->decode();
    }
}

qint64 Metronome::nowNs() const
{
    return m_engine->nowNs();
}

void Metronome::restartTimer()
{
    takeBack();
    m_realign.stop();
    m_timer.stop();
    m_timer.start();
    m_gridStartNs = nowNs();
    m_nextK = 1;
    plan();
}

void Metronome::slotTickIntervalChanged(int bpm)
{
    m_timer.setInterval(periodMs(bpm));
    restartTimer();
}

void Metronome::planOne()
{
    PlannedBeat b {m_nextK, m_gridStartNs + m_nextK * periodNs(), 0, -1, QString(), 0, m_tickCount, m_currentBeat,
            m_nextIsBarStart};
    m_beatSound.clear();
    b.mark = updateState(true);
    b.face = faceFor(m_nextIsBarStart, m_tickCount % 2 == 1);
    b.sound = m_beatSound;
    const auto& sound = m_sounds[b.sound == kBell ? 1 : 0];
    if (!b.sound.isEmpty() && sound && !NoteName::hasSoundHook()) {
        QMMultiMedia::AudioEngine::VoiceSpec spec;
        spec.sound = sound;
        spec.atNs = b.atNs;
        spec.left = spec.right = kBeatGain;
        spec.beat = true;
        b.voice = m_engine->add(spec);
    }
    m_tickCount += 1;
    m_nextK += 1;
    m_plan.push_back(b);
}

void Metronome::plan()
{
    const qint64 until = nowNs() + aheadNs;
    while (m_gridStartNs + m_nextK * periodNs() < until)
        planOne();
}

void Metronome::takeBack()
{
    // What has been heard by now is shown first; it cannot be taken back.
    const qint64 now = nowNs();
    while (!m_plan.empty() && m_plan.front().atNs <= now) {
        present(m_plan.front());
        m_plan.pop_front();
    }
    if (m_plan.empty())
        return;
    const PlannedBeat& first = m_plan.front();
    m_tickCount = first.tickCount;
    m_currentBeat = first.currentBeat;
    m_nextIsBarStart = first.nextIsBarStart;
    m_nextK = first.k;
    for (const PlannedBeat& b : m_plan) {
        if (b.voice)
            m_engine->remove(b.voice);
    }
    m_plan.clear();
}

void Metronome::slotTick()
{
    // The beat heard now, and any heard while the GUI thread was held up (only the last one shows).
    if (m_plan.empty())
        planOne();
    const qint64 now = nowNs();
    present(m_plan.front());
    m_plan.pop_front();
    while (!m_plan.empty() && m_plan.front().atNs <= now) {
        present(m_plan.front());
        m_plan.pop_front();
    }
    plan();
    realign();
}

void Metronome::realign()
{
    if (!m_timer.isActive() || m_plan.empty())
        return;
    const qint64 dueMs = (m_plan.front().atNs - nowNs()) / 1'000'000;
    if (qAbs(m_timer.remainingTime() - dueMs) <= 2)
        return;
    m_timer.stop();
    m_realign.start(int(qMax<qint64>(0, dueMs)));
}

void Metronome::present(const PlannedBeat& beat)
{
    showPicture(beat.face);
    if (beat.mark >= 0)
        m_beats->setCurrentBeat(beat.mark);
    // Only the eyes and the pendulum change: the rest of the face is not painted again.
    update(changingRect());
    // Without the sound engine (a test listening in), the sound is played as it is heard.
    if (!beat.sound.isEmpty() && NoteName::hasSoundHook())
        NoteName::playSoundFile(m_soundDirectory + beat.sound);
}

int Metronome::faceFor(bool barStart, bool oddTick) const
{
    using namespace MetronomeFaces;
    if (!m_visibleTick)
        return m_audibleTick ? EyesClosed : EyesClosedMute;
    if (barStart)
        return m_audibleTick ? Beat : MuteBeat;
    if (oddTick)
        return m_audibleTick ? BaseEyesLeft : MuteEyesLeft;
    return m_audibleTick ? EyesRight : MuteEyesRight;
}

int Metronome::updateState(bool tick)
{
    const int n = m_controls->beatsCount();
    if (n == 0) {
        normalBehavior(tick);
        return -1;
    }
    // The bar starts again once it is complete (or the count was lowered below the beat).
    const int beat = m_currentBeat >= n ? 0 : m_currentBeat;
    if (beat == 0)
        barStart(tick);
    else
        normalBehavior(tick);
    if (tick)
        m_currentBeat = beat + 1;
    return beat;
}

void Metronome::barStart(bool tick)
{
    m_nextIsBarStart = true;
    if (tick && m_audibleTick)
        play(kBell);
}

void Metronome::normalBehavior(bool tick)
{
    m_nextIsBarStart = false;
    if (tick && m_audibleTick)
        play(kTick);
}

void Metronome::play(const QString& fileName)
{
    m_beatSound = fileName;
}

void Metronome::showPicture(int which)
{
    m_current = which;
    m_currentPixmap = picture(which);
}

void Metronome::slotVisibleTickChanged(bool checked)
{
    takeBack();
    m_visibleTick = !checked;
    m_beats->setVisible(!checked);
    switched();
}

void Metronome::slotAudibleTickChanged(bool checked)
{
    takeBack();
    m_audibleTick = !checked;
    switched();
}

void Metronome::switched()
{
    // The coming beat's face at once; then the beats from the next one as the switches are now.
    updateState(false);
    showPicture(faceFor(m_nextIsBarStart, m_tickCount % 2 == 1));
    update();
    plan();
}

void Metronome::slotBeatsCountChanged()
{
    takeBack();
    plan();
}

const QPixmap& Metronome::picture(int which)
{
    QPixmap& cached = m_pictures[which];
    if (cached.isNull()) {
        const QPixmap loaded(QString::fromLatin1(MetronomeFaces::kFaces[which].resource));
        if (!loaded.isNull()) {
            const double r = REZirudid::Common::pixelRatio();
            cached = loaded.scaled(QSize(qRound(width() * r), qRound(height() * r)), Qt::KeepAspectRatio,
                                   Qt::SmoothTransformation);
        }
    }
    return cached;
}

void Metronome::setNeedsRecreatePixmaps()
{
    for (QPixmap& pixmap : m_pictures)
        pixmap = QPixmap();
}

void Metronome::resizeEvent(QResizeEvent* event)
{
    setNeedsRecreatePixmaps();
    QFrame::resizeEvent(event);
}

void Metronome::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    for (int i = 0; i < MetronomeFaces::PictureCount; ++i) {
        if (MetronomeFaces::kFaces[i].early)
            picture(i);
    }
}

QRect Metronome::changingRect()
{
    // Where any overlay is not clear, as a part of the canvas (found once from the pictures).
    static const QRectF part = [] {
        QRect bounds;
        for (int i = 0; i < MetronomeFaces::PictureCount; ++i) {
            if (i == MetronomeFaces::BaseEyesLeft)
                continue;
            const QImage image = QImage(QString::fromLatin1(MetronomeFaces::kFaces[i].resource))
                                     .convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < image.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                int x0 = 0, x1 = image.width() - 1;
                while (x0 <= x1 && !qAlpha(line[x0]))
                    ++x0;
                while (x1 >= x0 && !qAlpha(line[x1]))
                    --x1;
                if (x0 <= x1)
                    bounds |= QRect(x0, y, x1 - x0 + 1, 1);
            }
        }
        const double w = MetronomeFaces::kCanvasWidth, h = MetronomeFaces::kCanvasHeight;
        return bounds.isEmpty() ? QRectF(0, 0, 1, 1)
                                : QRectF(bounds.x() / w, bounds.y() / h, bounds.width() / w, bounds.height() / h);
    }();
    const QRectF face = faceRect(baseEyesLeftPix());
    return QRectF(face.x() + part.x() * face.width(), face.y() + part.y() * face.height(), part.width() * face.width(),
                  part.height() * face.height())
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

QRectF Metronome::faceRect(const QPixmap& face) const
{
    // Centred at every pixel ratio, on whole device pixels so that the picture is copied unscaled.
    const double r = REZirudid::Common::pixelRatio();
    const double w = face.width() / r;
    const double h = face.height() / r;
    const double left = std::round((width() - w) / 2 * r) / r;
    const double top = std::round((height() - h) / 2 * r) / r;
    return QRectF(left, top, w, h);
}

void Metronome::drawPixmap(QPainter* painter, const QPixmap& pixmap)
{
    if (!pixmap.isNull())
        painter->drawPixmap(faceRect(pixmap), pixmap, QRectF(pixmap.rect()));
}

void Metronome::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QPixmap& base = baseEyesLeftPix();
    drawPixmap(&painter, base);
    // After a resize the face shown is made again at the new size, so that it covers the base face.
    if (m_current >= 0 && m_currentPixmap.size() != base.size())
        m_currentPixmap = picture(m_current);
    drawPixmap(&painter, m_currentPixmap);
}

} // namespace RIRurud
