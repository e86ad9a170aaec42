#pragma once

// The picture buttons of the framework: object name (the style sheet's key), the picture's
// resource name without ".png" (the hover twin adds "_hover"), the caption drawn on the face, the
// tool tip, and the button's size in logical pixels. The picture generator draws the faces at this
// size and the widgets fix their buttons to it, so the two always agree.

namespace REZirudid {
namespace Faces {

enum class Glyph { AppTile, Apps, Star, Share, Help, More, People, Globe, Megaphone, Bubble, Envelope };

struct Face
{
    const char* objectName;
    const char* picture;
    const char* caption;   // drawn on the face; empty for icon-only buttons
    const char* toolTip;
    Glyph glyph;
    int width;
    int height;
};

// The promotion bar, left to right (More stands apart at the right end).
inline constexpr Face kPromoButtons[] = {
    {"AppButton", "AppButton", "", "About", Glyph::AppTile, 34, 34},
    {"MoreAppsButton", "MoreAppsButton", "", "More Apps", Glyph::Apps, 34, 34},
    {"RateButton", "RateButton", "", "Rate this App", Glyph::Star, 34, 34},
    {"ShareButton", "share", "", "Share", Glyph::Share, 34, 34},
    {"IntroButton", "Help", "", "Introduction", Glyph::Help, 34, 34},
    {"MoreButton", "More", "", "More", Glyph::More, 34, 34},
};

// The share dialog.
inline constexpr Face kShareButtons[] = {
    {"FaceBookShareButton", "facebookshare", "Facebook", "Share on Facebook", Glyph::Globe, 190, 40},
    {"TwitterShareButton", "twittershare", "Twitter", "Share on Twitter", Glyph::Megaphone, 190, 40},
    {"VKontakteShareButton", "vkontakteshare", "VKontakte", "Share on VKontakte", Glyph::Bubble, 190, 40},
    {"EmailShareButton", "emailshare", "E-mail", "Tell a friend by e-mail", Glyph::Envelope, 190, 40},
};

// The join-us dialog: the main button, then one per network. The social key is what the maker's
// join-us page receives for that button.
struct JoinFace
{
    Face face;
    const char* social;
};

inline constexpr JoinFace kJoinButtons[] = {
    {{"JoinButton", "join", "Join us", "Join the community", Glyph::People, 240, 48}, "site"},
    {{"FaceBookJoinButton", "facebookjoin", "Facebook", "Follow us on Facebook", Glyph::Globe, 190, 40}, "facebook"},
    {{"TwitterJoinButton", "twitterjoin", "Twitter", "Follow us on Twitter", Glyph::Megaphone, 190, 40}, "twitter"},
    {{"VKontakteJoinButton", "vkontaktejoin", "VKontakte", "Follow us on VKontakte", Glyph::Bubble, 190, 40}, "vkontakte"},
    {{"EmailJoinButton", "emailjoin", "Newsletter", "Get our newsletter by e-mail", Glyph::Envelope, 190, 40}, "email"},
};

// The About box's logo (the style sheet shows ":/app.png" on "LogoLabel").
inline constexpr int kLogoSize = 290;

// The message box's icons (":/messageinformation.png", ":/messagewarning.png",
// ":/messagequestion.png", each with its "@2x" twin) are squares of this many logical pixels.
inline constexpr int kMessageIconSize = 32;

} // namespace Faces
} // namespace REZirudid
