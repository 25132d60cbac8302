#include "track_plot.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "map_window.h"
#include "map_scripts.h"

namespace {

// The curve takes the low byte of each word as a signed 8-bit reading.
GSensorSample LowBytesWidened(const GSensorSample& s) {
    const auto widen = [](int16_t word) {
        return static_cast<int16_t>(static_cast<int8_t>(static_cast<uint16_t>(word) & 0xFF));
    };
    return {widen(s.x), widen(s.y), widen(s.z)};
}

CurveSetup MakeCurveSetup(std::vector<GSensorSample> samples, const MediaInfo& info) {
    CurveSetup setup;
    setup.samples = std::move(samples);
    std::copy(std::begin(info.m_GsensorAttr), std::end(info.m_GsensorAttr), setup.gsensorAttr.begin());
    setup.durationMs = info.m_uDurationMs;
    return setup;
}

bool ChunkListCondition(const MediaInfo& info) {
    switch (info.m_uLayout) {
    case kLayoutJtdMeta:
        return !info.m_Chunks1.empty();
    case kLayoutVideMeta:
        return !info.m_Chunks2.empty();
    case kLayoutGpsBox:
        return !info.m_Chunks4.empty();
    default:
        return true;
    }
}

// The fix's position as MovePos takes it (layout 0: NMEA / 100); empty when unusable.
std::optional<LatLon> MarkerPosition(const GpsFix& fix, TelemetryLayout layout) {
    double lat = fix.latitude;
    double lon = fix.longitude;
    if (layout == kLayoutBlocks) {
        lat /= 100.0;
        lon /= 100.0;
        if (lat >= 200.0 || lon >= 200.0) return std::nullopt;
    }
    if (!std::isfinite(lat) || !std::isfinite(lon)) return std::nullopt;
    return LatLon{lat, lon};
}

} // namespace

UpdateAtTimeStatics& ProcessUpdateAtTimeStatics() {
    static UpdateAtTimeStatics statics;
    return statics;
}

LookDownPair LookDownValues(int16_t axisH, int16_t axisV, double x, double y, double z) {
    return {LookDownValue(axisH, x, y, z, x), LookDownValue(axisV, x, y, z, y)};
}

void ApplyToMap(CMapWindow* map, const QStringList& scripts, const std::optional<MovePosArgs>& movePos) {
    if (!map) return;
    for (const QString& script : scripts)
        map->RunScript(script);
    if (movePos) map->MovePos(movePos->latitude, movePos->layout, movePos->longitude);
}

std::filesystem::path RecordingPath(const RecordingEntry& entry) {
    std::string path = entry.m_strFolder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + entry.m_strSubfolder + entry.m_strFileName;
}

CTrackPlot::LoadedKey CTrackPlot::KeyOf(const RecordingEntry& entry) {
    return {RecordingPath(entry).native(), entry.m_MediaInfo.m_llStartTime, entry.m_MediaInfo.m_ullFileSize};
}

LoadTrackResult CTrackPlot::LoadTrack(int i, const std::vector<RecordingEntry>& catalog) {
    if (i < 0 || static_cast<size_t>(i) >= catalog.size()) return {};
    const RecordingEntry& entry = catalog[static_cast<size_t>(i)];
    if (!HasTelemetryLayout(entry.m_MediaInfo.m_uLayout)) return {};
    MediaInfo info = entry.m_MediaInfo; // a transport stream's chunk list is collected into the copy
    RecordingTelemetry telemetry;
    m_bLoading = true;
    const TelemetryLoad load = LoadRecordingTelemetry(RecordingPath(entry), info, telemetry);
    m_bLoading = false;
    return TakeTrack(i, catalog, info, load, std::move(telemetry));
}

LoadTrackResult CTrackPlot::TakeTrack(int i, const std::vector<RecordingEntry>& catalog,
                                      const MediaInfo& info, TelemetryLoad load,
                                      RecordingTelemetry telemetry) {
    LoadTrackResult out;
    if (i < 0 || static_cast<size_t>(i) >= catalog.size() || !HasTelemetryLayout(info.m_uLayout) ||
        load == TelemetryLoad::kNoTelemetry)
        return out;
    out.scripts << kPathDrivedDeleteScript << kPathDeleteScript;
    // Nothing of the previous recording survives, whatever this one gives.
    m_nCurrent = i;
    m_info = info;
    m_telemetry = std::move(telemetry);
    m_telemetry.layout = info.m_uLayout;
    m_nGsensorCount = 0;
    m_loaded.reset();
    out.clearCurve = true;
    if (load == TelemetryLoad::kOpenFailed) {
        m_telemetry = RecordingTelemetry{};
        m_telemetry.layout = info.m_uLayout;
        out.result = info.m_uLayout == kLayoutBlocks ? 0 : 1;
        return out;
    }
    m_loaded = KeyOf(catalog[static_cast<size_t>(i)]);
    if (info.m_uLayout == kLayoutBlocks)
        TakeBlocks(info, out);
    else
        TakeRecords(info, out);
    out.result = 1;
    return out;
}

void CTrackPlot::TakeBlocks(const MediaInfo& info, LoadTrackResult& out) {
    const auto& gsensor = m_telemetry.rawGsensor;
    m_nGsensorCount = static_cast<uint32_t>(gsensor.size() * sizeof(GSensorSample));
    if (!gsensor.empty()) out.curve = MakeCurveSetup(gsensor, info);
    if (m_telemetry.rawGps.empty()) return;
    m_dGpsRate = GpsRateOf(info);
    out.scripts += WholeTrackScripts();
}

void CTrackPlot::TakeRecords(const MediaInfo& info, LoadTrackResult& out) {
    const auto& gsensor = m_telemetry.gsensor;
    m_nGsensorCount = static_cast<uint32_t>(gsensor.size());
    if (!gsensor.empty()) {
        std::vector<GSensorSample> samples;
        samples.reserve(gsensor.size());
        for (const GSensorSample& s : gsensor)
            samples.push_back(LowBytesWidened(s));
        out.curve = MakeCurveSetup(std::move(samples), info);
    }
    const auto& track = m_telemetry.track;
    if (ChunkListCondition(info) && !track.empty()) {
        m_dGpsRate = GpsRateOf(info);
        out.scripts += WholeTrackScripts();
        const GpsFix& first = track.front();
        if (std::isfinite(first.latitude) && std::isfinite(first.longitude))
            out.movePos = MovePosArgs{first.latitude, static_cast<int>(info.m_uLayout), first.longitude};
    }
    if (info.m_uLayout == kLayoutVideMeta) {
        m_nLookDownAxisH = kLookDownX;
        m_nLookDownAxisV = kLookDownZ;
    }
    if (!m_telemetry.vehicles.empty()) out.vehicleSample = 0;
}

QStringList CTrackPlot::WholeTrackScripts() const {
    QStringList scripts;
    const TelemetryLayout layout = m_telemetry.layout;
    RepeatFilter repeats;
    for (const GpsFix& fix : m_telemetry.Fixes()) {
        const auto point = PlottedPosition(fix, layout);
        if (!point || (layout != kLayoutBlocks && !repeats.Pass(*point))) continue;
        scripts << PathPlotScript(point->latitude, point->longitude);
    }
    return scripts;
}

const RecordingTelemetry* CTrackPlot::CurrentTelemetry(const std::vector<RecordingEntry>& catalog) const {
    if (m_nCurrent < 0 || static_cast<size_t>(m_nCurrent) >= catalog.size() || !m_loaded) return nullptr;
    if (!(KeyOf(catalog[static_cast<size_t>(m_nCurrent)]) == *m_loaded)) return nullptr;
    return &m_telemetry;
}

UpdateResult CTrackPlot::UpdateAtTime(int64_t t, bool gsensorShown, bool mapShown,
                                      const std::vector<RecordingEntry>& catalog) {
    return UpdateAtTime(t, gsensorShown, mapShown, catalog, ProcessUpdateAtTimeStatics());
}

UpdateResult CTrackPlot::UpdateAtTime(int64_t t, bool gsensorShown, bool mapShown,
                                      const std::vector<RecordingEntry>& catalog, UpdateAtTimeStatics& s) {
    UpdateResult out;
    if (t < 0) t = 0; // a time before the start shows the start
    if (m_bBusy || m_bLoading) {
        out.scripts << kPathDrivedDeleteScript << kPathDeleteScript;
        s.s_dLastIndex = 0;
        out.result = 1;
        return out;
    }
    const RecordingTelemetry* current = CurrentTelemetry(catalog);
    const std::vector<GpsFix> none;
    const std::vector<GpsFix>& fixes = current ? current->Fixes() : none;
    const TelemetryLayout layout = m_telemetry.layout;

    if (gsensorShown && m_nGsensorCount != 0) {
        out.curvePosition = static_cast<int32_t>(std::min<int64_t>(t, std::numeric_limits<int32_t>::max()));
        out.lookDownAxisH = m_nLookDownAxisH;
        out.lookDownAxisV = m_nLookDownAxisV;
    }
    if (current && layout != kLayoutBlocks && !current->vehicles.empty())
        out.vehicleSample = VehicleSampleIndex(t, m_info.m_uVehicleRate, current->vehicles.size());
    if (fixes.empty()) {
        out.fixDisplay = FixDisplay::kBlank;
        return out;
    }

    const uint64_t e = FixIndexForTime(t, m_dGpsRate);
    const double index = static_cast<double>(e);
    const double time = static_cast<double>(t);
    // Back by a whole fix, forwards by more than 3 s, or the start of a file: the driven line
    // starts again (after a seek RebuildDrivenPath redraws it).
    if (s.s_dLastIndex > index || t == 0 || time - s.s_dLastTime > 3000.0) {
        out.scripts << kPathDrivedDeleteScript;
        s.s_dLastIndex = 0;
        s.s_dLastTime = time;
        out.result = 1;
        return out;
    }
    s.s_dLastIndex = index;
    s.s_dLastTime = time;
    if (e >= fixes.size()) return out;

    const GpsFix& fix = fixes[static_cast<size_t>(e)];
    GpsFix position = fix;
    if (!fix.IsValid()) {
        out.fixDisplay = FixDisplay::kBlank;
        out.result = 1;
        if (layout != kLayoutBlocks) return out;
        position.latitude = position.longitude = 0.0; // layout 0 goes on with (0, 0)
    }
    if (e != 0 && static_cast<int32_t>(e) == s.s_nLastIndex) {
        out.result = 1;
        return out;
    }
    s.s_nLastIndex = static_cast<int32_t>(e);
    if (fix.IsValid()) {
        out.fixDisplay = FixDisplay::kShow;
        out.headingDegrees = fix.heading * 2;
        out.speed = fix.speed;
    }
    if (mapShown) {
        const auto marker = MarkerPosition(position, layout);
        if (!marker) return out;
        if (marker->latitude == s.s_dLastLat || marker->longitude == s.s_dLastLon) {
            out.result = 1;
            return out;
        }
        // MovePos ignores (0, 0); the values still become the last ones given.
        if (marker->latitude != 0.0 || marker->longitude != 0.0)
            out.movePos = MovePosArgs{marker->latitude, static_cast<int>(layout), marker->longitude};
        s.s_dLastLat = marker->latitude;
        s.s_dLastLon = marker->longitude;
    }
    out.result = 1;
    return out;
}

DrivenPathResult CTrackPlot::RebuildDrivenPath(uint32_t t, const std::vector<RecordingEntry>& catalog) {
    DrivenPathResult out;
    if (m_dGpsRate == 0) m_dGpsRate = 1.0;
    if (catalog.empty()) return out;
    m_bBusy = true;
    const uint64_t g = FixIndexForTime(t, m_dGpsRate);
    out.scripts << kPathDrivedDeleteScript;
    if (const RecordingTelemetry* current = CurrentTelemetry(catalog)) {
        const TelemetryLayout layout = current->layout;
        const std::vector<GpsFix>& fixes = current->Fixes();
        RepeatFilter repeats;
        for (size_t i = 0; i < g && i < fixes.size(); ++i) {
            const auto point = PlottedPosition(fixes[i], layout);
            if (!point || (layout != kLayoutBlocks && !repeats.Pass(*point))) continue;
            out.scripts << PathDrivedPlotScript(point->latitude, point->longitude);
        }
    }
    m_bBusy = false;
    out.result = 1;
    return out;
}
