#pragma once

// Who the application is and where its links lead, named once. The maker's web host lies under
// the reserved "example" top-level domain.

#include <QString>

namespace TonarixIdentity {

inline QString organisationName() { return QStringLiteral("Vantrel"); }
inline QString applicationName() { return QStringLiteral("TonarixLite"); }
inline QString applicationVersion() { return QStringLiteral("1.0"); }
inline QString storeIdentifier() { return QStringLiteral("id2046317501"); }
inline QString organisationDomain() { return QStringLiteral("vantrel.example"); }
inline QString makerWebHost() { return QStringLiteral("http://www.vantrel.example"); }

// Share links and the support page.
inline QString faceBookShareLink() { return makerWebHost() + QStringLiteral("/apps/tonarix/tonarixlitefacebook.php"); }
inline QString twitterShareLink() { return makerWebHost() + QStringLiteral("/apps/tonarix/tonarixtlitewitter.php"); }
inline QString vkontakteShareLink() { return makerWebHost() + QStringLiteral("/apps/tonarix/tonarixlitevkontakte.php"); }
inline QString supportPage() { return makerWebHost() + QStringLiteral("/apps/tonarixlite"); }

// The maker's other applications: the complete one with every instrument, one per instrument,
// and the music tools that the promotion bar's menu offers.
struct AppLink
{
    const char* title;
    const char* picture;   // compiled-in picture, 256 x 256 for the availability dialog
    const char* icon;      // compiled-in 64 x 64 menu icon
    const char* path;      // page on the maker's web host
};

inline constexpr AppLink completeApp{"Tonarix", ":/AvailTonarix.png", ":/PromoTonarix.png", "/apps/tonarix"};
inline constexpr AppLink guitarApp{"Guitar Tonarix", ":/AvailGuitarTonarix.png", ":/PromoGuitarTonarix.png", "/apps/guitartonarix"};
inline constexpr AppLink ukuleleApp{"Ukulele Tonarix", ":/AvailUkuleleTonarix.png", ":/PromoUkuleleTonarix.png", "/apps/ukuleletonarix"};
inline constexpr AppLink violinApp{"Violin Tonarix", ":/AvailViolinTonarix.png", ":/PromoViolinTonarix.png", "/apps/violintonarix"};
inline constexpr AppLink bassApp{"Bass Tonarix", ":/AvailBassTonarix.png", ":/PromoBassTonarix.png", "/apps/basstonarix"};
inline constexpr AppLink mandolinApp{"Mandolin Tonarix", nullptr, ":/PromoMandolinTonarix.png", "/apps/mandolintonarix"};
inline constexpr AppLink chordsApp{"Chord Book", nullptr, ":/PromoChordBook.png", "/apps/chordbook"};
inline constexpr AppLink tunerApp{"Reference Tuner", nullptr, ":/PromoTuner.png", "/apps/tuner"};
inline constexpr AppLink metronomeApp{"Metronome", nullptr, ":/PromoMetronome.png", "/apps/metronome"};
inline constexpr AppLink transposerApp{"Transposer", nullptr, ":/PromoTransposer.png", "/apps/transposer"};

inline QString pageOf(const AppLink& app) { return makerWebHost() + QLatin1String(app.path); }

// The promotion menu rows of each page: a first group per page, then the same second group.
inline constexpr AppLink banjoPromoFirst[] = {completeApp, guitarApp, ukuleleApp, mandolinApp};
inline constexpr AppLink balalaikaPromoFirst[] = {completeApp, guitarApp, ukuleleApp, mandolinApp, violinApp};
inline constexpr AppLink promoSecond[] = {chordsApp, tunerApp, metronomeApp, transposerApp};

} // namespace TonarixIdentity
