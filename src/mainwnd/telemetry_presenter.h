// The telemetry that follows playback: the map's track and marker, the G-sensor curve and its
// look-down gauge, the vehicle gauges, the speed label, the compass and the GPS indicator.
//
// A recording's telemetry is loaded in the background (CTelemetryLoader through a CTelemetryCache of
// the last few recordings), so the video starts as soon as it is open and the widgets fill when the
// load ends. Only the load of the latest opening reaches the widgets; a reopen, rotation or a step
// back to a recording seen a moment ago is served from the cache without reading the card. A load
// that runs long while the card does not answer a read of its own (a card that stopped answering) is
// given up with a message in words within seconds; a later opening loads normally.
//
// Threading: every member runs on the UI thread. The loader's worker reads the file and touches
// nothing here; its result is delivered as a queued call and checked against the opening in force.
#pragma once

#include "track_plot.h"
#include "vehicle_sample_view.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

class CMapWindow;
class CRecordingCatalog;
class CTelemetryCache;
class CTelemetryLoader;
class QWidget;
struct LoadedTelemetry;

class CTelemetryPresenter : public QObject {
    Q_OBJECT

  public:
    // A load running this long makes the presenter ask the card for one byte; no answer within
    // kCardAnswerMs gives the load up.
    static constexpr int kLoadTimeoutMs = 4000;
    static constexpr int kCardAnswerMs = 2000;

    // Where the results go: the window's children by control id, the map window (may be null), and
    // the two switches that say whether the map and the curve are shown now.
    struct Views {
        std::function<QWidget*(int id)> child;
        std::function<CMapWindow*()> map;
        std::function<bool()> mapShown;
        std::function<bool()> curveShown;
    };

    CTelemetryPresenter(const CRecordingCatalog& catalog, Views views, QObject* parent = nullptr);
    ~CTelemetryPresenter() override;
    CTelemetryPresenter(const CTelemetryPresenter&) = delete;
    CTelemetryPresenter& operator=(const CTelemetryPresenter&) = delete;

    // Makes catalog entry `index` the recording whose telemetry is shown: what was shown goes at once
    // and the entry's telemetry is loaded in the background (nothing for a recording without any).
    void Open(int index);
    // A playback time (a time report or a seek): map, curve and gauges follow it once the playing
    // recording's own telemetry is loaded.
    void FollowTime(int64_t timeMs);
    // After a seek reached the engines: the driven part of the track redrawn up to `timeMs`.
    void RedrawDrivenPath(int64_t timeMs);
    // Nothing of a recording's telemetry stays on screen (the catalog is gone, the file deleted); a
    // load in flight is dropped.
    void Drop();
    // Every gauge blank, the compass without heading, the speed without a fix.
    void ClearGauges();
    void SetGpsColor(int color);
    // The recording at `path` was changed or deleted by a file command: its kept telemetry goes.
    void Forget(const std::filesystem::path& path);

    const CTrackPlot& Plot() const { return m_plot; }
    // A load runs whose result has not arrived (and was not given up).
    bool Loading() const;
    // How many loads were started and how many results reached the widgets (for tests and traces).
    uint64_t LoadsStarted() const { return m_nLoadsStarted; }
    uint64_t LoadsShown() const { return m_nLoadsShown; }
    // For tests: how a recording is read on the worker (default: through the cache).
    void SetLoadFunction(std::function<std::shared_ptr<const LoadedTelemetry>(const std::filesystem::path&)> load);

  signals:
    // The telemetry of catalog entry `index` reached the widgets.
    void telemetryShown(int index);
    // The load of the recording being opened did not end in time: `message` says so in words.
    void loadTimedOut(const QString& message);

  private:
    void Deliver(uint64_t generation, std::shared_ptr<const LoadedTelemetry> loaded);
    void OnLoadTimeout();
    void Show(int index, const LoadedTelemetry& loaded);
    void ShowVehicleSample(size_t index);
    void ShowGaugeSample(const VehicleSample& sample);
    void ClearShown();
    template <class T> T* Child(int id) const;

    const CRecordingCatalog& m_catalog;
    Views m_views;
    std::shared_ptr<CTelemetryCache> m_cache;
    std::unique_ptr<CTelemetryLoader> m_loader;
    CTrackPlot m_plot;
    TurnLightsState m_turnLights;
    QTimer m_timeout;
    // The opening in force: its entry, its file and the loader's generation for it.
    int m_nIndex = -1;
    std::filesystem::path m_path;
    uint64_t m_nGeneration = 0;
    int64_t m_llLastTimeMs = -1;
    uint64_t m_nLoadsStarted = 0;
    uint64_t m_nLoadsShown = 0;
};
