// The trip bar: its accessible value is the seconds since the trip's start, and every way a user
// chooses a moment (accessibility, keys, click, drag) sends one request; playback moves send none.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QSignalSpy>

#include "trip_bar.h"
#include "trips.h"
#include "widget_test_support.h"

using namespace widget_test;

namespace {

// A trip of 60 s + 59.5 s + 60 s recordings, the last one after a 1.5 s gap: 181 s.
struct TripBarFixture {
    TripBarFixture() {
        bar.resize(364, 20);
        bar.SetTrip(181000, {{0, 60000}, {60000, 59500}, {121000, 60000}});
    }
    std::vector<int> Requests() const {
        std::vector<int> seconds;
        for (const QList<QVariant>& call : spy)
            seconds.push_back(call.at(0).toInt());
        return seconds;
    }
    CTripBar bar;
    QSignalSpy spy{&bar, &CTripBar::tripPositionRequested};
};

} // namespace

TEST(TripBar, AccessibleValueIsSecondsSinceTheTripStart) {
    TripBarFixture f;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.bar);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "Trip position");
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 181);

    f.bar.SetPlayedMs(61500); // playback in the second recording
    EXPECT_EQ(value->currentValue().toInt(), 61);
    EXPECT_TRUE(f.spy.isEmpty()) << "moves by code request nothing";

    value->setCurrentValue(125); // a screen reader sets a moment of the third recording
    EXPECT_EQ(f.Requests(), std::vector<int>{125});
    EXPECT_EQ(value->currentValue().toInt(), 125);
    EXPECT_EQ(f.bar.PlayedMs(), 125000);
}

TEST(TripBar, KeysClickAndDragEachSendOneRequest) {
    TripBarFixture f;
    f.bar.SetPlayedMs(30000);
    Key(f.bar, Qt::Key_Right);
    Key(f.bar, Qt::Key_Left);
    Key(f.bar, Qt::Key_Left);
    Key(f.bar, Qt::Key_End);
    Key(f.bar, Qt::Key_Home);
    EXPECT_EQ(f.Requests(), (std::vector<int>{35, 30, 25, 181, 0}));
    f.spy.clear();

    // A click at the first boundary asks for that moment; one at the played second still asks.
    const int boundaryX = f.bar.XOfMs(60000);
    Click(f.bar, {boundaryX, 10});
    ASSERT_EQ(f.spy.size(), 1);
    EXPECT_NEAR(f.Requests()[0], 60, 1);
    Click(f.bar, {boundaryX, 10});
    EXPECT_EQ(f.spy.size(), 2);
    f.spy.clear();

    // A drag asks once, where it is let go; playback moves meanwhile do not move the thumb.
    Press(f.bar, {f.bar.XOfMs(10000), 10});
    Drag(f.bar, {f.bar.XOfMs(50000), 10});
    f.bar.SetPlayedMs(12000);
    Drag(f.bar, {f.bar.XOfMs(150000), 10});
    EXPECT_TRUE(f.spy.isEmpty());
    Release(f.bar, {f.bar.XOfMs(150000), 10});
    ASSERT_EQ(f.spy.size(), 1);
    EXPECT_NEAR(f.Requests()[0], 150, 1);

    // The ends of the bar are the ends of the trip.
    EXPECT_EQ(f.bar.SecondsAtX(0), 0);
    EXPECT_EQ(f.bar.SecondsAtX(f.bar.width()), 181);
}

TEST(TripBar, DrawsBoundariesPlayedPartAndEventMarks) {
    TripBarFixture f;
    f.bar.SetPlayedMs(90000);
    const QColor markColour(255, 40, 40);
    f.bar.SetEventMarks({{30000, markColour}, {150000, markColour}});
    const QImage image = Render(f.bar);
    const QRect bar = f.bar.BarRect();
    const int bottom = bar.bottom();
    const int top = bar.top();
    // Boundaries: light lines at the starts of the second and third recordings, full height.
    for (int64_t ms : {60000, 121000})
        EXPECT_TRUE(Near(image.pixel(f.bar.XOfMs(ms), top), QColor(220, 220, 220))) << ms;
    // Played part (lower part) before the cursor, segment colour after it.
    const QColor played(40, 120, 200);
    EXPECT_TRUE(Near(image.pixel(f.bar.XOfMs(45000), bottom), played));
    EXPECT_FALSE(Near(image.pixel(f.bar.XOfMs(100000), bottom), played));
    // Marks at the top, in their colour, where they belong.
    EXPECT_GT(CountInRect(image, QRect(f.bar.XOfMs(150000) - 1, top, 3, 3), markColour), 0);
    EXPECT_EQ(CountInRect(image, QRect(f.bar.XOfMs(100000) - 1, top, 3, bar.height()), markColour), 0);
    EXPECT_EQ(f.bar.EventMarks().size(), 2u);

    // A new trip drops the marks and starts at 0.
    f.bar.SetTrip(30000, {{0, 30000}});
    EXPECT_TRUE(f.bar.EventMarks().empty());
    EXPECT_EQ(f.bar.value(), 0);
    EXPECT_EQ(f.bar.maximum(), 30);
    EXPECT_TRUE(f.spy.isEmpty());
}

TEST(TripBar, SegmentsOfATripAreItsLeadingRecordings) {
    std::vector<TripRecording> recordings{{0, 0, 60000, false, true},
                                          {1, 1000, 60000, true, false},
                                          {2, 60000, 59500, false, true},
                                          {3, 121000, 60000, true, true}};
    const CTrip trip(0, 1717243200, recordings);
    const std::vector<TripBarSegment> segments = TripBarSegmentsOf(trip);
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[1].startMs, 60000);
    EXPECT_EQ(segments[1].lengthMs, 59500);
    EXPECT_EQ(segments[2].startMs, 121000);
}
