#pragma once

// The metronome's pictures: the eight faces the metronome draws (all on one canvas, so that every
// overlay covers the base face's eyes and pendulum exactly) and the faces of its controls, which the
// metronome style sheet names. The pictures are drawn at build time from this table.

namespace RIRurud {
namespace MetronomeFaces {

enum Picture {
    BaseEyesLeft,
    EyesRight,
    Beat,
    MuteEyesLeft,
    MuteEyesRight,
    MuteBeat,
    EyesClosed,
    EyesClosedMute,
    PictureCount
};

struct Face
{
    const char* resource;  // compiled-in resource path
    bool early;            // made ready when the metronome is shown
};

// The mute eyes-right picture keeps its old name, without "@".
inline constexpr Face kFaces[PictureCount] = {
    {":/BaseEyesLeft@2x.jpg", false},
    {":/EyesRight@2x.png", false},
    {":/Beat@2x.png", false},
    {":/MuteEyesLeft@2x.png", true},
    {":/MuteEyesRight2x.png", true},
    {":/MuteBeat@2x.png", true},
    {":/EyesClosed@2x.png", true},
    {":/EyesClosedMute@2x.png", true},
};

// Pixel size of every face picture (the base face is opaque, the overlays transparent outside the
// face plate and the pendulum window).
inline constexpr int kCanvasWidth = 1600;
inline constexpr int kCanvasHeight = 1200;

} // namespace MetronomeFaces
} // namespace RIRurud
