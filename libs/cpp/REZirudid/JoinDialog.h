#pragma once

#include "REZirudid/PromoDialog.h"

namespace REZirudid {

// The join-us reminder: buttons that open the maker's join-us page, once for the community as a
// whole and once per network (query keys "app" and "social").
class JoinDialog : public PromoDialog
{
    Q_OBJECT
public:
    explicit JoinDialog(QWidget* parent = nullptr);
};

} // namespace REZirudid
