#pragma once

#include "RIRurud/_Tuner/TunerTables.h"

#include <QFrame>
#include <QLocale>
#include <QPixmap>
#include <QString>

class QSignalMapper;

namespace RIRurud {

class ButtonsPanel;
class ModesPanel;
class TuneButton;

// The page every tuner shares: the instrument's picture, centred at twice the page's pixel
// density on black, the modes panel at the top and the string buttons at the bottom. A click on a
// string button plays that string's tone file at the concert pitch stored under "Pitch".
class TunerBasePage : public QFrame
{
    Q_OBJECT
public:
    explicit TunerBasePage(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    // The picture a page's row names is decoded when it is first wanted, so that the pages behind
    // the front one cost neither time nor memory until they are shown.
    QPixmap picture() const;
    TuneButton* button(int index) const;
    ModesPanel* modesPanel() const { return m_modesPanel; }
    ButtonsPanel* buttonsPanel() const { return m_buttonsPanel; }
    void hideAppOptions();

    // The folder of the tone files: the application's folder with every "MacOS" taken out, then
    // "Resources/" (the bundle's resource folder beside the executable's folder).
    QString toneDirectory() const { return m_toneDirectory; }

    // The six links of a page for a country: five store pages of the page's shop, then the
    // encyclopedia article in the country's edition.
    static QStringList linksFor(const TunerTables::Tuner& tuner, QLocale::Country country);

public slots:
    void slotPlay(const QString& fileTemplate);
    void slotSetRepeatMode(bool on);

protected:
    // Builds a page from its row: picture, string buttons bound to their tone files, the links
    // of the system's country and the maker's applications in the More menu.
    void build(const TunerTables::Tuner& tuner);

    void paintEvent(QPaintEvent* event) override;

private:
    ButtonsPanel* m_buttonsPanel = nullptr;
    ModesPanel* m_modesPanel = nullptr;
    mutable QPixmap m_picture;
    mutable QString m_pictureFile;   // not decoded yet
    QSignalMapper* m_signalMapper = nullptr;
    QString m_toneDirectory;
    // The picture as last painted, scaled to its place on the device, so that a repaint at the
    // same size costs one copy.
    QPixmap m_scaled;
};

} // namespace RIRurud
