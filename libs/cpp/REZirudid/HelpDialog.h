#pragma once

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QHBoxLayout;
class QTimer;

namespace REZirudid {

class Label;

// The introduction: a slide show that moves on every 4000 ms, with buttons to step through the
// slides and a check box that decides whether it opens on start (stored in the settings).
class HelpDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kSlideInterval = 4000;

    explicit HelpDialog(QWidget* parent = nullptr);

    void setSlides(const QStringList& paths);
    QStringList slides() const { return m_paths; }
    int currentSlide() const { return m_current; }
    bool isPlaying() const;
    // Back to the first slide, and the show runs.
    void start();

public slots:
    void slotShowSlide(int index);
    void slotNext();
    void slotPrevious();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showSlideAndRestart(int index);

    QStringList m_paths;
    int m_current = 0;
    Label* m_picture = nullptr;
    QTimer* m_timer = nullptr;
    QButtonGroup* m_steps = nullptr;
    QHBoxLayout* m_stepRow = nullptr;
    QCheckBox* m_onStart = nullptr;
};

} // namespace REZirudid
