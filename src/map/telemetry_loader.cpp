#include "telemetry_loader.h"

#include <QMetaObject>
#include <QPointer>
#include <atomic>
#include <mutex>
#include <thread>

// What the workers share with the loader: the cache, how to read, the latest generation, and the
// loader itself while it lives (cleared under the mutex by its destructor, so no worker posts to a
// loader that is being destroyed).
struct CTelemetryLoader::Shared {
    std::shared_ptr<CTelemetryCache> cache;
    LoadFunction load;
    std::atomic<uint64_t> latest{0};
    std::mutex mutex;
    CTelemetryLoader* owner = nullptr;
};

CTelemetryLoader::CTelemetryLoader(std::shared_ptr<CTelemetryCache> cache, Delivery deliver, QObject* parent)
    : QObject(parent), m_Shared(std::make_shared<Shared>()), m_Deliver(std::move(deliver)) {
    m_Shared->cache = std::move(cache);
    m_Shared->owner = this;
    SetLoadFunction(nullptr);
}

void CTelemetryLoader::SetLoadFunction(LoadFunction load) {
    std::lock_guard lock(m_Shared->mutex);
    if (load) {
        m_Shared->load = std::move(load);
        return;
    }
    std::shared_ptr<CTelemetryCache> cache = m_Shared->cache;
    m_Shared->load = [cache](const std::filesystem::path& path, MediaInfo info) {
        return cache ? LoadTelemetryThroughCache(*cache, path, std::move(info))
                     : std::shared_ptr<const LoadedTelemetry>();
    };
}

CTelemetryLoader::~CTelemetryLoader() {
    std::lock_guard lock(m_Shared->mutex);
    m_Shared->owner = nullptr;
    m_Shared->latest = 0;
}

uint64_t CTelemetryLoader::Start(const std::filesystem::path& path, MediaInfo info) {
    const uint64_t generation = ++m_Shared->latest;
    m_nLastStarted = generation;
    m_bPending = true;
    LoadFunction load;
    {
        std::lock_guard lock(m_Shared->mutex);
        load = m_Shared->load;
    }
    std::thread([shared = m_Shared, load = std::move(load), path, info = std::move(info), generation]() mutable {
        // A request overtaken before it began costs no read of the card.
        if (shared->latest != generation) return;
        std::shared_ptr<const LoadedTelemetry> loaded;
        try {
            loaded = load(path, std::move(info));
        } catch (...) { // out of memory: delivered as nothing loaded, so the window stops waiting
            loaded.reset();
        }
        std::lock_guard lock(shared->mutex);
        if (!shared->owner || shared->latest != generation) return;
        CTelemetryLoader* owner = shared->owner;
        QMetaObject::invokeMethod(
            owner, [owner, generation, loaded] { owner->Deliver(generation, loaded); }, Qt::QueuedConnection);
    }).detach();
    return generation;
}

void CTelemetryLoader::Deliver(uint64_t generation, std::shared_ptr<const LoadedTelemetry> loaded) {
    if (generation != m_Shared->latest) return; // a later Start or a Cancel came in between
    m_bPending = false;
    if (!loaded) {
        auto none = std::make_shared<LoadedTelemetry>();
        none->load = TelemetryLoad::kOpenFailed;
        loaded = std::move(none);
    }
    if (m_Deliver) m_Deliver(generation, std::move(loaded));
}

void CTelemetryLoader::Cancel() {
    ++m_Shared->latest;
    m_bPending = false;
}
