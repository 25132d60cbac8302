// Every picture of the skin: its resource name (the number the program loads it by, or a name
// for the pictures that have no number), its size in pixels and the function that draws it.
#pragma once

#include <QPainter>
#include <QSize>
#include <QString>
#include <vector>

namespace skin {

using DrawFunction = void (*)(QPainter& p, const QSize& size);

struct Picture {
    QString name;      // file name without ".png": "150", "lock_icons"
    QSize size;        // pixels
    DrawFunction draw; // draws into a transparent image of that size
    QString caption;   // what it shows, for the contact sheet
};

// All pictures, in contact-sheet order.
const std::vector<Picture>& Catalog();

// Button pictures (skin_buttons.cpp).
void DrawOpen(QPainter& p, const QSize& s);
void DrawPrint(QPainter& p, const QSize& s);
void DrawPrevious(QPainter& p, const QSize& s);
void DrawNext(QPainter& p, const QSize& s);
void DrawPlay(QPainter& p, const QSize& s);
void DrawPause(QPainter& p, const QSize& s);
void DrawStop(QPainter& p, const QSize& s);
void DrawSlower(QPainter& p, const QSize& s);
void DrawFaster(QPainter& p, const QSize& s);
void DrawVolumeOn(QPainter& p, const QSize& s);
void DrawVolumeMuted(QPainter& p, const QSize& s);
void DrawViewBoth(QPainter& p, const QSize& s);
void DrawViewFront(QPainter& p, const QSize& s);
void DrawViewRear(QPainter& p, const QSize& s);
void DrawSizeSmall(QPainter& p, const QSize& s);
void DrawSizeMedium(QPainter& p, const QSize& s);
void DrawSizeLarge(QPainter& p, const QSize& s);
void DrawMinimise(QPainter& p, const QSize& s);
void DrawMaximise(QPainter& p, const QSize& s);
void DrawClose(QPainter& p, const QSize& s);
void DrawAbout(QPainter& p, const QSize& s);
void DrawSnapshot(QPainter& p, const QSize& s);
void DrawSaveAs(QPainter& p, const QSize& s);
void DrawDelete(QPainter& p, const QSize& s);
void DrawAutoNextOn(QPainter& p, const QSize& s);
void DrawAutoNextOff(QPainter& p, const QSize& s);
void DrawKml(QPainter& p, const QSize& s);
void DrawMap(QPainter& p, const QSize& s);
void DrawGSensor(QPainter& p, const QSize& s);
void DrawLocked(QPainter& p, const QSize& s);
void DrawUnlocked(QPainter& p, const QSize& s);

// Emblems and icons (skin_emblems.cpp).
void DrawAppIcon(QPainter& p, const QSize& s);
void DrawLogo(QPainter& p, const QSize& s);
void DrawTitle(QPainter& p, const QSize& s);
void DrawGps(QPainter& p, const QSize& s);
void DrawToolTipIcon(QPainter& p, const QSize& s);
void DrawAboutPicture(QPainter& p, const QSize& s);
void DrawLockIcons(QPainter& p, const QSize& s);
// Compass rose turned by 45 degrees times `step`, clockwise (step 0: north up).
void DrawCompass(QPainter& p, const QSize& s, int step);

} // namespace skin
