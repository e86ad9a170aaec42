#pragma once

#include "RIRurud/MetronomeFaces.h"

#include <QFrame>
#include <QPixmap>
#include <QTimer>

#include <deque>
#include <memory>

namespace QMMultiMedia {
class AudioEngine;
class DecodedSound;
} // namespace QMMultiMedia

namespace RIRurud {

class MetronomeBeats;
class MetronomeControls;

// The animated metronome: a face whose eyes and pendulum swing in time, the beat row above it and
// the controls below it. A repeating precise timer ticks at the chosen tempo; every beat sounds
// "tick.wav", the first beat of every bar (the very first included) shows the beat face and sounds
// "bell.wav". The visual tick can be turned off (closed eyes, no beat row) and the audible tick too
// (mute faces, no sound). The metronome runs from construction on, shown or not.
//
// Beats are heard on the grid the timer starts, one period apart. Each beat is worked out (its
// sound, its face, its mark) and given to the sound engine some two seconds before it is heard, so
// that a busy GUI thread neither moves nor drops one; the timer ticks when a beat is heard and shows
// its face then. A change of tempo, beats or switches takes back the beats given and not heard yet
// and works them out again: it counts from the next beat.
class Metronome : public QFrame
{
    Q_OBJECT
public:
    explicit Metronome(QWidget* parent = nullptr);
    ~Metronome() override;

    MetronomeControls* controls() const { return m_controls; }
    MetronomeBeats* beats() const { return m_beats; }
    const QTimer& timer() const { return m_timer; }

    // The face over the base face (one of MetronomeFaces::Picture), -1 before the first beat.
    int currentPicture() const { return m_current; }
    // Beats worked out so far (ahead of the ones heard).
    int tickCount() const { return m_tickCount; }
    // Where the face is drawn, in the frame's coordinates: centred, at the largest size that fits.
    QRectF faceRect(const QPixmap& face) const;
    // The part of the frame where the faces differ from one another: what a beat repaints.
    QRect changingRect();

    QString soundDirectory() const { return m_soundDirectory; }
    // The folder of "tick.wav" and "bell.wav" (ending in "/"); both are decoded at once.
    void setSoundDirectory(const QString& directory);

    // The period of the tick timer for a tempo: 60000 / bpm milliseconds.
    static int periodMs(int bpm) { return 60000 / bpm; }
    // How far ahead beats are given to the sound engine.
    static constexpr qint64 aheadNs = 2'000'000'000;
    // When the next beat is heard, on the sound engine's clock; -1 when none is worked out.
    qint64 nextBeatNs() const { return m_plan.empty() ? -1 : m_plan.front().atNs; }

public slots:
    void slotTick();
    void slotVisibleTickChanged(bool checked);
    void slotAudibleTickChanged(bool checked);
    void slotTickIntervalChanged(int bpm);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // A beat worked out ahead of time, with the state before it, so that it can be taken back.
    struct PlannedBeat
    {
        qint64 k;           // its place on the grid
        qint64 atNs;        // when it is heard
        int face;
        int mark;           // -1: no bar
        QString sound;      // empty: silent
        quint64 voice;      // the sound engine's voice, 0 for none
        int tickCount;
        int currentBeat;
        bool nextIsBarStart;
    };

    // Works out the next beat of the bar (tick: as it sounds; else only the face of the coming
    // one); returns its mark, -1 without a bar.
    int updateState(bool tick);
    void normalBehavior(bool tick);
    void barStart(bool tick);
    // The face of a beat in the switches' present state.
    int faceFor(bool barStart, bool oddTick) const;
    void play(const QString& fileName);
    void setNeedsRecreatePixmaps();
    void drawPixmap(QPainter* painter, const QPixmap& pixmap);
    const QPixmap& picture(int which);
    void restartTimer();
    qint64 nowNs() const;
    qint64 periodNs() const { return qint64(m_timer.interval()) * 1'000'000; }
    void planOne();
    // Works out the beats up to aheadNs from now.
    void plan();
    // Takes back the beats not heard yet, with the state they changed.
    void takeBack();
    void present(const PlannedBeat& beat);
    // Puts the timer back on the grid when it has left it (after the GUI thread was held up).
    void realign();
    void slotBeatsCountChanged();
    void switched();
    void showPicture(int which);

    const QPixmap& baseEyesLeftPix() { return picture(MetronomeFaces::BaseEyesLeft); }
    const QPixmap& eyesRightPix() { return picture(MetronomeFaces::EyesRight); }
    const QPixmap& beatPix() { return picture(MetronomeFaces::Beat); }
    const QPixmap& muteEyesLeftPix() { return picture(MetronomeFaces::MuteEyesLeft); }
    const QPixmap& muteEyesRightPix() { return picture(MetronomeFaces::MuteEyesRight); }
    const QPixmap& muteBeatPix() { return picture(MetronomeFaces::MuteBeat); }
    const QPixmap& eyesClosedPix() { return picture(MetronomeFaces::EyesClosed); }
    const QPixmap& closedMutePix() { return picture(MetronomeFaces::EyesClosedMute); }

    MetronomeControls* m_controls = nullptr;
    MetronomeBeats* m_beats = nullptr;
    QPixmap m_pictures[MetronomeFaces::PictureCount];
    QPixmap m_currentPixmap;
    QTimer m_timer;
    int m_tickCount = 0;
    bool m_visibleTick = true;
    bool m_audibleTick = true;
    int m_currentBeat = 0;
    QString m_soundDirectory;

    int m_current = -1;             // which picture m_currentPixmap shows
    bool m_nextIsBarStart = false;  // the kind of beat updateState() worked out
    QString m_beatSound;            // the sound of the beat being worked out
    std::shared_ptr<QMMultiMedia::AudioEngine> m_engine;
    std::shared_ptr<QMMultiMedia::DecodedSound> m_sounds[2];  // tick and bell
    QTimer m_realign;               // starts the timer again on the grid
    qint64 m_gridStartNs = 0;       // when the timer's grid began, on the sound engine's clock
    qint64 m_nextK = 1;             // the grid's next beat to work out
    std::deque<PlannedBeat> m_plan;        // worked out, not heard yet
};

} // namespace RIRurud
