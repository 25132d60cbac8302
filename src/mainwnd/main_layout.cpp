#include "main_layout.h"

#include "control_ids.h"

#include <algorithm>

namespace {

// The children that the layout places in the top band by fixed coordinates. The speed label,
// compass, GPS indicator and banner (hidden in this build) get one rectangle each beside the
// open and print buttons, so that showing them again never lets them cover another control.
void PlaceTopBand(int w, int extra, std::vector<ControlPlace>& out) {
    out.push_back({IDC_CLOSE, QRect(w - 32, 2, 25, 25)});
    out.push_back({IDC_MAXIMIZE, QRect(w - 59, 2, 25, 25)});
    out.push_back({IDC_MINIMIZE, QRect(w - 86, 2, 25, 25)});
    out.push_back({IDC_ABOUT, QRect(w - 113, 2, 25, 25)});
    out.push_back({IDC_LARGE_SIZE, QRect(w - 159, 11, 16, 16)});
    out.push_back({IDC_MEDIUM_SIZE, QRect(w - 179, 11, 16, 16)});
    out.push_back({IDC_SMALL_SIZE, QRect(w - 199, 11, 16, 16)});
    out.push_back({IDC_TITLE, QRect((w - 148) / 2, (extra + 11) / 2, 148, 48)});
    out.push_back({IDC_LOGO, QRect(8, 4, 40, 40)});
    out.push_back({IDC_OPEN, QRect(58, 8, 48, 36)});
    out.push_back({IDC_PRINT, QRect(113, 8, 48, 36)});
    out.push_back({IDC_GPS_INDICATOR, QRect(170, 12, 32, 32)});
    out.push_back({IDC_SPEED_LABEL, QRect(208, 6, 96, 46)});
    out.push_back({IDC_COMPASS, QRect(310, 4, 50, 50)});
    out.push_back({IDC_BANNER, QRect(w - 367, 4, 160, 48)});
}

int RightColumnWidth(int w, int wanted) {
    int r = wanted > w - 20 ? w - 20 : std::max(wanted, 20);
    // The left part keeps at least 1000 pixels on wide windows.
    if (w > 1000 && w - r - 5 < 1000) r = w - 1005;
    return r;
}

// Gauge rows inside the group box of width d starting at x = 220; returns the steering cell.
QRect PlaceGaugeRows(int b, int d, std::vector<ControlPlace>& out) {
    const int third = (d - 10) / 3;
    const int lastThird = d - 10 - 2 * third;
    QRect steering;
    for (int row = 0; row < 2; ++row) {
        const int y = b + 64 + 45 * row;
        const int first = IDC_GAUGE_FIRST + 3 * row;
        out.push_back({first, QRect(220, y, third, 45)});
        out.push_back({first + 1, QRect(220 + third, y, third, 45)});
        out.push_back({first + 2, QRect(220 + 2 * third, y, lastThird, 45)});
        if (row == 0) steering = out.back().rect;
    }
    const int sixth = (d - 10) / 6;
    const int lastSixth = d - 10 - 5 * sixth;
    for (int i = 0; i < 6; ++i)
        out.push_back(
            {IDC_GAUGE_FIRST + 6 + i, QRect(220 + i * sixth, b + 154, i < 5 ? sixth : lastSixth, 45)});
    return steering;
}

void PlaceLowerArea(int w, int h, int half, int b, std::vector<ControlPlace>& out) {
    out.push_back({IDC_LOOK_DOWN, RectLTRB(5, b, 205, h - 5)});
    out.push_back({IDC_GAUGE_BOX, RectLTRB(215, b, 2 * half - 5, h - 5)});
    out.push_back({IDC_PREVIOUS, QRect(225, b + 18, 36, 36)});
    out.push_back({IDC_PLAY, QRect(265, b + 18, 36, 36)});
    out.push_back({IDC_NEXT, QRect(305, b + 18, 36, 36)});
    out.push_back({IDC_VOLUME_BUTTON, QRect(370, b + 22, 12, 24)});
    out.push_back({IDC_VOLUME_SLIDER, QRect(384, b + 24, 170, 20)});
    out.push_back({IDC_SLOWER, QRect(579, b + 18, 36, 36)});
    out.push_back({IDC_FASTER, QRect(619, b + 18, 36, 36)});
    out.push_back({IDC_PB_SPEED_LABEL, QRect(684, b + 18, 72, 36)});

    const QRect steering = PlaceGaugeRows(b, 2 * half - 220, out);
    out.push_back({IDC_TURN_SIGNAL, QRect(steering.x(), b + 8, steering.width(), 57)});
    const int s = steering.width();
    out.push_back({IDC_SWITCH, QRect(735 + (2 * half - 5 - s - 735 - 44) / 2, b + 18, 44, 36)});

    const int fiveButtons[] = {IDC_AUTO_NEXT, IDC_KML, IDC_MAP_SWITCH, IDC_GSENSOR_SWITCH, IDC_LOCK};
    for (int i = 0; i < 5; ++i)
        out.push_back({fiveButtons[i], QRect(w - 195 + 34 * i, h - 40, 32, 32)});
}

void PlaceVideoFrames(int viewMode, int top, int half, int v, LayoutResult& result) {
    const QRect halfFront(5, top, half - 10, v);
    const QRect whole(5, top, 2 * half - 10, v);
    switch (viewMode) {
    case 1:
        result.places.push_back({IDC_FRONT_FRAME, whole});
        result.places.push_back({IDC_REAR_FRAME, whole});
        result.rearShown = false;
        break;
    case 2:
        result.places.push_back({IDC_FRONT_FRAME, halfFront});
        result.places.push_back({IDC_REAR_FRAME, whole});
        result.frontShown = false;
        break;
    default:
        result.places.push_back({IDC_FRONT_FRAME, halfFront});
        result.places.push_back({IDC_REAR_FRAME, QRect(half - 5, top, half, v)});
        break;
    }
}

} // namespace

int TopBandExtra(int screenWidth, int screenHeight) {
    if (screenWidth >= 3840) return 30;
    if (screenWidth < 2560) return 0;
    if (screenHeight >= 2400) return 20;
    if (screenHeight >= 2048) return 15;
    if (screenHeight >= 1920) return 10;
    return 0;
}

QRect LayoutResult::Find(int id) const {
    for (const ControlPlace& place : places)
        if (place.id == id) return place.rect;
    return {};
}

// The file list, and under it the Events list with a third of the height (at most
// kEventListMaxHeight) once the files keep at least kEventListMinFiles; else the Events list gets
// an empty place. While a trip plays its summary panel goes between the two when the files keep
// that much beside it too, else it gets an empty place.
static void PlaceLists(const QRect& area, bool eventsShown, bool summaryShown, std::vector<ControlPlace>& places) {
    const int events = std::min(area.height() / 3, kEventListMaxHeight);
    if (!eventsShown || area.height() - events - 5 < kEventListMinFiles) {
        places.push_back({IDC_FILE_LIST, area});
        if (eventsShown) places.push_back({IDC_EVENT_LIST, QRect()});
        if (summaryShown) places.push_back({IDC_TRIP_SUMMARY, QRect()});
        return;
    }
    const int split = area.top() + area.height() - events;
    const bool summaryFits = summaryShown && split - 5 - kTripSummaryHeight - 5 - area.top() >= kEventListMinFiles;
    const int filesEnd = summaryFits ? split - 5 - kTripSummaryHeight - 5 : split - 5;
    places.push_back({IDC_FILE_LIST, RectLTRB(area.left(), area.top(), area.left() + area.width(), filesEnd)});
    if (summaryFits)
        places.push_back({IDC_TRIP_SUMMARY, RectLTRB(area.left(), filesEnd + 5, area.left() + area.width(), split - 5)});
    else if (summaryShown)
        places.push_back({IDC_TRIP_SUMMARY, QRect()});
    places.push_back({IDC_EVENT_LIST, RectLTRB(area.left(), split, area.left() + area.width(), split + events)});
}

LayoutResult LayOutControls(const LayoutParams& p) {
    LayoutResult result;
    const int w = p.width;
    const int h = p.height;
    PlaceTopBand(w, p.topBandExtra, result.places);

    const int top = kTopBandHeight + p.topBandExtra;
    const int available = h - 5 - top;
    const int r = RightColumnWidth(w, p.rightColWidth);
    const int x = std::max(w - 5 - r, 0);

    if (p.mapShown) {
        const int m = p.mapHeight > available - 15 ? available - 15 : std::max(p.mapHeight, 60);
        result.mapRect = RectLTRB(x, top, w - 5, top + m);
        PlaceLists(RectLTRB(x, top + m + 5, w - 5, h - 10), p.eventListShown, p.tripBarShown, result.places);
        result.mapSplit = RectLTRB(x, top, w - 5, h - 5);
    } else {
        result.mapRect = RectLTRB(x, 0, w - 5, 0);
        PlaceLists(RectLTRB(x, top, w - 5, h - 10), p.eventListShown, p.tripBarShown, result.places);
    }
    result.columnSplit = RectLTRB(x - 5, top, x, h - 5);

    const int g = p.gsrShown ? p.gsensorHeight : 0;
    const int lower = p.lowerHeight > available - g - 40 ? available - g - 40 : std::max(p.lowerHeight, 200);
    const int half = x / 2;
    const int gap = lower == 0 ? 25 : 35;
    // The trip bar takes its height from the video, so nothing below the slider moves.
    const int trip = p.tripBarShown ? kTripBarStep : 0;
    const int v = available - gap - g - lower - trip;

    result.places.push_back({IDC_SEEK_SLIDER, QRect(5, top + v, 2 * half - 10, 20)});
    if (p.tripBarShown)
        result.places.push_back({IDC_TRIP_BAR, QRect(5, top + v + kTripBarStep, 2 * half - 10, kTripBarHeight)});
    // The curve keeps its own height, also while hidden, so that showing it again restores it.
    result.places.push_back({IDC_GSENSOR, QRect(5, top + v + trip + 25, 2 * half - 10, p.gsensorHeight)});
    const int b = p.gsrShown ? top + v + trip + 30 + g : top + v + trip + 25;
    result.lowerSplit = RectLTRB(5, b - 5, 2 * half - 5, b);
    PlaceLowerArea(w, h, half, b, result.places);
    PlaceVideoFrames(p.viewMode, top, half, v, result);

    result.top = top;
    result.videoHeight = v;
    result.lowerTop = b;
    return result;
}

QRect FitPicture(int64_t c, int64_t d, QSize frame) {
    if (c <= 0 || d <= 0) {
        c = kDefaultPictureWidth;
        d = kDefaultPictureHeight;
    }
    const int64_t w = std::max(frame.width(), 0);
    const int64_t h = std::max(frame.height(), 0);
    if (d * w < c * h) {
        const int64_t fitted = d * w / c;
        return QRect(0, static_cast<int>((h - fitted) / 2), static_cast<int>(w), static_cast<int>(fitted));
    }
    if (c * h < d * w) {
        const int64_t fitted = c * h / d;
        return QRect(static_cast<int>((w - fitted) / 2), 0, static_cast<int>(fitted), static_cast<int>(h));
    }
    return QRect(0, 0, static_cast<int>(w), static_cast<int>(h));
}

PaneFit FitVideoPanes(const QRect& frontFrame, const QRect& rearFrame, bool fullVideo, int fullVideoPane,
                      int viewMode, int64_t pictureWidth, int64_t pictureHeight) {
    const int edge = fullVideo ? 0 : kClientEdge;
    const QRect front = frontFrame.adjusted(edge, edge, -edge, -edge);
    const QRect rear = rearFrame.adjusted(edge, edge, -edge, -edge);
    const QRect fitted = FitPicture(pictureWidth, pictureHeight, (viewMode == 2 ? rear : front).size());

    PaneFit fit;
    fit.front = fitted.translated(front.topLeft());
    fit.rear = fitted.translated(rear.topLeft());
    if (fullVideo) {
        fit.moveFront = fullVideoPane == 1;
        fit.moveRear = fullVideoPane == 2;
    } else {
        fit.moveFront = viewMode != 2;
        fit.moveRear = viewMode != 1;
    }
    return fit;
}

namespace {

// Rectangle with w x h corner ellipses, as a region.
QRegion RoundedRectRegion(const QRect& rect, int ellipse) {
    const int r = ellipse / 2;
    QRegion region(rect.adjusted(r, 0, -r, 0));
    region += QRegion(rect.adjusted(0, r, 0, -r));
    const QSize corner(ellipse, ellipse);
    region += QRegion(QRect(rect.topLeft(), corner), QRegion::Ellipse);
    region += QRegion(QRect(QPoint(rect.right() + 1 - ellipse, rect.top()), corner), QRegion::Ellipse);
    region += QRegion(QRect(QPoint(rect.left(), rect.bottom() + 1 - ellipse), corner), QRegion::Ellipse);
    region += QRegion(QRect(QPoint(rect.right() + 1 - ellipse, rect.bottom() + 1 - ellipse), corner),
                      QRegion::Ellipse);
    return region;
}

} // namespace

QRegion WindowOutline(QSize client, bool fullVideo) {
    const QRect whole(QPoint(0, 0), client);
    if (fullVideo || client.isEmpty()) return QRegion(whole);
    QRegion outline = RoundedRectRegion(whole, 10);
    // The top-left corner is rounded with radius 30: what lies in the 30 x 30 corner square
    // outside the circle that the rounding follows is cut away.
    const QRegion square = QRegion(QRect(0, 0, 30, 30)) & outline;
    const QRegion keep(QRect(0, 0, 60, 60), QRegion::Ellipse);
    return outline - (square - keep);
}

QRect PresetWindowRect(int command, const QRect& monitor) {
    const int mw = monitor.width();
    const int mh = monitor.height();
    switch (command) {
    case IDC_SMALL_SIZE:
        return QRect(monitor.left() + (mw - 800) / 2, monitor.top() + (mh - 560) / 2, 800, 560);
    case IDC_MEDIUM_SIZE:
        return QRect(monitor.left() + mw / 8, monitor.top() + mh / 8, std::max(4 * mw / 5, 800),
                     std::max(4 * mh / 5, 560));
    case IDC_LARGE_SIZE:
        return monitor;
    default:
        return {};
    }
}

DragKind HitTestDrag(QPoint point, QSize client, const SplitAreas& areas) {
    const QRect grip(client.width() - kGripSize, client.height() - kGripSize, kGripSize, kGripSize);
    if (grip.contains(point)) return DragKind::Grip;
    if (areas.mapSplit.contains(point)) return DragKind::MapSplit;
    if (areas.lowerSplit.contains(point)) return DragKind::LowerSplit;
    if (areas.columnSplit.contains(point)) return DragKind::ColumnSplit;
    return DragKind::None;
}

Qt::CursorShape DragCursor(DragKind kind) {
    switch (kind) {
    case DragKind::Grip:
        return Qt::SizeFDiagCursor;
    case DragKind::MapSplit:
    case DragKind::LowerSplit:
        return Qt::SizeVerCursor;
    case DragKind::ColumnSplit:
        return Qt::SizeHorCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QSize GripDragSize(QPoint point) {
    return QSize(std::max(point.x(), kGripMinWidth), std::max(point.y(), kGripMinHeight));
}

int MapHeightFromDrag(QPoint point, int topBandExtra) {
    return point.y() - topBandExtra - kTopBandHeight;
}

int LowerHeightFromDrag(QPoint point, int clientHeight) {
    return clientHeight - point.y() - 15;
}

int RightColWidthFromDrag(QPoint point, int clientWidth) {
    return clientWidth - point.x() - 10;
}

int ChooseFullVideoPane(int viewMode, bool pointerInFront, bool pointerInRear) {
    if (viewMode == 1) return 1;
    if (viewMode == 2) return 2;
    if (pointerInFront) return 1;
    if (pointerInRear) return 2;
    return 1;
}

PaneVisibility PanesAfterRestore(int viewMode, bool fullVideo, int fullVideoPane, bool frontHidden,
                                 bool rearHidden) {
    bool frontOfMode = viewMode != 2;
    bool rearOfMode = viewMode != 1;
    if (fullVideo) {
        frontOfMode = fullVideoPane == 1;
        rearOfMode = fullVideoPane == 2;
    }
    return {frontOfMode && !frontHidden, rearOfMode && !rearHidden};
}
