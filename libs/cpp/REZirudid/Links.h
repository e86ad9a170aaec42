#pragma once

// The framework's fixed addresses and settings keys, named once. The maker's web site and the
// application store live under the reserved "example" top-level domain.

#include <QString>

namespace REZirudid {
namespace Links {

// The maker's web site (home page; "/apps" lists the maker's applications; "/join" is the join-us
// page, which takes the query keys "app" and "social").
inline QString makerHost() { return QStringLiteral("www.vantrel.example"); }
inline QString makerSite() { return QStringLiteral("http://www.vantrel.example"); }
inline QString makerAppsPage() { return makerSite() + QStringLiteral("/apps"); }
inline QString makerJoinPage() { return makerSite() + QStringLiteral("/join"); }
inline QString makerSupportAddress() { return QStringLiteral("support@vantrel.example"); }
inline QString makerCredit() { return QStringLiteral("Made by Vantrel"); }

// The application store's web endpoint; an application's page is
// endpoint + "/app/" + lower-case name + "/" + store identifier + "?ls=1&mt=12".
inline QString storeEndpoint() { return QStringLiteral("https://apps.store.example"); }

} // namespace Links

namespace SettingsKeys {

inline QString autoReminder() { return QStringLiteral("AutoReminder"); }            // bool, true
inline QString autoReminderCount() { return QStringLiteral("AutoReminderCount"); }  // int, 1
inline QString helpOnStart() { return QStringLiteral("ShowHelpOnStart"); }          // bool, true
inline QString language() { return QStringLiteral("Language"); }                    // "" = system

} // namespace SettingsKeys
} // namespace REZirudid
