#pragma once

#include <QDialog>

class QLabel;
class QStackedWidget;
class QVBoxLayout;

// Answers a click on an instrument this edition does not build: under "Available in:" it shows the
// maker's application for that instrument and the complete application, each with a Get It button
// that closes the dialog and opens the application's page.
class AvailabilityDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AvailabilityDialog(QWidget* parent = nullptr);

    // Case-insensitive; a name other than guitar, ukulele, violin or bass shows the mandolin page.
    void setCurrentPage(const QString& instrument);

    QWidget* pagesFactory(const QString& instrument);
    static QVBoxLayout* combined(QWidget* icon, QLabel* caption);

public slots:
    void slotGotoTonarix();
    void slotGotoBassTonarix();
    void slotGotoGuitarTonarix();
    void slotGotoViolinTonarix();
    void slotGotoUkuleleTonarix();

private:
    void openAndAccept(const QString& link);

    QStackedWidget* m_stack = nullptr;
    QWidget* m_guitarPage = nullptr;
    QWidget* m_ukulelePage = nullptr;
    QWidget* m_mandolinPage = nullptr;
    QWidget* m_violinPage = nullptr;
    QWidget* m_bassPage = nullptr;
};
