#pragma once

#include <QFrame>
#include <QMap>
#include <QPair>
#include <QString>

class QLabel;
class QPushButton;

namespace RIRurud {

class NotesLernBar;

// The counts of a training: right and wrong answers with their bar, and the answers per key, which
// the "Full Report" button shows in a dialog. Nothing is stored; reset() starts again from zero.
class NotesLernStatistic : public QFrame
{
    Q_OBJECT
public:
    using Report = QMap<QString, QPair<int, int>>;   // key name -> (right, wrong)

    explicit NotesLernStatistic(QWidget* parent = nullptr);

    void incRight();
    void incWrong();
    void addToReport(const QString& key, const QPair<int, int>& counts);
    void reset();
    int wrongCount() const;
    int rightCount() const;
    void updateInfo();

    Report report() const { return m_report; }
    NotesLernBar* bar() const { return m_bar; }
    QLabel* rightLabel() const { return m_rightLabel; }
    QLabel* wrongLabel() const { return m_wrongLabel; }
    QPushButton* reportButton() const { return m_reportButton; }

public slots:
    void slotShowReport();

protected:
    void showEvent(QShowEvent* event) override;

private:
    NotesLernBar* m_bar = nullptr;
    QLabel* m_rightLabel = nullptr;
    QLabel* m_wrongLabel = nullptr;
    QPushButton* m_reportButton = nullptr;
    Report m_report;
};

} // namespace RIRurud
