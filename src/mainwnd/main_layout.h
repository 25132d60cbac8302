// Layout rules of the main window: where every child goes for a client size, how the video
// panes fit the picture, the window's outline, the preset sizes and the drag rules of the size
// grip and the three splitters. Plain geometry (Qt core/gui value types only) so that every rule
// is testable without a display.
#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <Qt>

#include <cstdint>
#include <optional>
#include <vector>

// Height of the top band (logo, title, window buttons) without the large-screen extra.
constexpr int kTopBandHeight = 59;
// Border of a video frame's sunken client edge (the SM_CXEDGE / SM_CYEDGE of the original).
constexpr int kClientEdge = 2;
// Picture size assumed when nothing is open or the recording reports no usable size.
constexpr int kDefaultPictureWidth = 1280;
constexpr int kDefaultPictureHeight = 720;
// A grip drag never makes the window smaller than this.
constexpr int kGripMinWidth = 1250;
constexpr int kGripMinHeight = 560;
// Side of the size grip's square in the bottom-right corner.
constexpr int kGripSize = 20;
// The trip bar's height and its step below the seek slider's top.
constexpr int kTripBarHeight = 18;
constexpr int kTripBarStep = 22;
// The Events list's greatest height, and the least the file list keeps beside it.
constexpr int kEventListMaxHeight = 160;
constexpr int kEventListMinFiles = 120;
// The trip summary panel's height (its seven lines), above the Events list while a trip plays.
constexpr int kTripSummaryHeight = 112;
// Initial splitter sizes.
constexpr int kDefaultRightColWidth = 240;
constexpr int kDefaultMapHeight = 240;
constexpr int kDefaultLowerHeight = 200;

// Rectangle from its left-top corner to its right-bottom corner, right and bottom exclusive.
inline QRect RectLTRB(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// Extra height of the top band on large screens, from the primary screen's size.
int TopBandExtra(int screenWidth, int screenHeight);

struct LayoutParams {
    int width = 0; // client size
    int height = 0;
    int topBandExtra = 0;
    int rightColWidth = kDefaultRightColWidth; // wanted sizes, changed by the splitters
    int mapHeight = kDefaultMapHeight;
    int lowerHeight = kDefaultLowerHeight;
    bool mapShown = true;
    bool gsrShown = true;
    int gsensorHeight = 0; // current height of the G-sensor curve's window
    int viewMode = 0;      // 0 both videos, 1 front only, 2 rear only
    bool tripBarShown = false; // a trip plays: its bar goes under the seek slider, its summary above the events
    bool eventListShown = false; // the Events list shares the file list's place, under it
};

struct ControlPlace {
    int id;
    QRect rect;
};

struct LayoutResult {
    // Every child that gets a rectangle, by control id, in placing order.
    std::vector<ControlPlace> places;
    // Bounds for the map window (no height while the map is hidden).
    QRect mapRect;
    // Hit areas of the splitters; the map splitter's only while the map is shown.
    std::optional<QRect> mapSplit;
    QRect lowerSplit;
    QRect columnSplit;
    // Which frames (and their panes) are shown for the view mode.
    bool frontShown = true;
    bool rearShown = true;
    int top = 0;         // T: top of the content
    int videoHeight = 0; // V
    int lowerTop = 0;    // B: top of the gauges and transport buttons

    // The rectangle of `id`; an empty one when the layout gives it none.
    QRect Find(int id) const;
};

// The normal (not full-screen) layout for a client size. All divisions are integer divisions.
LayoutResult LayOutControls(const LayoutParams& params);

// The fitted rectangle of a picture inside a frame of `frame` size, relative to the frame's
// top-left corner: as large as fits, centred on the other axis. A width or height of 0 or less
// stands for the default 1280 x 720 picture; the products are 64-bit.
QRect FitPicture(int64_t pictureWidth, int64_t pictureHeight, QSize frame);

struct PaneFit {
    bool moveFront = false;
    bool moveRear = false;
    QRect front; // client coordinates
    QRect rear;
};

// Both panes get the size fitted to one frame (the rear one in view mode 2, else the front one),
// each at that offset inside its own frame. Frames are in client coordinates; outside full-screen
// video they lose their client edge first. Which panes move: the full-screen one, else those of
// the view mode.
PaneFit FitVideoPanes(const QRect& frontFrame, const QRect& rearFrame, bool fullVideo, int fullVideoPane,
                      int viewMode, int64_t pictureWidth, int64_t pictureHeight);

// The window's shape: a plain rectangle in full-screen video, else a rectangle with 10 x 10
// corner ellipses whose top-left corner is rounded with radius 30.
QRegion WindowOutline(QSize client, bool fullVideo);

// Window rectangle of a preset size command (1053 small, 1063 medium, 1064 large) on `monitor`;
// an empty rectangle for any other command.
QRect PresetWindowRect(int command, const QRect& monitor);

// What a left button press on the window's background starts.
enum class DragKind { None, Grip, MapSplit, LowerSplit, ColumnSplit };

struct SplitAreas {
    QRect mapSplit;
    QRect lowerSplit;
    QRect columnSplit;
};

// First hit wins: the grip, then the map, lower and column splitters.
DragKind HitTestDrag(QPoint point, QSize client, const SplitAreas& areas);
// The cursor over a hit area (or during its drag).
Qt::CursorShape DragCursor(DragKind kind);

// Window size while dragging the grip to `point` (client coordinates).
QSize GripDragSize(QPoint point);
// Wanted sizes while dragging a splitter to `point`.
int MapHeightFromDrag(QPoint point, int topBandExtra);
int LowerHeightFromDrag(QPoint point, int clientHeight);
int RightColWidthFromDrag(QPoint point, int clientWidth);

// The pane shown full-screen, chosen on entering: the view mode's pane, else in view mode 0 the
// pane under the pointer, else the front pane.
int ChooseFullVideoPane(int viewMode, bool pointerInFront, bool pointerInRear);

struct PaneVisibility {
    bool front = false;
    bool rear = false;
};

// Which video panes are shown after a restore from minimise: the panes of the view mode (or the
// full-screen pane) whose hidden flag is clear; every other pane stays hidden.
PaneVisibility PanesAfterRestore(int viewMode, bool fullVideo, int fullVideoPane, bool frontHidden,
                                 bool rearHidden);
