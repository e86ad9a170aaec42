#pragma once

#include "REZirudid/PromoDialog.h"

namespace REZirudid {

// The share dialog: one button per network, each opening the share link the application object
// holds, and one that writes an e-mail to a friend.
class TellDialog : public PromoDialog
{
    Q_OBJECT
public:
    explicit TellDialog(QWidget* parent = nullptr);

    // The "mailto:" link of the e-mail button.
    static QString mailLink();
};

} // namespace REZirudid
