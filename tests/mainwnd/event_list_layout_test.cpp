// Where the Events list goes: under the file list, in the file list's own place.
#include "control_ids.h"
#include "main_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(EventListLayout, SharesTheFileListsPlaceAndLeavesEverythingElse) {
    for (const bool map : {true, false}) {
        for (const QSize client : {QSize(1250, 560), QSize(1920, 1080), QSize(3840, 2160)}) {
            SCOPED_TRACE(testing::Message() << map << ' ' << client.width() << 'x' << client.height());
            LayoutParams params;
            params.width = client.width();
            params.height = client.height();
            params.gsensorHeight = 80;
            params.mapShown = map;
            const LayoutResult plain = LayOutControls(params);
            params.eventListShown = true;
            const LayoutResult withEvents = LayOutControls(params);

            EXPECT_TRUE(plain.Find(IDC_EVENT_LIST).isEmpty());
            const QRect area = plain.Find(IDC_FILE_LIST);
            const QRect files = withEvents.Find(IDC_FILE_LIST);
            const QRect events = withEvents.Find(IDC_EVENT_LIST);
            ASSERT_FALSE(events.isEmpty());
            // Files above, events below, a 5 pixel gap, together exactly the old place.
            EXPECT_EQ(files.topLeft(), area.topLeft());
            EXPECT_EQ(files.width(), area.width());
            EXPECT_EQ(events.width(), area.width());
            EXPECT_EQ(events.left(), area.left());
            EXPECT_EQ(events.top(), files.bottom() + 1 + 5);
            EXPECT_EQ(events.bottom(), area.bottom());
            EXPECT_LE(events.height(), kEventListMaxHeight);
            EXPECT_GE(files.height(), kEventListMinFiles);

            // Nothing else moves.
            for (const ControlPlace& place : plain.places) {
                if (place.id != IDC_FILE_LIST) {
                    EXPECT_EQ(withEvents.Find(place.id), place.rect) << place.id;
                }
            }
            EXPECT_EQ(withEvents.mapRect, plain.mapRect);
        }
    }
}

TEST(EventListLayout, TooLowAPlaceKeepsEveryLineForTheFiles) {
    LayoutParams params;
    params.width = 1250;
    params.height = 560;
    params.mapHeight = 400;
    params.eventListShown = true;
    const LayoutResult layout = LayOutControls(params);
    params.eventListShown = false;
    EXPECT_EQ(layout.Find(IDC_FILE_LIST), LayOutControls(params).Find(IDC_FILE_LIST));
    EXPECT_TRUE(layout.Find(IDC_EVENT_LIST).isEmpty());
    // Placed empty, so that the list of a larger size does not stay behind.
    EXPECT_TRUE(std::any_of(layout.places.begin(), layout.places.end(),
                            [](const ControlPlace& p) { return p.id == IDC_EVENT_LIST; }));
}

// While a trip plays its summary panel sits between the files and the events, with the files
// keeping their least height; where that is not left, it gets an empty place and the files keep all.
TEST(EventListLayout, TripSummaryGoesBetweenFilesAndEventsOnlyWhereTheFilesKeepTheirLines) {
    LayoutParams params;
    params.width = 1920;
    params.height = 1080;
    params.gsensorHeight = 80;
    params.eventListShown = true;
    const LayoutResult plain = LayOutControls(params);
    params.tripBarShown = true;
    const LayoutResult trip = LayOutControls(params);
    EXPECT_TRUE(plain.Find(IDC_TRIP_SUMMARY).isEmpty());
    const QRect files = trip.Find(IDC_FILE_LIST);
    const QRect summary = trip.Find(IDC_TRIP_SUMMARY);
    const QRect events = trip.Find(IDC_EVENT_LIST);
    EXPECT_EQ(summary.height(), kTripSummaryHeight);
    EXPECT_EQ(summary.top(), files.bottom() + 1 + 5);
    EXPECT_EQ(events.top(), summary.bottom() + 1 + 5);
    EXPECT_EQ(events, plain.Find(IDC_EVENT_LIST));
    EXPECT_EQ(files.top(), plain.Find(IDC_FILE_LIST).top());
    EXPECT_EQ(summary.width(), files.width());

    params.height = 560;
    params.mapHeight = 240;
    const LayoutResult low = LayOutControls(params);
    params.tripBarShown = false;
    EXPECT_EQ(low.Find(IDC_FILE_LIST), LayOutControls(params).Find(IDC_FILE_LIST));
    EXPECT_TRUE(low.Find(IDC_TRIP_SUMMARY).isEmpty());
    EXPECT_TRUE(std::any_of(low.places.begin(), low.places.end(),
                            [](const ControlPlace& p) { return p.id == IDC_TRIP_SUMMARY; }));
}
