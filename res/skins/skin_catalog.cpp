#include "skin_catalog.h"

namespace skin {
namespace {

template <int Step> void Compass(QPainter& p, const QSize& s) {
    DrawCompass(p, s, Step);
}

} // namespace

// Sizes are those of the controls that show the pictures, so nothing is scaled on screen
// (except the logo, shown at 40 x 40, the compass at 32 x 32 and the title at 148 x 48).
const std::vector<Picture>& Catalog() {
    static const std::vector<Picture> pictures = {
        {"131", {256, 256}, DrawAppIcon, "application icon"},
        {"185", {64, 64}, DrawLogo, "logo"},
        {"265", {189, 48}, DrawTitle, "title"},
        {"248", {64, 64}, DrawAboutPicture, "about picture"},
        {"191", {32, 32}, DrawToolTipIcon, "tool-tip icon"},
        {"178", {32, 32}, DrawGps, "GPS indicator"},
        {"150", {48, 36}, DrawOpen, "open"},
        {"256", {48, 36}, DrawPrint, "print"},
        {"258", {36, 36}, DrawPrevious, "previous"},
        {"133", {36, 36}, DrawPlay, "play"},
        {"137", {36, 36}, DrawPause, "pause"},
        {"257", {36, 36}, DrawNext, "next"},
        {"139", {36, 36}, DrawStop, "stop"},
        {"146", {36, 36}, DrawSlower, "slower"},
        {"144", {36, 36}, DrawFaster, "faster"},
        {"184", {12, 24}, DrawVolumeOn, "volume on"},
        {"183", {12, 24}, DrawVolumeMuted, "muted"},
        {"262", {44, 36}, DrawViewBoth, "both views"},
        {"261", {44, 36}, DrawViewFront, "front view"},
        {"263", {44, 36}, DrawViewRear, "rear view"},
        {"1047", {16, 16}, DrawSizeSmall, "small size"},
        {"219", {16, 16}, DrawSizeMedium, "medium size"},
        {"221", {16, 16}, DrawSizeLarge, "large size"},
        {"182", {25, 25}, DrawAbout, "about"},
        {"181", {25, 25}, DrawMinimise, "minimise"},
        {"180", {25, 25}, DrawMaximise, "maximise"},
        {"179", {25, 25}, DrawClose, "close"},
        {"152", {32, 32}, DrawSnapshot, "snapshot"},
        {"154", {32, 32}, DrawSaveAs, "save as"},
        {"156", {32, 32}, DrawDelete, "delete"},
        {"158", {32, 32}, DrawAutoNextOn, "auto-play on"},
        {"207", {32, 32}, DrawAutoNextOff, "auto-play off"},
        {"163", {32, 32}, DrawKml, "KML export"},
        {"167", {32, 32}, DrawMap, "map"},
        {"172", {32, 32}, DrawGSensor, "G-sensor"},
        {"251", {32, 32}, DrawLocked, "locked"},
        {"174", {32, 32}, DrawUnlocked, "unlocked"},
        {"197", {48, 48}, Compass<0>, "N up"},
        {"198", {48, 48}, Compass<1>, "N upper right"},
        {"199", {48, 48}, Compass<2>, "N right"},
        {"200", {48, 48}, Compass<3>, "N lower right"},
        {"201", {48, 48}, Compass<4>, "N down"},
        {"202", {48, 48}, Compass<5>, "N lower left"},
        {"203", {48, 48}, Compass<6>, "N left"},
        {"204", {48, 48}, Compass<7>, "N upper left"},
        {"lock_icons", {96, 24}, DrawLockIcons, "list lock icons"},
    };
    return pictures;
}

} // namespace skin
