#include "copy_job.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <map>
#include <system_error>

#include "directory_tree.h"
#include "file_attributes.h"
#include "safe_copy.h"

namespace fs = std::filesystem;

double FileJobProgress::BytesPerSecond() const {
    return elapsedSeconds > 0 ? static_cast<double>(bytesDone) / elapsedSeconds : 0.0;
}

std::optional<double> FileJobProgress::SecondsLeft() const {
    const double speed = BytesPerSecond();
    if (speed <= 0) return std::nullopt;
    return static_cast<double>(bytesTotal > bytesDone ? bytesTotal - bytesDone : 0) / speed;
}

namespace {
// The folder itself or its nearest parent that exists (the target folder may not be made yet).
fs::path ExistingFolder(fs::path folder) {
    std::error_code ec;
    while (!folder.empty() && !fs::is_directory(folder, ec)) {
        const fs::path parent = folder.parent_path();
        if (parent == folder) break;
        folder = parent;
    }
    return folder.empty() ? fs::path(".") : folder;
}

uint64_t SizeOf(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
}
} // namespace

std::optional<uint64_t> FreeSpaceOf(const fs::path& folder) {
    struct statvfs st {};
    if (::statvfs(ExistingFolder(folder).c_str(), &st) != 0) return std::nullopt;
    return static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
}

CCopyJob::CCopyJob(std::vector<CopyItem> items, FreeSpaceQuery freeSpace)
    : m_Items(std::move(items)), m_FreeSpace(std::move(freeSpace)) {
    m_Progress.filesTotal = m_Items.size();
}

SpaceCheck CCopyJob::CheckSpace() const {
    // The targets grouped by the file system that will hold them.
    struct Share {
        fs::path folder;
        uint64_t needed = 0;
    };
    std::map<dev_t, Share> shares;
    for (size_t i = 0; i < m_Items.size(); ++i) {
        const fs::path folder = ExistingFolder(m_Items[i].target.parent_path());
        struct stat st {};
        const dev_t device = ::stat(folder.c_str(), &st) == 0 ? st.st_dev : 0;
        Share& share = shares[device];
        if (share.folder.empty()) share.folder = folder;
        share.needed += m_Sizes[i];
    }
    for (const auto& [device, share] : shares) {
        const std::optional<uint64_t> available = m_FreeSpace ? m_FreeSpace(share.folder) : std::nullopt;
        if (available && *available < share.needed) return {false, share.folder, share.needed, *available};
    }
    return {};
}

FileOperationReport CCopyJob::Run(const ProgressFn& progress, const std::atomic<bool>& cancel) {
    FileOperationReport report;
    report.m_bRan = true;
    m_Sizes.clear();
    m_Progress = FileJobProgress{};
    m_Progress.filesTotal = m_Items.size();
    for (const CopyItem& item : m_Items) {
        m_Sizes.push_back(SizeOf(item.source));
        m_Progress.bytesTotal += m_Sizes.back();
    }
    m_Space = CheckSpace();
    if (!m_Space.enough) return report;
    const auto start = std::chrono::steady_clock::now();
    const auto tell = [&] {
        m_Progress.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (progress) progress(m_Progress);
    };
    for (size_t i = 0; i < m_Items.size(); ++i) {
        if (cancel) break;
        const CopyItem& item = m_Items[i];
        m_Progress.current = item.source;
        tell();
        const uint64_t before = m_Progress.bytesDone;
        std::error_code ec;
        errno = 0;
        const fs::path folder = item.target.parent_path();
        if (!folder.empty() && !fs::is_directory(folder, ec) && !CreateDirectoryTree(folder)) {
            report.Add(item.target, FileOperationOutcome::kFailed, errno != 0 ? errno : ENOTDIR);
        } else if (IsSameFile(item.source, item.target)) {
            report.Add(item.target, FileOperationOutcome::kSkippedSameFile);
        } else if (IsReadOnlyFile(item.target)) { // a locked recording is not overwritten
            report.Add(item.target, FileOperationOutcome::kSkippedLocked);
        } else {
            int error = 0;
            const bool copied = CopyFileViaTemporary(item.source, item.target, &error, [&](uint64_t copied) {
                m_Progress.bytesDone = before + copied;
                tell();
                return !cancel;
            });
            if (copied)
                report.Add(item.target, FileOperationOutcome::kDone);
            else
                report.Add(item.target, FileOperationOutcome::kFailed, error);
            if (!copied && error == ECANCELED) break;
        }
        // A file that was skipped or failed counts as passed, so the time left stays honest.
        m_Progress.bytesDone = before + m_Sizes[i];
        ++m_Progress.filesDone;
        tell();
    }
    return report;
}

std::string FormatByteSize(uint64_t bytes) {
    char text[32];
    const double value = static_cast<double>(bytes);
    if (bytes >= (uint64_t{1} << 30))
        std::snprintf(text, sizeof text, "%.1f GB", value / (1 << 30));
    else if (bytes >= (uint64_t{1} << 20))
        std::snprintf(text, sizeof text, "%.0f MB", value / (1 << 20));
    else if (bytes >= 1024)
        std::snprintf(text, sizeof text, "%.0f KB", value / 1024);
    else
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    return text;
}
