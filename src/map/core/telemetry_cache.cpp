#include "telemetry_cache.h"

#include <sys/stat.h>

#include <algorithm>

std::optional<RecordingIdentity> IdentifyRecording(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return RecordingIdentity{path, static_cast<uint64_t>(st.st_size),
                             int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
}

CTelemetryCache::CTelemetryCache(size_t capacity) : m_Capacity(std::max<size_t>(capacity, 1)) {}

std::shared_ptr<const LoadedTelemetry> CTelemetryCache::Find(const RecordingIdentity& identity) {
    std::lock_guard lock(m_Mutex);
    const auto it = std::find_if(m_Entries.begin(), m_Entries.end(),
                                 [&](const Entry& e) { return e.identity == identity; });
    if (it == m_Entries.end()) return nullptr;
    m_Entries.splice(m_Entries.begin(), m_Entries, it);
    return it->loaded;
}

void CTelemetryCache::Store(const RecordingIdentity& identity, std::shared_ptr<const LoadedTelemetry> loaded) {
    std::lock_guard lock(m_Mutex);
    m_Entries.remove_if([&](const Entry& e) { return e.identity.path == identity.path; });
    m_Entries.push_front({identity, std::move(loaded)});
    while (m_Entries.size() > m_Capacity)
        m_Entries.pop_back();
}

void CTelemetryCache::Forget(const std::filesystem::path& path) {
    std::lock_guard lock(m_Mutex);
    m_Entries.remove_if([&](const Entry& e) { return e.identity.path == path; });
}

void CTelemetryCache::Clear() {
    std::lock_guard lock(m_Mutex);
    m_Entries.clear();
}

size_t CTelemetryCache::Size() const {
    std::lock_guard lock(m_Mutex);
    return m_Entries.size();
}

std::shared_ptr<const LoadedTelemetry> LoadTelemetryThroughCache(CTelemetryCache& cache,
                                                                 const std::filesystem::path& path,
                                                                 MediaInfo info, bool* fromCache) {
    if (fromCache) *fromCache = false;
    const std::optional<RecordingIdentity> identity = IdentifyRecording(path);
    if (identity) {
        if (auto cached = cache.Find(*identity)) {
            if (fromCache) *fromCache = true;
            return cached;
        }
    }
    auto loaded = std::make_shared<LoadedTelemetry>();
    TrackReadEnd end = TrackReadEnd::kNotOpened;
    loaded->load = LoadRecordingTelemetry(path, info, loaded->telemetry, &end);
    loaded->info = std::move(info);
    // The file must still be the one identified before the read, or the result may belong to
    // neither version.
    if (identity && loaded->load == TelemetryLoad::kLoaded && end == TrackReadEnd::kComplete &&
        IdentifyRecording(path) == identity)
        cache.Store(*identity, loaded);
    return loaded;
}
