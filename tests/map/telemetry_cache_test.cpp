// The telemetry cache and the background loader: a reopened recording is served without reading
// the file, a rewritten file is read again, a transport stream is walked once (also when it holds
// no records), and only the result of the latest opening reaches the window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "fixture_writer.h"
#include "parser_factory.h"
#include "telemetry_cache.h"
#include "telemetry_loader.h"
#include "ts_reader.h"
#include "ts_writer.h"

namespace fs = std::filesystem;

namespace {

MediaInfo Parsed(const fs::path& path) {
    MediaInfo info;
    const auto parser = CreateVideoParser(path);
    parser->SetMediaInfo(&info);
    EXPECT_EQ(parser->Parse(path), 0) << path;
    return info;
}

fs::path WriteLayout(const fs::path& dir, TelemetryLayout layout, int seconds = 20) {
    const fs::path path = dir / ("2024_06_01_12000" + std::to_string(layout) + "_01.MP4");
    fixtures::WriteRecording(path, layout, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(layout, seconds)));
    return path;
}

} // namespace

TEST(TelemetryCacheTest, ReopenIsServedFromTheCacheUntilTheFileChanges) {
    const fs::path dir = fixtures::ScratchDir("telemetry_cache_reopen");
    const fs::path path = WriteLayout(dir, kLayoutVideMeta);
    const MediaInfo info = Parsed(path);
    CTelemetryCache cache;
    bool fromCache = true;
    const auto first = LoadTelemetryThroughCache(cache, path, info, &fromCache);
    EXPECT_FALSE(fromCache);
    ASSERT_EQ(first->load, TelemetryLoad::kLoaded);
    EXPECT_EQ(first->telemetry.track.size(), 100u);
    EXPECT_EQ(first->telemetry.vehicles.size(), 100u);

    const auto again = LoadTelemetryThroughCache(cache, path, info, &fromCache);
    EXPECT_TRUE(fromCache);
    EXPECT_EQ(again.get(), first.get()) << "the kept result itself, no copy";

    // The camera rewrites the file with a shorter recording: its identity changes, it is read again.
    fixtures::WriteRecording(path, kLayoutVideMeta,
                             fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 10)));
    const auto rewritten = LoadTelemetryThroughCache(cache, path, Parsed(path), &fromCache);
    EXPECT_FALSE(fromCache);
    EXPECT_EQ(rewritten->telemetry.track.size(), 50u);
    EXPECT_EQ(cache.Size(), 1u) << "the older version of the same path is replaced";

    // What cannot be opened is not kept.
    fs::remove(path);
    EXPECT_EQ(LoadTelemetryThroughCache(cache, path, info, &fromCache)->load, TelemetryLoad::kOpenFailed);
    EXPECT_FALSE(fromCache);
}

TEST(TelemetryCacheTest, KeepsTheMostRecentRecordingsWithinItsCapacity) {
    const fs::path dir = fixtures::ScratchDir("telemetry_cache_capacity");
    CTelemetryCache cache(2);
    std::vector<std::pair<fs::path, MediaInfo>> recordings;
    for (TelemetryLayout layout : {kLayoutBlocks, kLayoutJtdMeta, kLayoutGpsBox}) {
        const fs::path path = WriteLayout(dir, layout, 5);
        recordings.emplace_back(path, Parsed(path));
    }
    bool fromCache = false;
    LoadTelemetryThroughCache(cache, recordings[0].first, recordings[0].second);
    LoadTelemetryThroughCache(cache, recordings[1].first, recordings[1].second);
    LoadTelemetryThroughCache(cache, recordings[0].first, recordings[0].second, &fromCache);
    EXPECT_TRUE(fromCache);
    LoadTelemetryThroughCache(cache, recordings[2].first, recordings[2].second); // drops [1], the least recent
    EXPECT_EQ(cache.Size(), 2u);
    LoadTelemetryThroughCache(cache, recordings[0].first, recordings[0].second, &fromCache);
    EXPECT_TRUE(fromCache);
    LoadTelemetryThroughCache(cache, recordings[1].first, recordings[1].second, &fromCache);
    EXPECT_FALSE(fromCache);
    cache.Forget(recordings[1].first);
    EXPECT_FALSE(cache.Find(*IdentifyRecording(recordings[1].first)));
    EXPECT_TRUE(cache.Find(*IdentifyRecording(recordings[0].first)) != nullptr);
    EXPECT_TRUE(cache.Find(*IdentifyRecording(recordings[2].first)) == nullptr) << "the least recent when [1] came";
}

TEST(TelemetryCacheTest, ATransportStreamIsWalkedOnceAlsoWithoutRecords) {
    const fs::path dir = fixtures::ScratchDir("telemetry_cache_ts");
    fixtures::TsOptions otherPid;
    otherPid.telemetryPid = 300; // its records are not where the camera's are: nothing to collect
    for (const bool withRecords : {true, false}) {
        const fs::path path = dir / (withRecords ? "2024_06_01_120000_01.TS" : "2024_06_01_120100_01.TS");
        fixtures::WriteTsRecording(path, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(2, 10)),
                                   withRecords ? fixtures::TsOptions{} : otherPid);
        MediaInfo info = Parsed(path);
        ASSERT_TRUE(info.m_Chunks2.empty());
        RecordingTelemetry telemetry;
        TrackReadEnd end = TrackReadEnd::kNotOpened;
        ASSERT_EQ(LoadRecordingTelemetry(path, info, telemetry, &end), TelemetryLoad::kLoaded);
        EXPECT_EQ(end, TrackReadEnd::kComplete);
        EXPECT_TRUE(info.m_bChunks2Collected);
        EXPECT_EQ(telemetry.track.size(), withRecords ? 50u : 0u);

        // Loaded again with what the first load learned: the file is not walked again. A file that
        // could be walked now would give records; the kept (empty) list says it was walked already.
        const MediaInfo learned = info;
        fs::resize_file(path, 0);
        ASSERT_EQ(LoadRecordingTelemetry(path, info, telemetry, &end), TelemetryLoad::kLoaded);
        EXPECT_EQ(info.m_Chunks2.size(), learned.m_Chunks2.size());
        EXPECT_TRUE(info.m_bChunks2Collected);
    }
}

namespace {
// A load function that holds the loads of one path until released, and counts the loads.
struct GatedLoads {
    std::mutex mutex;
    std::condition_variable cv;
    bool open = false;
    int started = 0;
    fs::path gated;

    std::shared_ptr<const LoadedTelemetry> Load(const fs::path& path, const MediaInfo& info) {
        std::unique_lock lock(mutex);
        ++started;
        if (path == gated) cv.wait(lock, [&] { return open; });
        auto loaded = std::make_shared<LoadedTelemetry>();
        loaded->load = TelemetryLoad::kLoaded;
        loaded->info = info;
        loaded->telemetry.track.resize(path == gated ? 1 : 2);
        return loaded;
    }
    void Release() {
        std::lock_guard lock(mutex);
        open = true;
        cv.notify_all();
    }
};
} // namespace

TEST(TelemetryLoaderTest, OnlyTheLatestOpeningsResultArrivesOnTheUiThread) {
    GatedLoads gate;
    gate.gated = "/card/slow.MP4";
    std::vector<std::pair<uint64_t, size_t>> delivered;
    bool onUiThread = true;
    CTelemetryLoader loader(std::make_shared<CTelemetryCache>(),
                            [&](uint64_t generation, std::shared_ptr<const LoadedTelemetry> loaded) {
                                onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
                                delivered.emplace_back(generation, loaded->telemetry.track.size());
                            });
    loader.SetLoadFunction([&](const fs::path& p, MediaInfo i) { return gate.Load(p, i); });

    const uint64_t slow = loader.Start(gate.gated, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.started == 1; }, 5000));
    const uint64_t fast = loader.Start("/card/fast.MP4", {});
    EXPECT_GT(fast, slow);
    EXPECT_TRUE(loader.Pending());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !delivered.empty(); }, 5000));
    EXPECT_EQ(delivered, (std::vector<std::pair<uint64_t, size_t>>{{fast, 2}})) << "the fast one first";
    EXPECT_FALSE(loader.Pending());

    gate.Release(); // the slow, older load ends now: its result must not arrive
    QTest::qWait(200);
    EXPECT_EQ(delivered.size(), 1u);
    EXPECT_TRUE(onUiThread);

    // Cancel drops the load in flight (the recording was closed before its telemetry came).
    loader.Start("/card/other.MP4", {});
    loader.Cancel();
    QTest::qWait(200);
    EXPECT_EQ(delivered.size(), 1u);
    EXPECT_FALSE(loader.Pending());
}

TEST(TelemetryLoaderTest, ReopeningThroughTheDefaultLoaderHitsTheCache) {
    const fs::path dir = fixtures::ScratchDir("telemetry_loader_cache");
    const fs::path path = WriteLayout(dir, kLayoutJtdMeta, 10);
    const MediaInfo info = Parsed(path);
    auto cache = std::make_shared<CTelemetryCache>();
    std::vector<std::shared_ptr<const LoadedTelemetry>> delivered;
    CTelemetryLoader loader(cache, [&](uint64_t, std::shared_ptr<const LoadedTelemetry> loaded) {
        delivered.push_back(std::move(loaded));
    });
    loader.Start(path, info);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 1; }, 5000));
    EXPECT_EQ(delivered[0]->telemetry.track.size(), 50u);
    EXPECT_EQ(cache->Size(), 1u);
    loader.Start(path, info);
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() == 2; }, 5000));
    EXPECT_EQ(delivered[1].get(), delivered[0].get()) << "served from the cache";
}

TEST(TelemetryLoaderTest, ALoaderDestroyedWhileItsWorkerReadsDeliversNothing) {
    GatedLoads gate;
    gate.gated = "/card/hung.MP4";
    int delivered = 0;
    {
        CTelemetryLoader loader(std::make_shared<CTelemetryCache>(),
                                [&](uint64_t, std::shared_ptr<const LoadedTelemetry>) { ++delivered; });
        loader.SetLoadFunction([&](const fs::path& p, MediaInfo i) { return gate.Load(p, i); });
        loader.Start(gate.gated, {});
        ASSERT_TRUE(QTest::qWaitFor([&] { return gate.started == 1; }, 5000));
    } // destroyed without waiting for the read
    gate.Release();
    QTest::qWait(200);
    EXPECT_EQ(delivered, 0);
}

TEST(TelemetryCacheTest, ATransportStreamsRecordsComeFromItsOneWalkAsFromTheFile) {
    const fs::path dir = fixtures::ScratchDir("telemetry_cache_ts_capture");
    const fs::path path = dir / "2024_06_01_120000_01.TS";
    fixtures::ClipSpec clip;
    clip.width = 640, clip.height = 480, clip.seconds = 40, clip.fps = 25;
    const auto written = fixtures::WriteTsRecording(
        path, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(2, 40)), {}, fixtures::MakeClip(clip));
    ASSERT_GT(written.fileSize, 2u * 1024 * 188) << "the walk reads several blocks";

    // What the walk kept is byte for byte what the file holds at each record.
    MediaInfo info = Parsed(path);
    CapturedRecords captured;
    COrvexTsParser parser;
    parser.SetMediaInfo(&info);
    parser.CaptureRecords(&captured);
    ASSERT_EQ(parser.ProbeTransportStream(path, true), 0);
    ASSERT_EQ(captured.present.size(), info.m_Chunks2.size());
    for (size_t i = 0; i < info.m_Chunks2.size(); ++i) {
        if (!captured.present[i]) continue;
        ASSERT_EQ(std::vector<uint8_t>(captured.bytes.begin() + i * 148, captured.bytes.begin() + (i + 1) * 148),
                  written.records[i])
            << "record " << i;
    }

    RecordingTelemetry fromWalk, fromFile;
    MediaInfo fresh = Parsed(path);
    ASSERT_EQ(LoadRecordingTelemetry(path, fresh, fromWalk), TelemetryLoad::kLoaded);
    ASSERT_TRUE(ReadLayout2Track(path, fresh.m_Chunks2, fromFile.track, fromFile.gsensor, fromFile.vehicles));
    ASSERT_EQ(fromWalk.track.size(), 200u);
    EXPECT_EQ(std::memcmp(fromWalk.track.data(), fromFile.track.data(), 200 * sizeof(GpsFix)), 0);
    EXPECT_EQ(std::memcmp(fromWalk.vehicles.data(), fromFile.vehicles.data(), 200 * sizeof(VehicleSample)), 0);
    ASSERT_EQ(fromWalk.gsensor.size(), fromFile.gsensor.size());
}
