#pragma once

#include <QFrame>
#include <QVector>

class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace RIRurud {

// The metronome's controls: the tempo between minus and plus, the six classical tempo names with
// their ranges, the visual and audible tick switches (checked means off) and the beats-per-bar menu.
// The tempo is a whole number of beats per minute from 38 to 208 and lives in the label's text.
class MetronomeControls : public QFrame
{
    Q_OBJECT
public:
    struct TempoRow
    {
        const char* name;
        const char* range;
        int lower;
        int upper;
    };
    static constexpr TempoRow kTempoRows[] = {
        {"Largo", "38-56", 38, 56},
        {"Adagio", "57-70", 57, 70},
        {"Andante", "71-96", 71, 96},
        {"Moderato", "97-108", 97, 108},
        {"Allegro", "109-168", 109, 168},
        {"Presto", "169-208", 169, 208},
    };
    static constexpr int kMinTempo = 38;
    static constexpr int kMaxTempo = 208;
    // The beats menu: 0 means no accented first beat.
    static constexpr int kBeatCounts[] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

    // The row whose range holds bpm, -1 outside 38..208.
    static int rowOfTempo(int bpm);

    explicit MetronomeControls(QWidget* parent = nullptr);

    // The tempo in beats per minute: the label read as a number, 1000 when it is not one.
    int interval() const;
    int beatsCount() const { return m_beatsPerBar; }
    void setInterval(int bpm);
    void setSelectListItem(int bpm);

    QPushButton* visibleTickButton() const { return m_visibleTickButton; }
    QPushButton* audibleTickButton() const { return m_audibleTickButton; }
    QTreeWidget* tempoList() const { return m_tempoList; }
    QPushButton* beatsCombo() const { return m_beatsCombo; }
    QMenu* beatsMenu() const { return m_beatsMenu; }
    // The beats menu's entry for a count of beats; null where there is none.
    QAction* beatsAction(int count) const;
    QLabel* tempoLabel() const { return m_tempoLabel; }
    QPushButton* tempoIncButton() const { return m_tempoIncButton; }
    QPushButton* tempoDecButton() const { return m_tempoDecButton; }

signals:
    void beatsCountChanged(int count);
    void visibleTickChanged(bool checked);
    void audibleTickChanged(bool checked);
    void intervalChanged(int bpm);

public slots:
    void slotBeatsCountChanged();
    void slotTempoInc();
    void slotTempoDec();
    void slotCurrentItemChanged();

private:
    // One step of minus or plus, kept within 38..208.
    void stepTempo(int step);

    QPushButton* m_visibleTickButton = nullptr;
    QPushButton* m_audibleTickButton = nullptr;
    QTreeWidget* m_tempoList = nullptr;
    QPushButton* m_beatsCombo = nullptr;
    QMenu* m_beatsMenu = nullptr;
    QPushButton* m_beatButton = nullptr;
    QLabel* m_tempoLabel = nullptr;
    QPushButton* m_tempoIncButton = nullptr;
    QPushButton* m_tempoDecButton = nullptr;
    int m_beatsPerBar = 4;
    QVector<QTreeWidgetItem*> m_rows;
};

} // namespace RIRurud
