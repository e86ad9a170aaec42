#pragma once

#include <QDialog>

namespace REZirudid {

// The About box: the logo (its picture comes from the style sheet rule of "LogoLabel"), the
// application name with its build date, the maker's credit line and link, the legal notices and
// an Ok button. The caller runs it with exec() and deletes it.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static QString buildDate();
    // The licences of the toolkit and of every font and sound source the program is built from,
    // as rich text.
    static QString legalNotices();

public slots:
    void slotLegalNotices();
};

} // namespace REZirudid
