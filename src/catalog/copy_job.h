// Copying a list of recordings as one job that can run on a worker thread: progress after every
// block (files and bytes done, so speed and time left can be shown), a cancel that is heard
// between blocks, and a free-space check before anything is written.
//
// Threading: a CCopyJob is built and checked on any thread and Run on one thread (the worker);
// the progress function is called on that thread; the cancel flag may be set from any thread.
// Run touches nothing but the files of its items.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "file_operation_report.h"

// How far a file job has come. Bytes are 0 for jobs that do not copy (delete, lock).
struct FileJobProgress {
    size_t filesDone = 0, filesTotal = 0;
    uint64_t bytesDone = 0, bytesTotal = 0;
    double elapsedSeconds = 0;
    std::filesystem::path current; // the file being worked on

    // Bytes per second so far; 0 before the first block.
    double BytesPerSecond() const;
    // Seconds until the job ends at the speed so far; empty while the speed is not known yet.
    std::optional<double> SecondsLeft() const;
};

// One file to copy. The target's folder is created when missing; an existing target is replaced
// (the caller has asked about it before), unless it is locked.
struct CopyItem {
    std::filesystem::path source;
    std::filesystem::path target;
};

// Free bytes for an unprivileged writer on the file system that holds `folder` (or its nearest
// existing parent); empty when it cannot be asked.
using FreeSpaceQuery = std::function<std::optional<uint64_t>(const std::filesystem::path& folder)>;
std::optional<uint64_t> FreeSpaceOf(const std::filesystem::path& folder);

// The outcome of the free-space check. When not enough: the folder on the file system that lacks
// space, what the copy needs there and what is free.
struct SpaceCheck {
    bool enough = true;
    std::filesystem::path folder;
    uint64_t needed = 0;
    uint64_t available = 0;
};

class CCopyJob {
  public:
    using ProgressFn = std::function<void(const FileJobProgress&)>;

    // Nothing is read here (the sources may lie on a slow card): Run measures them on the worker.
    explicit CCopyJob(std::vector<CopyItem> items, FreeSpaceQuery freeSpace = FreeSpaceOf);

    // First the free-space check: every target file system must take its share of the copy (the
    // sum of the sources that go there; a replaced target counts in full, since the new copy is
    // written before the old one goes). When one cannot, Run starts nothing, returns a report
    // without files and SpaceShortage() says where and how much.
    // Then the items are copied in order (each through a hidden temporary file, see safe_copy.h). Cancel is
    // heard after every block: the file being copied is left out (its temporary file removed, an
    // existing target untouched) and reported kFailed with ECANCELED, later items are not
    // reached, files already complete stay. Per file: kDone, kSkippedSameFile, kSkippedLocked (the
    // target is read-only), or kFailed with the errno.
    FileOperationReport Run(const ProgressFn& progress, const std::atomic<bool>& cancel);

    const FileJobProgress& Progress() const { return m_Progress; }
    // After Run: the file system that lacked space (enough = false), else enough = true.
    const SpaceCheck& SpaceShortage() const { return m_Space; }

  private:
    SpaceCheck CheckSpace() const;

    std::vector<CopyItem> m_Items;
    FreeSpaceQuery m_FreeSpace;
    std::vector<uint64_t> m_Sizes; // of the sources, measured when Run starts
    FileJobProgress m_Progress;
    SpaceCheck m_Space;
};

// "1.5 GB", "320 MB", "12 KB", "512 bytes": a size as a person reads it.
std::string FormatByteSize(uint64_t bytes);
