// The telemetry of the last few recordings that were opened, so that opening one of them again
// (reopen, rotate, previous and back) costs no read of the card.
//
// Threading: every member of CTelemetryCache may be called from any thread; one mutex guards the
// list, held only to look up, insert or drop entries, never while a file is read. A result handed
// out is immutable (shared_ptr to const) and stays valid after it is dropped from the cache.
// LoadTelemetryThroughCache reads the file outside the lock, so two threads that miss on the same
// recording at the same time both read it (the second store replaces the first; both results are
// equal). It is meant for a background loader; it never touches a widget or the catalog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <optional>

#include "recording_telemetry.h"

// What tells a recording file's content apart as far as the file system says: its path, size and
// modification time. A file rewritten in place (camera, copy over it) gets another identity.
struct RecordingIdentity {
    std::filesystem::path path;
    uint64_t size = 0;
    int64_t mtimeNs = 0;

    bool operator==(const RecordingIdentity&) const = default;
};

// The identity of the file at `path` now; empty when it cannot be examined.
std::optional<RecordingIdentity> IdentifyRecording(const std::filesystem::path& path);

// What one load produced.
struct LoadedTelemetry {
    TelemetryLoad load = TelemetryLoad::kNoTelemetry;
    RecordingTelemetry telemetry;
    // The MediaInfo the load used, with what the load learned (a transport stream's chunk list and
    // m_bChunks2Collected): the catalog entry can take it over so a later load need not walk again.
    MediaInfo info;
};

class CTelemetryCache {
  public:
    static constexpr size_t kDefaultCapacity = 6;
    explicit CTelemetryCache(size_t capacity = kDefaultCapacity);
    CTelemetryCache(const CTelemetryCache&) = delete;
    CTelemetryCache& operator=(const CTelemetryCache&) = delete;

    // The stored result for exactly this identity (it becomes the most recent), or null.
    std::shared_ptr<const LoadedTelemetry> Find(const RecordingIdentity& identity);
    // Stores `loaded` as the most recent; an older result of the same path is replaced, the least
    // recent entry goes when the cache is full.
    void Store(const RecordingIdentity& identity, std::shared_ptr<const LoadedTelemetry> loaded);
    // Drops what is kept for `path` (after it was deleted, or its lock changed).
    void Forget(const std::filesystem::path& path);
    void Clear();
    size_t Size() const;

  private:
    struct Entry {
        RecordingIdentity identity;
        std::shared_ptr<const LoadedTelemetry> loaded;
    };
    const size_t m_Capacity;
    mutable std::mutex m_Mutex;
    std::list<Entry> m_Entries; // most recent first
};

// Loads the telemetry of the recording at `path` (described by `info`, the catalog's copy) through
// `cache`: a stored result for the file's current identity is returned at once; otherwise the file is
// read (LoadRecordingTelemetry) and a complete result is stored. Not stored: a file that could not be
// opened, a reading cut short by a read error, a recording without telemetry. `fromCache` (when
// given) says whether the result was served without reading the file. Any thread.
std::shared_ptr<const LoadedTelemetry> LoadTelemetryThroughCache(CTelemetryCache& cache,
                                                                 const std::filesystem::path& path,
                                                                 MediaInfo info, bool* fromCache = nullptr);
