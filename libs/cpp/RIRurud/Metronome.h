#pragma once

#include "RIRurud/MetronomeFaces.h"

#include <QFrame>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

namespace RIRurud {

class BeatPlayer;
class MetronomeBeats;
class MetronomeControls;

// The animated metronome: a face whose eyes and pendulum swing in time, the beat row above it and
// the controls below it. A repeating precise timer ticks at the chosen tempo; every beat sounds
// "tick.wav", the first beat of every bar (the very first included) shows the beat face and sounds
// "bell.wav". The visual tick can be turned off (closed eyes, no beat row) and the audible tick too
// (mute faces, no sound). The metronome runs from construction on, shown or not.
//
// Beats are heard on the grid the timer starts, one period apart. The sounds are decoded once and
// mixed into one open stream at the frame of their beat; as the stream is written a little ahead,
// the timer runs that much ahead of the heard beat and the face follows the heard beat, so that eyes
// and sound go together.
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
    int tickCount() const { return m_tickCount; }
    // Where the face is drawn, in the frame's coordinates: centred, at the largest size that fits.
    QRectF faceRect(const QPixmap& face) const;

    QString soundDirectory() const { return m_soundDirectory; }
    // The folder of "tick.wav" and "bell.wav" (ending in "/"); both are decoded at once.
    void setSoundDirectory(const QString& directory);

    // The period of the tick timer for a tempo: 60000 / bpm milliseconds.
    static int periodMs(int bpm) { return 60000 / bpm; }

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
    void updateState(bool tick);
    void normalBehavior(bool tick);
    void barStart(bool tick);
    // The face of a beat in the switches' present state.
    int faceFor(bool barStart, bool oddTick) const;
    void play(const QString& fileName);
    void setNeedsRecreatePixmaps();
    void drawPixmap(QPainter* painter, const QPixmap& pixmap);
    const QPixmap& picture(int which);
    void restartTimer();
    // Shows the beat's face and lights its mark (unless beat is -1) when the beat is heard.
    void present(bool barStart, bool oddTick, int beat, qint64 atNs);
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

    int m_current = -1;          // which picture m_currentPixmap shows
    bool m_nextIsBarStart = false;  // the kind of beat updateState() worked out
    qint64 m_timerStartNs = 0;   // when the timer's grid began, on the audio clock
    qint64 m_beatNs = 0;         // when the beat being worked out is heard
    QList<QPointer<BeatPlayer>> m_players;  // beats asked for and maybe not heard yet
};

} // namespace RIRurud
