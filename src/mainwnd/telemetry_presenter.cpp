#include "telemetry_presenter.h"

#include "control_ids.h"
#include "gsensor_ctrl.h"
#include "language.h"
#include "map_scripts.h"
#include "png_compass_static.h"
#include "png_static.h"
#include "property_controls.h"
#include "recording_catalog.h"
#include "speed_label_static.h"
#include "string_tables.h"
#include "telemetry_cache.h"
#include "telemetry_loader.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include <cstring>

namespace {

QString TimeoutMessage(const std::filesystem::path& path) {
    QString text = QString::fromStdString(LoadLangString(IDS_TELEMETRY_NOT_ANSWERING));
    return text.replace(QStringLiteral("%s"), QFile::decodeName(path.filename().native().c_str()));
}

} // namespace

CTelemetryPresenter::CTelemetryPresenter(const CRecordingCatalog& catalog, Views views, QObject* parent)
    : QObject(parent), m_catalog(catalog), m_views(std::move(views)),
      m_cache(std::make_shared<CTelemetryCache>()) {
    m_loader = std::make_unique<CTelemetryLoader>(
        m_cache, [this](uint64_t generation, std::shared_ptr<const LoadedTelemetry> loaded) {
            Deliver(generation, std::move(loaded));
        });
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kLoadTimeoutMs);
    connect(&m_timeout, &QTimer::timeout, this, &CTelemetryPresenter::OnLoadTimeout);
}

CTelemetryPresenter::~CTelemetryPresenter() = default;

template <class T> T* CTelemetryPresenter::Child(int id) const {
    return m_views.child ? dynamic_cast<T*>(m_views.child(id)) : nullptr;
}

void CTelemetryPresenter::SetLoadFunction(
    std::function<std::shared_ptr<const LoadedTelemetry>(const std::filesystem::path&)> load) {
    if (!load) {
        m_loader->SetLoadFunction(nullptr);
        return;
    }
    m_loader->SetLoadFunction([load = std::move(load)](const std::filesystem::path& path, MediaInfo) {
        return load(path);
    });
}

bool CTelemetryPresenter::Loading() const {
    return m_loader->Pending();
}

void CTelemetryPresenter::Open(int index) {
    m_loader->Cancel();
    m_timeout.stop();
    m_llLastTimeMs = -1;
    const std::vector<RecordingEntry>& entries = m_catalog.Entries();
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) {
        m_nIndex = -1;
        m_path.clear();
        ClearShown();
        return;
    }
    const RecordingEntry& entry = entries[static_cast<size_t>(index)];
    m_nIndex = index;
    m_path = m_catalog.EntryPath(static_cast<size_t>(index));
    // The previous recording's track and curve must not stay beside the new video while it loads.
    ClearShown();
    if (!HasTelemetryLayout(entry.m_MediaInfo.m_uLayout)) return;
    ++m_nLoadsStarted;
    m_nGeneration = m_loader->Start(m_path, entry.m_MediaInfo);
    m_timeout.start();
}

void CTelemetryPresenter::Deliver(uint64_t generation, std::shared_ptr<const LoadedTelemetry> loaded) {
    if (generation != m_nGeneration || !loaded) return;
    m_timeout.stop();
    const std::vector<RecordingEntry>& entries = m_catalog.Entries();
    // The catalog may have been rebuilt while the worker read: the entry must still be that file.
    if (m_nIndex < 0 || static_cast<size_t>(m_nIndex) >= entries.size() ||
        m_catalog.EntryPath(static_cast<size_t>(m_nIndex)) != m_path)
        return;
    Show(m_nIndex, *loaded);
}

// A load still running may be a large file on a slow card or a card that stopped answering: one
// byte of the file is read on a thread of its own, and only when that read does not come back in
// time is the load given up.
void CTelemetryPresenter::OnLoadTimeout() {
    if (!m_loader->Pending()) return;
    auto answered = std::make_shared<std::atomic<bool>>(false);
    std::thread([path = m_path, answered] {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        char byte = 0;
        if (fd >= 0 && ::pread(fd, &byte, 1, 0) >= 0) *answered = true;
        if (fd >= 0) ::close(fd);
    }).detach();
    const uint64_t generation = m_nGeneration;
    QTimer::singleShot(kCardAnswerMs, this, [this, answered, generation] {
        if (generation != m_nGeneration || !m_loader->Pending()) return;
        if (*answered) {
            m_timeout.start(); // slow, but it reads: wait on
            return;
        }
        // The worker may stay blocked on the card; its result goes nowhere now, and the next
        // opening starts a load of its own.
        m_loader->Cancel();
        emit loadTimedOut(TimeoutMessage(m_path));
    });
}

void CTelemetryPresenter::Show(int index, const LoadedTelemetry& loaded) {
    const std::vector<RecordingEntry>& entries = m_catalog.Entries();
    const LoadTrackResult r = m_plot.TakeTrack(index, entries, loaded.info, loaded.load, loaded.telemetry);
    if (m_plot.GetCurrent() != index || !m_plot.CurrentTelemetry(entries)) {
        ClearShown();
        return;
    }
    CMapWindow* map = m_views.map ? m_views.map() : nullptr;
    ApplyToMap(map, r.scripts, r.movePos);
    if (auto* curve = Child<CGSensorCtrl>(IDC_GSENSOR)) {
        if (r.clearCurve) curve->ClearSamples();
        if (r.curve) curve->SetUpSeries(r.curve->samples, r.curve->gsensorAttr.data(), r.curve->durationMs);
    }
    if (r.vehicleSample) ShowVehicleSample(*r.vehicleSample);
    ++m_nLoadsShown;
    // Playback ran on while the file was read: catch up with the last time reported.
    if (m_llLastTimeMs >= 0) FollowTime(m_llLastTimeMs);
    emit telemetryShown(index);
}

void CTelemetryPresenter::FollowTime(int64_t timeMs) {
    m_llLastTimeMs = timeMs;
    const std::vector<RecordingEntry>& entries = m_catalog.Entries();
    // Only the playing recording's own telemetry moves the widgets.
    if (m_plot.GetCurrent() != m_catalog.CurrentEntry() || !m_plot.CurrentTelemetry(entries)) {
        SetGpsColor(0);
        return;
    }
    const bool curveShown = m_views.curveShown && m_views.curveShown();
    CMapWindow* map = m_views.map ? m_views.map() : nullptr;
    const bool mapShown = map && m_views.mapShown && m_views.mapShown();
    const UpdateResult u = m_plot.UpdateAtTime(timeMs, curveShown, mapShown, entries);
    ApplyToMap(map, u.scripts, u.movePos);
    auto* curve = Child<CGSensorCtrl>(IDC_GSENSOR);
    if (u.curvePosition && curve) {
        curve->SetStopped(false);
        curve->SetPlayPosition(*u.curvePosition);
        double x = 0, y = 0, z = 0;
        curve->GetCurrentValues(x, y, z);
        const LookDownPair pair = LookDownValues(u.lookDownAxisH, u.lookDownAxisV, x, y, z);
        if (auto* lookDown = Child<CPropertyGsensorLookDown>(IDC_LOOK_DOWN)) lookDown->SetValues(pair.first, pair.second);
    }
    if (u.vehicleSample) ShowVehicleSample(*u.vehicleSample);
    auto* compass = Child<CPngCompassStatic>(IDC_COMPASS);
    auto* speed = Child<CSpeedLabelStatic>(IDC_SPEED_LABEL);
    if (u.fixDisplay != FixDisplay::kUnchanged && compass && speed) {
        const bool shown = u.fixDisplay == FixDisplay::kShow;
        if (shown) {
            compass->SetHeading(u.headingDegrees);
        } else {
            compass->m_nImage = 0;
            compass->update();
        }
        speed->m_bValid = shown ? 1 : 0;
        speed->m_nSpeed = shown ? u.speed : 0;
        speed->UpdateTexts();
        speed->update();
    }
    SetGpsColor(u.result != 0 ? 1 : 0);
}

void CTelemetryPresenter::RedrawDrivenPath(int64_t timeMs) {
    // The driven line is redrawn only on the playing recording's own track.
    if (m_plot.GetCurrent() != m_catalog.CurrentEntry()) return;
    ApplyToMap(m_views.map ? m_views.map() : nullptr,
               m_plot.RebuildDrivenPath(static_cast<uint32_t>(std::max<int64_t>(timeMs, 0)), m_catalog.Entries()).scripts,
               std::nullopt);
}

void CTelemetryPresenter::Drop() {
    m_loader->Cancel();
    m_timeout.stop();
    m_nIndex = -1;
    m_path.clear();
    ClearShown();
}

void CTelemetryPresenter::ClearShown() {
    if (auto* curve = Child<CGSensorCtrl>(IDC_GSENSOR)) curve->ClearSamples();
    ApplyToMap(m_views.map ? m_views.map() : nullptr,
               {QString::fromLatin1(kPathDrivedDeleteScript), QString::fromLatin1(kPathDeleteScript)},
               std::nullopt);
    SetGpsColor(0);
}

void CTelemetryPresenter::Forget(const std::filesystem::path& path) {
    m_cache->Forget(path);
}

void CTelemetryPresenter::SetGpsColor(int color) {
    auto* indicator = Child<CPngStatic>(IDC_GPS_INDICATOR);
    if (!indicator || indicator->m_bColor == color) return;
    indicator->m_bColor = color;
    indicator->update();
}

void CTelemetryPresenter::ShowVehicleSample(size_t index) {
    const std::vector<VehicleSample>& samples = m_plot.VehicleSamples();
    if (index >= samples.size()) return;
    ShowGaugeSample(samples[index]);
}

void CTelemetryPresenter::ClearGauges() {
    VehicleSample unavailable;
    std::memset(&unavailable, 0xFF, sizeof unavailable);
    ShowGaugeSample(unavailable);
    if (auto* compass = Child<CPngCompassStatic>(IDC_COMPASS)) {
        compass->m_nImage = 0;
        compass->update();
    }
    if (auto* speed = Child<CSpeedLabelStatic>(IDC_SPEED_LABEL)) {
        speed->m_bValid = 0;
        speed->m_nSpeed = 0;
        speed->UpdateTexts();
        speed->update();
    }
}

void CTelemetryPresenter::ShowGaugeSample(const VehicleSample& sample) {
    VehicleGauges gauges;
    gauges.accelerator = Child<CPropertyText>(1200);
    gauges.brake = Child<CPropertyText>(1201);
    gauges.steering = Child<CPropertySteeringAngle>(1202);
    gauges.engineSpeed = Child<CPropertyText>(1203);
    gauges.power = Child<CPropertyText>(1204);
    gauges.torque = Child<CPropertyText>(1205);
    gauges.gear = Child<CPropertyText>(1206);
    gauges.oilTemperature = Child<CPropertyText>(1207);
    gauges.waterTemperature = Child<CPropertyText>(1208);
    gauges.speed = Child<CPropertyText>(1209);
    gauges.dateTime = Child<CPropertyText>(1210);
    gauges.outsideTemperature = Child<CPropertyText>(1211);
    gauges.turnLights = Child<CPropertyTurnSignal>(IDC_TURN_SIGNAL);
    FillVehicleGauges(sample, gauges, m_turnLights);
}
