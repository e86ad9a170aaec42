#include "RIRurud/Metronome.h"

#include "RIRurud/BeatMixer.h"
#include "RIRurud/BeatPlayer.h"
#include "RIRurud/MetronomeBeats.h"
#include "RIRurud/MetronomeControls.h"
#include "RIRurud/NoteName.h"

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
} // namespace

Metronome::Metronome(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Metronome"));
    // Every paint covers the whole frame: nothing beneath it (the page's background, a style
    // sheet's) needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    BeatMixer::instance()->acquire();
    const REZirudid::App* app = REZirudid::App::theApp();
    setSoundDirectory(app ? app->bundleResourcePath() : QString());

    m_beats = new MetronomeBeats;
    m_controls = new MetronomeControls;
    m_beats->slotSetBeats(m_controls->beatsCount());

    connect(m_controls, &MetronomeControls::beatsCountChanged, m_beats, &MetronomeBeats::slotSetBeats);
    connect(m_controls, &MetronomeControls::visibleTickChanged, this, &Metronome::slotVisibleTickChanged);
    connect(m_controls, &MetronomeControls::audibleTickChanged, this, &Metronome::slotAudibleTickChanged);
    connect(m_controls, &MetronomeControls::intervalChanged, this, &Metronome::slotTickIntervalChanged);
    connect(&m_timer, &QTimer::timeout, this, &Metronome::slotTick);

    // A precise timer keeps its grid: every timeout is due one period after the one before, however
    // late that one came.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(periodMs(m_controls->interval()));
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
    BeatMixer::instance()->release();
}

void Metronome::setSoundDirectory(const QString& directory)
{
    m_soundDirectory = directory;
    // Decoded now, so that no beat reads or decodes a file.
    BeatMixer::instance()->sound(m_soundDirectory + kTick);
    BeatMixer::instance()->sound(m_soundDirectory + kBell);
}

void Metronome::restartTimer()
{
    m_timer.stop();
    m_timer.start();
    m_timerStartNs = BeatPlayer::nowNs();
}

void Metronome::slotTickIntervalChanged(int bpm)
{
    m_timer.setInterval(periodMs(bpm));
    restartTimer();
}

void Metronome::slotTick()
{
    // The beat's place on the grid, however late the timer came; it is heard the lead time later.
    const qint64 periodNs = qint64(m_timer.interval()) * 1'000'000;
    const qint64 lead = NoteName::hasSoundHook() ? 0 : BeatPlayer::leadNs();
    const qint64 now = BeatPlayer::nowNs();
    const qint64 k = qMax<qint64>(1, std::llround(double(now - m_timerStartNs) / double(periodNs)));
    m_beatNs = qMin(m_timerStartNs + k * periodNs, now) + lead;

    updateState(true);
    m_tickCount += 1;
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

void Metronome::updateState(bool tick)
{
    const int n = m_controls->beatsCount();
    int beat = -1;
    if (n == 0) {
        normalBehavior(tick);
    } else {
        // The bar starts again once it is complete (or the count was lowered below the beat).
        beat = m_currentBeat >= n ? 0 : m_currentBeat;
        if (beat == 0)
            barStart(tick);
        else
            normalBehavior(tick);
        if (tick)
            m_currentBeat = beat + 1;
    }
    const bool odd = m_tickCount % 2 == 1;
    if (tick) {
        present(m_nextIsBarStart, odd, beat, m_beatNs);
    } else {
        // A switch shows the coming beat's face at once and changes nothing else.
        showPicture(faceFor(m_nextIsBarStart, odd));
        update();
    }
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

void Metronome::present(bool barStart, bool oddTick, int beat, qint64 atNs)
{
    // The face is chosen when the beat is heard, by the switches as they are then.
    auto apply = [this, barStart, oddTick, beat] {
        showPicture(faceFor(barStart, oddTick));
        if (beat >= 0)
            m_beats->setCurrentBeat(beat);
        update();
    };
    const qint64 waitNs = atNs - BeatPlayer::nowNs();
    if (waitNs < 1'000'000) {
        apply();
        return;
    }
    QTimer::singleShot(int(waitNs / 1'000'000), Qt::PreciseTimer, this, apply);
}

void Metronome::showPicture(int which)
{
    m_current = which;
    m_currentPixmap = picture(which);
}

void Metronome::slotVisibleTickChanged(bool checked)
{
    m_visibleTick = !checked;
    m_beats->setVisible(!checked);
    updateState(false);
}

void Metronome::slotAudibleTickChanged(bool checked)
{
    m_audibleTick = !checked;
    if (!m_audibleTick) {
        // Beats asked for but not heard yet fall silent too.
        for (const QPointer<BeatPlayer>& player : qAsConst(m_players)) {
            if (player && !player->hasStarted())
                delete player.data();
        }
    }
    updateState(false);
}

void Metronome::play(const QString& fileName)
{
    const QString path = m_soundDirectory + fileName;
    if (NoteName::hasSoundHook()) {
        NoteName::playSoundFile(path);
        return;
    }
    m_players.erase(std::remove_if(m_players.begin(), m_players.end(),
                                   [](const QPointer<BeatPlayer>& p) { return p.isNull(); }),
                    m_players.end());
    // Owned by the metronome too: beats still waiting to sound go with it.
    auto* player = new BeatPlayer(this);
    connect(player, &BeatPlayer::finished, player, &QObject::deleteLater);
    player->play(path, m_beatNs);
    m_players.append(player);
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
