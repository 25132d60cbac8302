#include <gtest/gtest.h>

#include "control_ids.h"
#include "main_layout.h"

#include <climits>

namespace {

LayoutParams Client(int width, int height) {
    LayoutParams params;
    params.width = width;
    params.height = height;
    params.gsensorHeight = 80;
    return params;
}

int RightColumn(const LayoutResult& layout) {
    return layout.Find(IDC_FILE_LIST).width();
}

} // namespace

TEST(MainLayout, RightColumnKeepsTheLeftPartAtLeastAThousandPixels) {
    const LayoutResult def = LayOutControls(Client(1250, 560));
    EXPECT_EQ(RightColumn(def), 240);
    EXPECT_EQ(def.mapRect, QRect(1005, 59, 240, 240));

    LayoutParams wide = Client(1300, 700);
    wide.rightColWidth = 500;
    const LayoutResult shrunk = LayOutControls(wide);
    EXPECT_EQ(RightColumn(shrunk), 295);
    EXPECT_EQ(shrunk.mapRect.left(), 1000);

    // A narrow window (the small preset) may give the column more than the left part.
    LayoutParams narrow = Client(800, 560);
    narrow.rightColWidth = 500;
    EXPECT_EQ(RightColumn(LayOutControls(narrow)), 500);
}

TEST(MainLayout, SplitterDragsToTheEdgesKeepTheMinimumSizes) {
    LayoutParams params = Client(1600, 900);
    params.rightColWidth = RightColWidthFromDrag(QPoint(1600, 300), 1600);
    const LayoutResult column = LayOutControls(params);
    EXPECT_EQ(RightColumn(column), 20);
    EXPECT_EQ(column.columnSplit, RectLTRB(1570, 59, 1575, 895));

    params = Client(1600, 900);
    params.mapHeight = MapHeightFromDrag(QPoint(1400, 0), 0);
    EXPECT_EQ(LayOutControls(params).mapRect.height(), 60);
    params.mapHeight = MapHeightFromDrag(QPoint(1400, 2000), 0);
    EXPECT_EQ(LayOutControls(params).mapRect.height(), 900 - 5 - 59 - 15);

    // Dragging the lower splitter up past the video takes the video height to its end.
    params = Client(1600, 900);
    params.lowerHeight = LowerHeightFromDrag(QPoint(300, 0), 900);
    const LayoutResult lower = LayOutControls(params);
    EXPECT_EQ(lower.videoHeight, 5);
    EXPECT_EQ(lower.lowerTop, 59 + 5 + 30 + 80);
}

TEST(MainLayout, HiddenMapGivesTheFileListTheWholeColumn) {
    LayoutParams params = Client(1250, 560);
    params.mapShown = false;
    const LayoutResult layout = LayOutControls(params);
    EXPECT_EQ(layout.Find(IDC_FILE_LIST), RectLTRB(1005, 59, 1245, 550));
    EXPECT_EQ(layout.mapRect, RectLTRB(1005, 0, 1245, 0));
    EXPECT_FALSE(layout.mapSplit.has_value());

    params.mapShown = true;
    const LayoutResult shown = LayOutControls(params);
    EXPECT_EQ(shown.Find(IDC_FILE_LIST), RectLTRB(1005, 304, 1245, 550));
    ASSERT_TRUE(shown.mapSplit.has_value());
    EXPECT_EQ(*shown.mapSplit, RectLTRB(1005, 59, 1245, 555));
}

TEST(MainLayout, DefaultWindowPlacesTheLowerAreaBelowTheCurve) {
    const LayoutResult layout = LayOutControls(Client(1250, 560));
    // T 59, A 496, L 200, G 80: V = 496 - 35 - 80 - 200.
    EXPECT_EQ(layout.videoHeight, 181);
    EXPECT_EQ(layout.Find(IDC_SEEK_SLIDER), QRect(5, 240, 994, 20));
    EXPECT_EQ(layout.Find(IDC_GSENSOR), QRect(5, 265, 994, 80));
    EXPECT_EQ(layout.lowerTop, 350);
    EXPECT_EQ(layout.Find(IDC_LOOK_DOWN), RectLTRB(5, 350, 205, 555));
    EXPECT_EQ(layout.Find(IDC_GAUGE_BOX), RectLTRB(215, 350, 999, 555));
    EXPECT_EQ(layout.Find(IDC_FRONT_FRAME), QRect(5, 59, 492, 181));
    EXPECT_EQ(layout.Find(IDC_REAR_FRAME), QRect(497, 59, 502, 181));
    // Gauge cells follow each other without gaps; the last of a row takes the rest.
    EXPECT_EQ(layout.Find(1200), QRect(220, 414, 258, 45));
    EXPECT_EQ(layout.Find(1201), QRect(478, 414, 258, 45));
    EXPECT_EQ(layout.Find(1202), QRect(736, 414, 258, 45));
    EXPECT_EQ(layout.Find(1206), QRect(220, 504, 129, 45));
    EXPECT_EQ(layout.Find(1211), QRect(865, 504, 129, 45));
    EXPECT_EQ(layout.Find(IDC_TURN_SIGNAL), QRect(736, 358, 258, 57));
    // Centred between x 735 and the steering cell; at this width the room is smaller than it.
    EXPECT_EQ(layout.Find(IDC_SWITCH), QRect(716, 368, 44, 36));
    EXPECT_EQ(layout.Find(IDC_LOCK), QRect(1191, 520, 32, 32));
    EXPECT_EQ(layout.Find(IDC_CLOSE), QRect(1218, 2, 25, 25));
    EXPECT_EQ(layout.Find(IDC_TITLE), QRect(551, 5, 148, 48));
}

TEST(MainLayout, EveryControlLiesInsideTheClientArea) {
    for (const QSize size : {QSize(1250, 560), QSize(1920, 1080), QSize(800, 560), QSize(3840, 2160)}) {
        LayoutParams params = Client(size.width(), size.height());
        params.topBandExtra = TopBandExtra(size.width(), size.height());
        const LayoutResult layout = LayOutControls(params);
        const QRect client(QPoint(0, 0), size);
        for (const ControlPlace& place : layout.places)
            EXPECT_TRUE(client.contains(place.rect))
                << place.id << " at " << size.width() << "x" << size.height();
        EXPECT_TRUE(client.contains(layout.mapRect));
        EXPECT_GT(layout.videoHeight, 0);
    }
}

TEST(MainLayout, HiddenCurveGivesItsHeightToTheVideo) {
    LayoutParams params = Client(1250, 560);
    const LayoutResult shown = LayOutControls(params);
    params.gsrShown = false;
    const LayoutResult hidden = LayOutControls(params);
    EXPECT_EQ(hidden.videoHeight, shown.videoHeight + 80);
    EXPECT_EQ(hidden.Find(IDC_FRONT_FRAME).height(), 261);
    // The lower area starts right below the seek slider; the curve keeps its own height.
    EXPECT_EQ(hidden.lowerTop, 59 + 261 + 25);
    EXPECT_EQ(hidden.Find(IDC_GSENSOR).height(), 80);
}

TEST(MainLayout, LargeScreensMoveTheContentDown) {
    EXPECT_EQ(TopBandExtra(3840, 2160), 30);
    EXPECT_EQ(TopBandExtra(2560, 2400), 20);
    EXPECT_EQ(TopBandExtra(2560, 2048), 15);
    EXPECT_EQ(TopBandExtra(2560, 1920), 10);
    EXPECT_EQ(TopBandExtra(2560, 1440), 0);
    EXPECT_EQ(TopBandExtra(1920, 2400), 0);

    LayoutParams params = Client(3000, 1600);
    params.topBandExtra = TopBandExtra(3840, 2160);
    const LayoutResult layout = LayOutControls(params);
    EXPECT_EQ(layout.top, 89);
    EXPECT_EQ(layout.Find(IDC_FRONT_FRAME).top(), 89);
    EXPECT_EQ(layout.mapRect.top(), 89);
    EXPECT_EQ(layout.Find(IDC_TITLE).top(), 20);
}

TEST(MainLayout, ViewModesShareTheVideoArea) {
    LayoutParams params = Client(1250, 560);
    params.viewMode = 1;
    const LayoutResult front = LayOutControls(params);
    EXPECT_EQ(front.Find(IDC_FRONT_FRAME), QRect(5, 59, 994, 181));
    EXPECT_EQ(front.Find(IDC_REAR_FRAME), front.Find(IDC_FRONT_FRAME));
    EXPECT_TRUE(front.frontShown);
    EXPECT_FALSE(front.rearShown);

    params.viewMode = 2;
    const LayoutResult rear = LayOutControls(params);
    EXPECT_EQ(rear.Find(IDC_REAR_FRAME), QRect(5, 59, 994, 181));
    EXPECT_EQ(rear.Find(IDC_FRONT_FRAME), QRect(5, 59, 492, 181));
    EXPECT_FALSE(rear.frontShown);
    EXPECT_TRUE(rear.rearShown);
}

TEST(FitPicture, KeepsTheAspectRatioCentred) {
    EXPECT_EQ(FitPicture(1920, 1080, QSize(600, 400)), QRect(0, 31, 600, 337));
    EXPECT_EQ(FitPicture(1920, 1080, QSize(400, 400)), QRect(0, 87, 400, 225));
    EXPECT_EQ(FitPicture(1080, 1920, QSize(600, 400)), QRect(187, 0, 225, 400));
    EXPECT_EQ(FitPicture(16, 9, QSize(1600, 900)), QRect(0, 0, 1600, 900));
    EXPECT_EQ(FitPicture(1920, 1080, QSize(0, 0)), QRect(0, 0, 0, 0));
}

TEST(FitPicture, MissingOrHugePictureSizesStayVisibleAndExact) {
    // A size of 0 (entries exist with it) or less stands for 1280 x 720.
    const QRect standard = FitPicture(1280, 720, QSize(600, 400));
    EXPECT_EQ(FitPicture(0, 1080, QSize(600, 400)), standard);
    EXPECT_EQ(FitPicture(1920, 0, QSize(600, 400)), standard);
    EXPECT_EQ(FitPicture(-5, -5, QSize(600, 400)), standard);
    // Products beyond 32 bits: 2^31 - 1 wide, half as high, into a large frame.
    EXPECT_EQ(FitPicture(INT_MAX, INT_MAX / 2, QSize(3840, 2160)), QRect(0, 120, 3840, 1919));
    EXPECT_EQ(FitPicture(INT_MAX / 2, INT_MAX, QSize(3840, 2160)), QRect(1380, 0, 1079, 2160));
}

TEST(FitVideoPanes, BothPanesTakeTheSizeOfOneFrame) {
    const QRect front(5, 59, 490, 181);
    const QRect rear(495, 59, 500, 181);
    const PaneFit both = FitVideoPanes(front, rear, false, 0, 0, 1920, 1080);
    ASSERT_TRUE(both.moveFront && both.moveRear);
    // Frame 486 x 177 inside the edge: 486 wide, 273 high does not fit, so 177 high.
    EXPECT_EQ(both.front, QRect(7 + (486 - 314) / 2, 61, 314, 177));
    EXPECT_EQ(both.rear.size(), both.front.size());
    EXPECT_EQ(both.rear.topLeft() - QPoint(497, 61), both.front.topLeft() - QPoint(7, 61));

    const PaneFit rearOnly =
        FitVideoPanes(QRect(5, 59, 490, 181), QRect(5, 59, 990, 181), false, 0, 2, 1920, 1080);
    EXPECT_FALSE(rearOnly.moveFront);
    EXPECT_TRUE(rearOnly.moveRear);
    EXPECT_EQ(rearOnly.rear.height(), 177);
    EXPECT_EQ(rearOnly.rear.width(), 314);

    const QRect monitor(0, 0, 1920, 1080);
    const PaneFit full = FitVideoPanes(monitor, monitor, true, 2, 0, 1280, 720);
    EXPECT_FALSE(full.moveFront);
    EXPECT_TRUE(full.moveRear);
    EXPECT_EQ(full.rear, monitor);
}

TEST(WindowOutline, RoundedCornersWithTheLargeTopLeftOne) {
    const QRegion outline = WindowOutline(QSize(1250, 560), false);
    EXPECT_TRUE(outline.contains(QPoint(625, 280)));
    EXPECT_TRUE(outline.contains(QPoint(625, 0)));
    EXPECT_TRUE(outline.contains(QPoint(0, 280)));
    // Small corners: the corner pixel is cut, a pixel 5 in along the edge is kept.
    for (const QPoint corner : {QPoint(1249, 0), QPoint(0, 559), QPoint(1249, 559)})
        EXPECT_FALSE(outline.contains(corner)) << corner.x() << "," << corner.y();
    EXPECT_TRUE(outline.contains(QPoint(1244, 0)));
    EXPECT_TRUE(outline.contains(QPoint(1249, 5)));
    // Top-left: radius 30, centred at (30, 30).
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(5, 5)));
    EXPECT_FALSE(outline.contains(QPoint(9, 2)));
    EXPECT_FALSE(outline.contains(QPoint(2, 9)));
    EXPECT_TRUE(outline.contains(QPoint(12, 12)));
    EXPECT_TRUE(outline.contains(QPoint(30, 0)));
    EXPECT_TRUE(outline.contains(QPoint(0, 30)));
    EXPECT_TRUE(outline.contains(QPoint(29, 29)));

    const QRegion full = WindowOutline(QSize(1920, 1080), true);
    EXPECT_EQ(full, QRegion(0, 0, 1920, 1080));
}

TEST(PresetWindowRect, ThreeSizesOnTheMonitor) {
    const QRect monitor(0, 0, 1920, 1080);
    EXPECT_EQ(PresetWindowRect(IDC_SMALL_SIZE, monitor), QRect(560, 260, 800, 560));
    EXPECT_EQ(PresetWindowRect(IDC_MEDIUM_SIZE, monitor), QRect(240, 135, 1536, 864));
    EXPECT_EQ(PresetWindowRect(IDC_LARGE_SIZE, monitor), monitor);
    // A second monitor to the right; a small one raises the medium size to its minimum.
    EXPECT_EQ(PresetWindowRect(IDC_MEDIUM_SIZE, QRect(1920, 0, 800, 600)), QRect(2020, 75, 800, 560));
    EXPECT_EQ(PresetWindowRect(IDC_SMALL_SIZE, QRect(1920, 0, 1280, 1024)), QRect(2160, 232, 800, 560));
    EXPECT_TRUE(PresetWindowRect(IDC_OPEN, monitor).isNull());
}

TEST(DragRules, GripNeverGoesBelowTheMinimum) {
    EXPECT_EQ(GripDragSize(QPoint(100, 100)), QSize(1250, 560));
    EXPECT_EQ(GripDragSize(QPoint(1400, 300)), QSize(1400, 560));
    EXPECT_EQ(GripDragSize(QPoint(-40, 900)), QSize(1250, 900));
}

TEST(DragRules, GripIsHitFirstThenTheSplittersInOrder) {
    const QSize client(1250, 560);
    const LayoutResult layout = LayOutControls(Client(1250, 560));
    const SplitAreas areas{*layout.mapSplit, layout.lowerSplit, layout.columnSplit};
    // The grip square overlaps the map splitter's area (the whole column).
    EXPECT_EQ(HitTestDrag(QPoint(1240, 550), client, areas), DragKind::Grip);
    EXPECT_EQ(HitTestDrag(QPoint(1230, 301), client, areas), DragKind::MapSplit);
    EXPECT_EQ(HitTestDrag(QPoint(500, 347), client, areas), DragKind::LowerSplit);
    EXPECT_EQ(HitTestDrag(QPoint(1002, 200), client, areas), DragKind::ColumnSplit);
    EXPECT_EQ(HitTestDrag(QPoint(600, 30), client, areas), DragKind::None);
    // Right and bottom edges are outside the areas.
    EXPECT_EQ(HitTestDrag(QPoint(1005, 200), client, SplitAreas{QRect(), QRect(), areas.columnSplit}),
              DragKind::None);

    EXPECT_EQ(DragCursor(DragKind::Grip), Qt::SizeFDiagCursor);
    EXPECT_EQ(DragCursor(DragKind::MapSplit), Qt::SizeVerCursor);
    EXPECT_EQ(DragCursor(DragKind::LowerSplit), Qt::SizeVerCursor);
    EXPECT_EQ(DragCursor(DragKind::ColumnSplit), Qt::SizeHorCursor);
    EXPECT_EQ(DragCursor(DragKind::None), Qt::ArrowCursor);
}

TEST(FullVideoPane, ChosenOnEntryByViewModeThenPointer) {
    EXPECT_EQ(ChooseFullVideoPane(1, false, true), 1);
    EXPECT_EQ(ChooseFullVideoPane(2, true, false), 2);
    EXPECT_EQ(ChooseFullVideoPane(0, true, false), 1);
    EXPECT_EQ(ChooseFullVideoPane(0, false, true), 2);
    // Over neither pane (the pointer already moved on when the double click arrives): the front.
    EXPECT_EQ(ChooseFullVideoPane(0, false, false), 1);
}

TEST(RestoreFromMinimise, FollowsTheViewModeAndHiddenFlags) {
    auto expect = [](PaneVisibility v, bool front, bool rear) {
        EXPECT_EQ(v.front, front);
        EXPECT_EQ(v.rear, rear);
    };
    expect(PanesAfterRestore(0, false, 0, false, false), true, true);
    expect(PanesAfterRestore(0, false, 0, true, true), false, false); // nothing playing yet
    expect(PanesAfterRestore(0, false, 0, false, true), true, false);
    expect(PanesAfterRestore(1, false, 0, false, false), true, false);
    expect(PanesAfterRestore(2, false, 0, false, false), false, true);
    expect(PanesAfterRestore(0, true, 2, false, false), false, true);
}
