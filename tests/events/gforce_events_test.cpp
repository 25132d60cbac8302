// Event detection on real recordings: a layout-0 recording whose G-sensor block holds events
// planted just below and above each threshold, read back by the viewer's own loading.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "event_settings.h"
#include "fixture_writer.h"
#include "gforce_events.h"
#include "parser_factory.h"
#include "planted_events.h"
#include "recording_telemetry.h"
#include "settings.h"

namespace {
using planted::Series;

struct Expected {
    int firstSample;
    int lastSample;
    EventKind kind;
    double peakG;
};

// Writes `samples` as the G-sensor block of a real recording and reads it back as the window does.
struct LoadedRecording {
    MediaInfo info;
    RecordingTelemetry telemetry;
};
LoadedRecording WriteAndLoad(const std::string& name, TelemetryLayout layout, fixtures::Telemetry t) {
    const auto path = fixtures::ScratchDir("events-" + name) / "2024_06_01_120000_01.MP4";
    fixtures::WriteRecording(path, layout, t, {}, fixtures::SampleClip(160, 120, 3));
    LoadedRecording r;
    const auto parser = CreateVideoParser(path);
    parser->SetMediaInfo(&r.info);
    EXPECT_EQ(parser->Parse(path), 0);
    EXPECT_EQ(LoadRecordingTelemetry(path, r.info, r.telemetry), TelemetryLoad::kLoaded);
    return r;
}

LoadedRecording WriteLayout0(const std::string& name, const Series& series) {
    fixtures::Telemetry t;
    t.fixes.resize(3);
    for (auto& fix : t.fixes)
        fix = GpsFix{52.5, 13.4, 30, 40, 24, 6, 1, 12, 0, 0, 0, 1, {}};
    t.gsensor = series.Samples();
    t.gsensorAttr = {planted::kRate, planted::kFullScale, 0, 0};
    return WriteAndLoad(name, kLayoutBlocks, t);
}

std::vector<GForceEvent> Detect(const LoadedRecording& r, const EventThresholds& t = {}) {
    return DetectGForceEvents(r.telemetry.GSensor(), r.info.m_GsensorAttr[0], r.info.m_GsensorAttr[1], t);
}

void ExpectEvents(const std::vector<GForceEvent>& found, const std::vector<Expected>& expected) {
    ASSERT_EQ(found.size(), expected.size());
    const double period = 1000.0 / planted::kRate;
    for (size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE("event " + std::to_string(i));
        const Expected& e = expected[i];
        EXPECT_EQ(found[i].kind, e.kind);
        EXPECT_EQ(found[i].firstSample, size_t(e.firstSample));
        EXPECT_EQ(found[i].lastSample, size_t(e.lastSample));
        EXPECT_DOUBLE_EQ(found[i].timeMs, e.firstSample * period);
        EXPECT_DOUBLE_EQ(found[i].durationMs, (e.lastSample - e.firstSample) * period + period);
        EXPECT_DOUBLE_EQ(found[i].peakG, e.peakG);
    }
}

constexpr int kApart = 60;          // 3 s of rest: more than the merge gap between planted events
constexpr double kStep = 2.0 / 128; // G per step of a word at full scale 2
} // namespace

TEST(GForceEvents, PlantedThresholdsOnARecording) {
    Series s;
    std::vector<Expected> expected;
    s.Quiet(kApart);
    // Strength: a long run just below the harsh force, a short run just above it.
    s.Forward(planted::kJustBelowHarsh, 20).Quiet(kApart);
    int first = s.Next();
    s.Forward(planted::kJustAboveHarsh, 3).Quiet(kApart);
    expected.push_back({first, first + 2, EventKind::kHarsh, planted::kJustAboveHarsh * kStep});
    // Length at 50 ms a sample: two strong samples are 100 ms, three are the 150 ms a run needs.
    s.Forward(40, 2).Quiet(kApart);
    // Force of an impact: a ramp (no step reaches a jump) peaking just below and just above it.
    first = s.Next();
    s.Forward(40, 1).Forward(planted::kJustBelowImpact, 1).Forward(40, 1).Quiet(kApart);
    expected.push_back({first, first + 2, EventKind::kHarsh, planted::kJustBelowImpact * kStep});
    first = s.Next();
    s.Forward(40, 1).Forward(planted::kJustAboveImpact, 1).Forward(40, 1).Quiet(kApart);
    expected.push_back({first, first + 2, EventKind::kImpact, planted::kJustAboveImpact * kStep});
    // Jumps on z: 63 steps (0.984 G) there and back is nothing, 64 steps (1.00 G) is an impact at
    // the drop and another at the return, one event.
    s.Repeat({0, 0, 1}, 1).Quiet(kApart);
    first = s.Next();
    s.Repeat({0, 0, 0}, 1).Quiet(kApart);
    expected.push_back({first, first + 1, EventKind::kImpact, 0.0});
    // Two harsh runs 1,950 ms apart merge; 2,000 ms apart they stay two.
    first = s.Next();
    s.Forward(planted::kJustAboveHarsh, 3).Quiet(38).Forward(planted::kJustAboveHarsh, 3).Quiet(kApart);
    expected.push_back({first, first + 43, EventKind::kHarsh, planted::kJustAboveHarsh * kStep});
    first = s.Next();
    s.Forward(planted::kJustAboveHarsh, 3).Quiet(39).Forward(planted::kJustAboveHarsh, 3).Quiet(kApart);
    expected.push_back({first, first + 2, EventKind::kHarsh, planted::kJustAboveHarsh * kStep});
    expected.push_back({first + 42, first + 44, EventKind::kHarsh, planted::kJustAboveHarsh * kStep});
    // A harsh run with a braking peak 1 s later: merged, and the impact names the whole event.
    first = s.Next();
    s.Forward(planted::kJustAboveHarsh, 3)
        .Quiet(19)
        .Forward(-40, 1)
        .Forward(-80, 1)
        .Forward(-40, 1)
        .Quiet(kApart);
    expected.push_back({first, first + 24, EventKind::kImpact, 80 * kStep});
    ExpectEvents(Detect(WriteLayout0("thresholds", s)), expected);
}

TEST(GForceEvents, MissingReadingsTakeNoPart) {
    Series s;
    std::vector<Expected> expected;
    s.Quiet(kApart);
    // Three strong readings around a missing one make a 150 ms run: the gap breaks nothing, and
    // the missing reading (whose bytes would read as -2 G) is not its peak.
    int first = s.Next();
    s.Forward(planted::kJustAboveHarsh, 2).Repeat({planted::kMissing, 0, planted::kOneG}, 1);
    s.Forward(planted::kJustAboveHarsh, 1).Quiet(kApart);
    expected.push_back({first, first + 3, EventKind::kHarsh, planted::kJustAboveHarsh * kStep});
    // Missing readings alone are no impact, and the reading after one is compared with the reading
    // before it: 63 steps from the last real reading is nothing...
    s.Repeat({0, 0, -planted::kMissing}, 1).Quiet(kApart);
    s.Repeat({0, 0, planted::kMissing}, 1).Repeat({0, 0, 1}, 1).Quiet(kApart);
    // ...and 64 steps is a jump, though a missing reading lies between.
    s.Repeat({0, -planted::kMissing, planted::kOneG}, 1);
    first = s.Next();
    s.Repeat({0, 0, 0}, 1).Quiet(kApart);
    expected.push_back({first, first + 1, EventKind::kImpact, 0.0});
    // An event ends at its last real reading: a missing one right after the run is not in it.
    first = s.Next();
    s.Forward(planted::kJustAboveHarsh, 3).Repeat({planted::kMissing, 0, planted::kOneG}, 2).Quiet(kApart);
    expected.push_back({first, first + 2, EventKind::kHarsh, planted::kJustAboveHarsh * kStep});
    ExpectEvents(Detect(WriteLayout0("missing", s)), expected);
}

TEST(GForceEvents, FiveSamplesASecondOnAMetadataTrack) {
    // Layout 2 records five samples a second at full scale 8 (1/16 G a step): one sample lasts
    // 200 ms, so a single strong reading is a harsh run of its own.
    fixtures::Telemetry t = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 20));
    for (auto& g : t.gsensor)
        g = {0, 0, 16};
    t.gsensor[20] = {6, 0, 16}; // 0.375 G
    t.gsensor[40] = {0, 7, 16}; // 0.4375 G
    t.gsensor[60] = {5, 5, 16}; // 0.442 G: the horizontal force takes both axes
    const auto r = WriteAndLoad("layout2", kLayoutVideMeta, t);
    ASSERT_EQ(r.info.m_GsensorAttr[0], 5);
    const auto events = Detect(r);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_DOUBLE_EQ(events[0].timeMs, 8000);
    EXPECT_DOUBLE_EQ(events[0].durationMs, 200);
    EXPECT_DOUBLE_EQ(events[0].peakG, 0.4375);
    EXPECT_DOUBLE_EQ(events[1].timeMs, 12000);
    EXPECT_NEAR(events[1].peakG, std::sqrt(2.0) * 5 / 16, 1e-12);
}

TEST(GForceEvents, ThresholdsAndRatesThatChangeTheOutcome) {
    Series s;
    s.Quiet(10).Forward(planted::kJustBelowHarsh, 3).Quiet(10);
    const auto& samples = s.Samples();
    EXPECT_TRUE(DetectGForceEvents(samples, planted::kRate, planted::kFullScale).empty());
    EventThresholds lower;
    lower.harshG = 0.39;
    ASSERT_EQ(DetectGForceEvents(samples, planted::kRate, planted::kFullScale, lower).size(), 1u);
    lower.harshMinMs = 151;
    EXPECT_TRUE(DetectGForceEvents(samples, planted::kRate, planted::kFullScale, lower).empty());
    // Without a rate no sample has a time.
    EXPECT_TRUE(DetectGForceEvents(samples, 0, planted::kFullScale, lower).empty());
    EXPECT_STREQ(EventKindName(EventKind::kHarsh), "harsh");
    EXPECT_STREQ(EventKindName(EventKind::kImpact), "impact");
}

TEST(EventSettings, ReadFromTheEventsSection) {
    const auto dir = fixtures::ScratchDir("events-settings");
    CAppSettings settings;
    settings.m_strIniPath = dir / "Veltrix.ini";
    // No file: the defaults.
    EventThresholds t = ReadEventThresholds(settings);
    EXPECT_DOUBLE_EQ(t.harshG, 0.40);
    EXPECT_DOUBLE_EQ(t.impactG, 1.20);
    EXPECT_DOUBLE_EQ(t.jumpG, 1.00);
    EXPECT_EQ(t.harshMinMs, 150);
    EXPECT_EQ(t.mergeGapMs, 2000);
    std::ofstream(settings.m_strIniPath) << "[UI]\nMAP=1\n[events]\nharsh_g=0.55\nIMPACT_G=1,5\nJUMP_G=-1\n"
                                            "HARSH_MIN_MS=100\nMERGE_GAP_MS=0\n";
    t = ReadEventThresholds(settings);
    EXPECT_DOUBLE_EQ(t.harshG, 0.55);
    EXPECT_DOUBLE_EQ(t.impactG, 1.20); // a comma is no decimal point here
    EXPECT_DOUBLE_EQ(t.jumpG, 1.00);
    EXPECT_EQ(t.harshMinMs, 100);
    EXPECT_EQ(t.mergeGapMs, 0);
}
