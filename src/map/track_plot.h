// Track plotting during playback: the telemetry of the current recording, and the three
// operations that keep the map and the telemetry widgets in step with the video. They compute
// what changes; the main window applies the results to its widgets (ApplyToMap does the map).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include <QStringList>

#include "recording_entry.h"
#include "recording_telemetry.h"
#include "track_rules.h"

class CMapWindow;

// Arguments of CMapWindow::MovePos.
struct MovePosArgs {
    double latitude;
    int layout;
    double longitude;
};

// The G-sensor series of a newly loaded recording, as the curve's SetUpSeries takes it (full
// scale and rate from the attributes, the rate from count / duration when byte 0 is 0).
struct CurveSetup {
    std::vector<GSensorSample> samples;
    std::array<uint8_t, 4> gsensorAttr{};
    uint32_t durationMs = 0;
};

struct LoadTrackResult {
    int result = 0;                      // LoadTrack's return value
    QStringList scripts;                 // page scripts in order: both lines emptied, the whole track
    std::optional<MovePosArgs> movePos;  // after the scripts: the marker to the first fix
    bool clearCurve = false;             // empty the curve (no samples, position 0, repaint)
    std::optional<CurveSetup> curve;     // then set it up
    std::optional<size_t> vehicleSample; // show this sample in the vehicle gauges
};

// Speed label and compass after an update.
enum class FixDisplay {
    kUnchanged,
    kBlank, // compass m_nImage = 0; speed label m_bValid = 0, m_nSpeed = 0; UpdateTexts; repaint
    kShow,  // compass SetHeading(headingDegrees); label m_bValid = 1, m_nSpeed = speed; UpdateTexts
};

struct UpdateResult {
    int result = 0;                     // UpdateAtTime's return value: the GPS indicator's m_bColor
    QStringList scripts;                // page scripts in order
    std::optional<MovePosArgs> movePos; // after the scripts
    // G-sensor curve: m_bStopped = 0, SetPlayPosition(*curvePosition); then the look-down gauge
    // gets LookDownValues(lookDownAxisH, lookDownAxisV, GetCurrentValues()) and is repainted.
    std::optional<int32_t> curvePosition;
    int16_t lookDownAxisH = 0;
    int16_t lookDownAxisV = 0;
    std::optional<size_t> vehicleSample; // show this sample of VehicleSamples() in the gauges
    FixDisplay fixDisplay = FixDisplay::kUnchanged;
    int headingDegrees = 0; // kShow: the fix's heading byte * 2
    uint16_t speed = 0;     // kShow: km/h
};

struct DrivenPathResult {
    int result = 0;      // RebuildDrivenPath's return value
    QStringList scripts; // pathdrived_delete(), then the driven part up to the time
};

// The values of UpdateAtTime that outlive a recording (process-wide, never reset by LoadTrack).
struct UpdateAtTimeStatics {
    double s_dLastIndex = 0;
    double s_dLastTime = 0;
    int32_t s_nLastIndex = 0;
    double s_dLastLat = 0;
    double s_dLastLon = 0;
};
// The process's one set.
UpdateAtTimeStatics& ProcessUpdateAtTimeStatics();

// The two look-down gauge values (first, second) for the curve's current x, y, z.
struct LookDownPair {
    double first;
    double second;
};
LookDownPair LookDownValues(int16_t axisH, int16_t axisV, double x, double y, double z);

// Runs `scripts` in the page, then MovePos; nothing without a map window. A whole track sent this
// way reaches the page in one burst (the map browser joins the calls of one event-loop turn).
void ApplyToMap(CMapWindow* map, const QStringList& scripts, const std::optional<MovePosArgs>& movePos);

class CTrackPlot {
  public:
    // Makes entry `i` of `catalog` the current recording: reads its telemetry (once) and says
    // what the map, the curve and the gauges get.
    LoadTrackResult LoadTrack(int i, const std::vector<RecordingEntry>& catalog);
    // The part of LoadTrack after the file was read: `load` and `telemetry` are what
    // LoadRecordingTelemetry gave for `catalog[i]`, whose MediaInfo is `info`.
    LoadTrackResult TakeTrack(int i, const std::vector<RecordingEntry>& catalog, const MediaInfo& info,
                              TelemetryLoad load, RecordingTelemetry telemetry);

    // The record of playback time `t` (ms). `gsensorShown`: the curve switch; `mapShown`: the map
    // switch, false as well when there is no map window.
    UpdateResult UpdateAtTime(int64_t t, bool gsensorShown, bool mapShown,
                              const std::vector<RecordingEntry>& catalog);
    UpdateResult UpdateAtTime(int64_t t, bool gsensorShown, bool mapShown,
                              const std::vector<RecordingEntry>& catalog, UpdateAtTimeStatics& statics);

    // After a seek: the driven part of the track from its start up to time `t` (ms).
    DrivenPathResult RebuildDrivenPath(uint32_t t, const std::vector<RecordingEntry>& catalog);

    // The telemetry of the current recording: only when 0 <= m_nCurrent < catalog size and the
    // loaded telemetry is that entry's; null otherwise.
    const RecordingTelemetry* CurrentTelemetry(const std::vector<RecordingEntry>& catalog) const;
    const std::vector<VehicleSample>& VehicleSamples() const { return m_telemetry.vehicles; }

    int GetCurrent() const { return m_nCurrent; }
    double GetGpsRate() const { return m_dGpsRate; }
    uint32_t GetGsensorCount() const { return m_nGsensorCount; }
    int16_t GetLookDownAxisH() const { return m_nLookDownAxisH; }
    int16_t GetLookDownAxisV() const { return m_nLookDownAxisV; }

  private:
    // Which file the loaded telemetry came from, to tell it from another entry at the same index.
    struct LoadedKey {
        std::string path;
        int64_t startTime = 0;
        uint64_t fileSize = 0;
        bool operator==(const LoadedKey&) const = default;
    };
    static LoadedKey KeyOf(const RecordingEntry& entry);

    void TakeBlocks(const MediaInfo& info, LoadTrackResult& out);
    void TakeRecords(const MediaInfo& info, LoadTrackResult& out);
    QStringList WholeTrackScripts() const;

    int m_nCurrent = -1;
    RecordingTelemetry m_telemetry; // m_track, m_gsensor, m_vehicle, m_rawGps, m_rawGsensor
    MediaInfo m_info;               // of the loaded recording (its rates and attributes)
    std::optional<LoadedKey> m_loaded;
    uint32_t m_nGsensorCount = 0;
    double m_dGpsRate = 1.0;
    bool m_bBusy = false;
    bool m_bLoading = false;
    int16_t m_nLookDownAxisH = kLookDownX;
    int16_t m_nLookDownAxisV = kLookDownZ;
};

// Full path of a catalog entry: folder, subfolder and name.
std::filesystem::path RecordingPath(const RecordingEntry& entry);
