// Loads the telemetry of the recording being opened on a worker thread, so the video can start at
// once and a slow or hanging card never holds the window; the track, curve and gauges are filled
// when the result arrives.
//
// Threading contract:
//   UI thread (the thread the loader lives on): Start, Cancel, Latest, the destructor, and every
//     call of the delivery function.
//   worker (one short-lived detached thread per Start): checks that its request is still the
//     latest, then reads through the cache (the load function); it touches nothing of the window.
//   delivery: a queued call on the UI thread with the generation Start returned. It reaches the
//     delivery function only when that generation is still the latest: a later Start or a Cancel
//     drops it, and so does the loader's destruction (a worker that is still reading, e.g. on a
//     hung card, finishes on its own and its result goes nowhere).
#pragma once

#include <QObject>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "telemetry_cache.h"

class CTelemetryLoader : public QObject {
  public:
    using Delivery = std::function<void(uint64_t generation, std::shared_ptr<const LoadedTelemetry> loaded)>;
    // How a recording is read; called on the worker. Default: LoadTelemetryThroughCache on `cache`.
    using LoadFunction =
        std::function<std::shared_ptr<const LoadedTelemetry>(const std::filesystem::path& path, MediaInfo info)>;

    // `cache` is shared with the workers, so it outlives a loader whose worker still reads.
    CTelemetryLoader(std::shared_ptr<CTelemetryCache> cache, Delivery deliver, QObject* parent = nullptr);
    // Replaces how recordings are read (e.g. a loader without a cache).
    void SetLoadFunction(LoadFunction load);
    ~CTelemetryLoader() override;
    CTelemetryLoader(const CTelemetryLoader&) = delete;
    CTelemetryLoader& operator=(const CTelemetryLoader&) = delete;

    // Starts loading `path` (its catalog MediaInfo copied) and returns the generation its result
    // will carry; any earlier load's result is dropped from now on.
    uint64_t Start(const std::filesystem::path& path, MediaInfo info);
    // Drops the result of the load in flight (the recording was closed).
    void Cancel();
    // The generation the last Start returned (0 before the first).
    uint64_t LastStarted() const { return m_nLastStarted; }
    // A Start whose result has not been delivered or dropped yet.
    bool Pending() const { return m_bPending; }

  private:
    struct Shared;
    void Deliver(uint64_t generation, std::shared_ptr<const LoadedTelemetry> loaded);

    std::shared_ptr<Shared> m_Shared;
    Delivery m_Deliver;
    bool m_bPending = false;
    uint64_t m_nLastStarted = 0;
};
