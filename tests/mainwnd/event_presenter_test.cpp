// The events part: a recording with planted events, loaded as the window loads it, set up on the
// curve; its events marked on the slider, the curve and the trip bar, listed, and stepped to.
#include "shell_test_support.h"

#include <QListWidget>
#include <QTest>

#include <vector>

#include "../events/planted_events.h"
#include "event_items.h"
#include "event_list.h"
#include "event_presenter.h"
#include "fixture_writer.h"
#include "gsensor_ctrl.h"
#include "parser_factory.h"
#include "recording_telemetry.h"
#include "trip_bar.h"
#include "video_slider.h"

namespace {

using planted::Series;

// 15.25 s at 20 samples a second: a harsh run of 200 ms at 5 s and an impact at 10.2 s.
Series PlantedSeries() {
    Series s;
    s.Quiet(100).Forward(planted::kJustAboveHarsh, 4).Quiet(100);
    s.Forward(planted::kJustAboveImpact, 1).Quiet(100);
    return s;
}

struct Loaded {
    MediaInfo info;
    RecordingTelemetry telemetry;
};

// Written by the fixture writer and read back by the window's own readers.
bool WriteAndLoad(const std::filesystem::path& dir, Loaded& r) {
    fixtures::Telemetry t;
    t.fixes.resize(3);
    for (auto& fix : t.fixes)
        fix = GpsFix{52.5, 13.4, 30, 40, 24, 6, 1, 12, 0, 0, 0, 1, {}};
    t.gsensor = PlantedSeries().Samples();
    t.gsensorAttr = {planted::kRate, planted::kFullScale, 0, 0};
    const auto path = dir / "2024_06_01_120000_01.MP4";
    fixtures::WriteRecording(path, kLayoutBlocks, t, {}, fixtures::SampleClip(160, 120, 3));
    const auto parser = CreateVideoParser(path);
    parser->SetMediaInfo(&r.info);
    return parser->Parse(path) == 0 &&
           LoadRecordingTelemetry(path, r.info, r.telemetry) == TelemetryLoad::kLoaded;
}

constexpr uint32_t kLengthMs = 15250;

// The widgets as the window has them, and the presenter between them.
struct Parts {
    QWidget host;
    CGSensorCtrl* curve = new CGSensorCtrl(&host);
    CVideoSlider* slider = new CVideoSlider(&host);
    QListWidget* list = new CEventList(&host);
    CTripBar* tripBar = new CTripBar(&host);
    int entry = 4;
    CEventPresenter presenter{curve, slider, list, EventThresholds{}, [this] { return entry; }};
    std::vector<std::pair<int, int64_t>> seeks;

    Parts() {
        host.resize(1000, 400);
        slider->setGeometry(0, 0, 1000, 20);
        curve->setGeometry(0, 30, 1000, 120);
        list->setGeometry(0, 160, 300, 200);
        tripBar->setGeometry(0, 370, 1000, 18);
        slider->SetDurationMs(kLengthMs);
        presenter.SetTripBar(tripBar);
        QObject::connect(&presenter, &CEventPresenter::seekRequested,
                         [this](int e, int64_t ms) { seeks.push_back({e, ms}); });
        host.show();
        CHILD_CHECK(QTest::qWaitForWindowExposed(&host));
    }
    void SetUp(const Loaded& r) {
        curve->SetUpSeries(r.telemetry.GSensor(), r.info.m_GsensorAttr, kLengthMs);
    }
};

class EventPresenterTest : public testing::Test {
  protected:
    void SetUp() override { folder.Write(folder.ini(), "[UI]\r\n"); }
    ShellTestFolder folder;
};

void StartChild(const ShellTestFolder& folder) {
    EnterChild(folder.path(), folder.OffscreenPlatform(1280, 800));
    ChildApplication();
}

} // namespace

TEST(EventItems, LinesStepsAndTripPlaces) {
    EXPECT_EQ(EventListLine(41'000, "harsh", 0.5237), "00:41, harsh, 0.52 G");
    EXPECT_EQ(EventListLine(3'725'400, "impact", 1.2), "62:05, impact, 1.20 G");
    EXPECT_NE(EventKindColour(EventKind::kHarsh), EventKindColour(EventKind::kImpact));

    GForceEvent a{EventKind::kHarsh, 5000, 200, 0.41, 100, 103};
    GForceEvent b{EventKind::kImpact, 1000, 100, 1.3, 20, 21};
    const std::vector<EventItem> items = PlaceEvents({{7, 60'000, {a}}, {3, 0, {b}}, {9, 120'000, {}}});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].entryIndex, 3);
    EXPECT_EQ(items[0].lineMs, 1000);
    EXPECT_EQ(items[1].entryIndex, 7);
    EXPECT_EQ(items[1].recordingMs, 5000);
    EXPECT_EQ(items[1].lineMs, 65'000);

    // At an event (within the tolerance) the steps move on to its neighbours.
    EXPECT_EQ(NextEventIndex(items, 0), 0u);
    EXPECT_EQ(NextEventIndex(items, 1000 - kEventStepToleranceMs + 1), 1u);
    EXPECT_EQ(NextEventIndex(items, 65'000), std::nullopt);
    EXPECT_EQ(PreviousEventIndex(items, 65'000 + kEventStepToleranceMs - 1), 0u);
    EXPECT_EQ(PreviousEventIndex(items, 65'000 + kEventStepToleranceMs + 1), 1u);
    EXPECT_EQ(PreviousEventIndex(items, 1000), std::nullopt);
}

static void MarksChild(const ShellTestFolder& folder, const std::filesystem::path& dir) {
    StartChild(folder);
    Loaded r;
    CHILD_CHECK(WriteAndLoad(dir, r));
    Parts p;
    // Before any series the list says in words, to the ear and to the eye, that it has no events.
    auto inkedPixels = [&p] {
        const QImage shot = p.list->viewport()->grab().toImage();
        const QColor base = p.list->palette().color(QPalette::Base);
        int inked = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                inked += shot.pixelColor(x, y) != base;
        return inked;
    };
    CHILD_CHECK(p.list->count() == 0 && p.list->accessibleDescription() == "No G-force events");
    CHILD_CHECK(inkedPixels() > 50);
    p.SetUp(r);
    CHILD_CHECK(p.list->accessibleDescription().isEmpty());

    const auto& marks = p.slider->TimeMarks();
    CHILD_CHECK(marks.size() == 2);
    CHILD_CHECK(marks[0].ms == 5000 && marks[0].colour == EventKindColour(EventKind::kHarsh));
    CHILD_CHECK(marks[1].ms == 10'200 && marks[1].colour == EventKindColour(EventKind::kImpact));
    // On the slider where the thumb stands at that moment.
    p.slider->SetCurrentMs(10'200);
    const int thumbOrigin = p.slider->XOfMs(0);
    const int thumbEnd = p.slider->XOfMs(kLengthMs);
    const int x = p.slider->XOfMs(10'200);
    CHILD_CHECK(thumbOrigin < x && x < thumbEnd);
    CHILD_CHECK(std::abs(x - (thumbOrigin + (thumbEnd - thumbOrigin) * 10'200 / int(kLengthMs))) <= 2);
    const QImage shot = p.slider->grab().toImage();
    CHILD_CHECK(shot.pixelColor(x, p.slider->ChannelRect().bottom() - 1) ==
                EventKindColour(EventKind::kImpact));

    // On the curve over exactly the planted samples.
    const auto& spans = p.curve->SpanMarks();
    CHILD_CHECK(spans.size() == 2);
    CHILD_CHECK(spans[0].firstSample == 100 && spans[0].lastSample == 103);
    CHILD_CHECK(spans[1].firstSample == 204);
    CHILD_CHECK(p.curve->XOfSample(100) < p.curve->XOfSample(204));

    CHILD_CHECK(p.list->accessibleName() == "Events");
    CHILD_CHECK(p.list->count() == 2);
    CHILD_CHECK(p.list->item(0)->text() == "00:05, harsh, 0.41 G");
    CHILD_CHECK(p.list->item(1)->text() == "00:10, impact, 1.20 G");
    // A recording shows no trip marks.
    CHILD_CHECK(p.tripBar->EventMarks().empty());

    // A recording without telemetry leaves nothing of the previous one's.
    p.curve->ClearSamples();
    CHILD_CHECK(p.slider->TimeMarks().empty() && p.curve->SpanMarks().empty() && p.list->count() == 0);
    CHILD_CHECK(p.list->accessibleDescription() == "No G-force events");
    std::_Exit(0);
}

TEST_F(EventPresenterTest, PlantedEventsAreMarkedOnSliderAndCurveAndListed) {
    EXPECT_EXIT(MarksChild(folder, fixtures::ScratchDir("event-presenter-marks")), testing::ExitedWithCode(0), "");
}

static void SeeksChild(const ShellTestFolder& folder, const std::filesystem::path& dir) {
    StartChild(folder);
    Loaded r;
    CHILD_CHECK(WriteAndLoad(dir, r));
    Parts p;
    p.SetUp(r);

    // Enter on the second line, a double click on the first.
    p.list->setFocus();
    p.list->setCurrentRow(1);
    QTest::keyClick(p.list, Qt::Key_Return);
    CHILD_CHECK(p.seeks.size() == 1 && p.seeks[0] == std::make_pair(4, int64_t(10'200)));
    const QRect first = p.list->visualItemRect(p.list->item(0));
    // The press of a double click's second click comes before its double-click event.
    QTest::mouseClick(p.list->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mousePress(p.list->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(p.list->viewport(), Qt::LeftButton, {}, first.center());
    CHILD_CHECK(p.seeks.size() == 2 && p.seeks[1].second == 5000);

    // Next and previous from where the slider stands.
    p.seeks.clear();
    p.slider->SetCurrentMs(1000);
    p.presenter.GoToNext();
    p.slider->SetCurrentMs(5000 + 100); // a seek ends near, not at, the asked moment
    p.presenter.GoToNext();
    p.slider->SetCurrentMs(10'200);
    p.presenter.GoToNext(); // none after the last
    p.presenter.GoToPrevious();
    p.slider->SetCurrentMs(4900);
    p.presenter.GoToPrevious(); // none before the first
    CHILD_CHECK(p.seeks.size() == 3);
    CHILD_CHECK(p.seeks[0].second == 5000 && p.seeks[1].second == 10'200 && p.seeks[2].second == 5000);
    CHILD_CHECK(p.list->currentRow() == 0);
    std::_Exit(0);
}

TEST_F(EventPresenterTest, ActivatedLinesAndEventStepsAskForSeeks) {
    EXPECT_EXIT(SeeksChild(folder, fixtures::ScratchDir("event-presenter-seeks")), testing::ExitedWithCode(0), "");
}

static void TripChild(const ShellTestFolder& folder, const std::filesystem::path& dir) {
    StartChild(folder);
    Loaded r;
    CHILD_CHECK(WriteAndLoad(dir, r));
    Parts p;
    p.tripBar->SetTrip(3 * 60'000, {{0, 60'000}, {60'000, 60'000}, {120'000, 60'000}});
    p.SetUp(r); // entry 4, the trip's second recording
    const std::vector<GForceEvent> own = p.presenter.RecordingEventsShown();
    const GForceEvent third{EventKind::kHarsh, 2000, 150, 0.5, 40, 42};
    p.presenter.ShowTrip({{3, 0, {}}, {4, 60'000, {}}, {5, 120'000, {third}}});

    // The open recording's part comes from its own series.
    CHILD_CHECK(p.list->count() == 3);
    CHILD_CHECK(p.list->item(0)->text() == "01:05, harsh, 0.41 G");
    CHILD_CHECK(p.list->item(2)->text() == "02:02, harsh, 0.50 G");
    const auto& marks = p.tripBar->EventMarks();
    CHILD_CHECK(marks.size() == 3 && marks[0].tripMs == 65'000 && marks[1].tripMs == 70'200 &&
                marks[2].tripMs == 122'000);
    CHILD_CHECK(marks[1].colour == EventKindColour(EventKind::kImpact));
    // The slider keeps the recording's own.
    CHILD_CHECK(p.slider->TimeMarks().size() == own.size());

    // Next from 70.2 s into the trip crosses into the next recording.
    p.slider->SetCurrentMs(10'200);
    p.presenter.GoToNext();
    CHILD_CHECK(p.seeks.size() == 1 && p.seeks[0] == std::make_pair(5, int64_t(2000)));
    p.presenter.GoToPrevious();
    CHILD_CHECK(p.seeks.size() == 2 && p.seeks[1] == std::make_pair(4, int64_t(5000)));

    p.presenter.ShowRecording();
    CHILD_CHECK(p.list->count() == 2 && p.tripBar->EventMarks().empty());
    std::_Exit(0);
}

TEST_F(EventPresenterTest, TripEventsAreOffsetByTheirRecordingsPlaces) {
    EXPECT_EXIT(TripChild(folder, fixtures::ScratchDir("event-presenter-trip")), testing::ExitedWithCode(0), "");
}
