#include "recording_catalog.h"

#include <algorithm>
#include <system_error>
#include <tuple>

#include "folder_walk.h"
#include "recording_name.h"

#if __has_include("parser_factory.h")
#include "parser_factory.h"
#define VELTRIX_HAVE_PARSER_FACTORY 1
#endif

namespace fs = std::filesystem;

namespace {

// Start times come from file contents: compare them without overflow.
using Wide = __int128;

bool OpensNewGroup(const RecordingEntry& previous, const RecordingEntry& current) {
    const Wide start = current.m_MediaInfo.m_llStartTime;
    const Wide previousStart = previous.m_MediaInfo.m_llStartTime;
    const Wide previousEnd = previousStart + previous.m_MediaInfo.m_uDurationMs / 1000;
    const bool farFromEnd = start < previousEnd - 3 || start > previousEnd + 3;
    const bool farFromStart = start < previousStart - 3 || start > previousStart + 3;
    return farFromEnd && farFromStart;
}

bool ComesBefore(const RecordingEntry& a, const RecordingEntry& b) {
    if (a.m_MediaInfo.m_llStartTime != b.m_MediaInfo.m_llStartTime)
        return a.m_MediaInfo.m_llStartTime < b.m_MediaInfo.m_llStartTime;
    if (a.m_strFileName != b.m_strFileName) // byte order: code point order for UTF-8
        return a.m_strFileName < b.m_strFileName;
    // Equal names in different folders: any fixed order keeps repeated scans alike.
    return std::tie(a.m_strSubfolder, a.m_strFolder) < std::tie(b.m_strSubfolder, b.m_strFolder);
}

} // namespace

CRecordingCatalog::CRecordingCatalog() {
#ifdef VELTRIX_HAVE_PARSER_FACTORY
    m_ParserFactory = [](const fs::path& path) { return CreateVideoParser(path); };
#endif
}

std::unique_ptr<COrvexVideoParser> CRecordingCatalog::CreateParser(const fs::path& path) const {
    return m_ParserFactory ? m_ParserFactory(path) : nullptr;
}

bool CRecordingCatalog::ScanSource(const fs::path& folder, const std::string& fileName) {
    try {
        return ScanSourceUnguarded(folder, fileName);
    } catch (...) { // out of memory or a failing observer: leave an empty, consistent catalog
        ResetCatalog(fileName.empty());
        return false;
    }
}

bool CRecordingCatalog::ScanSourceUnguarded(const fs::path& folder, const std::string& fileName) {
    ResetCatalog(fileName.empty());
    const bool found = fileName.empty()
                           ? FindFilesRecursive(folder,
                                                [this](const std::string& root, const std::string& relative,
                                                       const std::string& name, bool isFolder) {
                                                    AddScannedFile(root, relative, name, isFolder);
                                                })
                           : AddSingleFile(folder, fileName);
    if (!found) {
        m_Entries.clear();
        return false;
    }
    if (!m_Entries.empty()) {
        SortCatalog();
        GroupCatalog();
    }
    return true;
}

void CRecordingCatalog::ResetCatalog(bool forFolderScan) {
    ++m_llRevision;
    m_Entries.clear();
    m_GroupRows.clear();
    m_FileRows.clear();
    m_nCurrentEntry = -1;
    m_nCurrentGroup = -1;
    if (forFolderScan) {
        m_llFilesVisited = 0;
        m_bHasGpsBlocks = false;
    }
    if (m_pObserver) m_pObserver->OnCatalogReset();
}

void CRecordingCatalog::AddScannedFile(const std::string& root, const std::string& relative,
                                       const std::string& name, bool isFolder) {
    if (isFolder) return;
    const fs::path folderPath = root + relative;
    bool locked = false;
    if (ParseRecordingName(folderPath, name, locked)) {
        const fs::path path = folderPath / name;
        if (std::unique_ptr<COrvexVideoParser> parser = CreateParser(path)) {
            RecordingEntry entry;
            entry.m_strFileName = name;
            entry.m_strFolder = root;
            entry.m_strSubfolder = relative;
            parser->SetMediaInfo(&entry.m_MediaInfo);
            if (locked) entry.m_nLockMarks |= kLockMarkG;
            const bool accepted = parser->Parse(path) == 0;
            parser.reset();
            if (accepted) {
                const MediaInfo& info = entry.m_MediaInfo;
                if (info.m_ullGpsOffset != 0 && info.m_uGpsSize != 0) m_bHasGpsBlocks = true;
                m_Entries.push_back(std::move(entry));
            }
        }
    }
    ++m_llFilesVisited;
}

bool CRecordingCatalog::AddSingleFile(const fs::path& folder, const std::string& name) {
    std::string pathText = folder.native();
    if (!pathText.empty() && pathText.back() != '/') pathText += '/';
    pathText += name;
    const fs::path path = pathText;
    std::error_code ec;
    if (name.empty() || !fs::is_regular_file(path, ec)) return false;

    RecordingEntry entry;
    entry.m_strFileName = name;
    entry.m_strFolder = folder.native();
    std::unique_ptr<COrvexVideoParser> parser = CreateParser(path);
    if (!parser) return true;
    FileStatus status;
    ReadFileStatus(path, status); // the reader refreshes it when it opens the file
    parser->SetMediaInfo(&entry.m_MediaInfo);
    parser->SetFileStatus(&status);
    if (name.size() >= 4 && name[3] == 'G') entry.m_nLockMarks |= kLockMarkG;
    const bool accepted = parser->Parse(path) == 0;
    parser.reset();
    if (accepted) {
        if (status.m_bReadOnly) entry.m_nLockMarks |= kLockMarkM;
        m_Entries.push_back(std::move(entry));
    }
    return true;
}

void CRecordingCatalog::SortCatalog() {
    std::sort(m_Entries.begin(), m_Entries.end(), ComesBefore);
}

void CRecordingCatalog::GroupCatalog() {
    m_GroupRows.clear();
    m_FileRows.clear();
    // Every flag is decided afresh: after a deletion an entry may join the group before it.
    for (size_t i = 0; i < m_Entries.size(); ++i)
        m_Entries[i].m_nNewGroup = i == 0 || OpensNewGroup(m_Entries[i - 1], m_Entries[i]) ? 1 : 0;
    BuildRows();
    NotifyRowsChanged();
}

void CRecordingCatalog::BuildRows() {
    ++m_llRevision;
    m_GroupRows.clear();
    m_FileRows.clear();
    GroupRow row;
    uint64_t frontMs = 0, rearMs = 0;
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        const RecordingEntry& entry = m_Entries[i];
        if (i == 0 || entry.m_nNewGroup) {
            if (i != 0) m_GroupRows.push_back(row);
            row = GroupRow{};
            row.m_nGroup = static_cast<int32_t>(m_GroupRows.size());
            row.m_nFirstEntry = static_cast<int32_t>(i);
            frontMs = rearMs = 0;
        }
        const MediaInfo& info = entry.m_MediaInfo;
        m_FileRows.push_back({row.m_nGroup, row.m_nFileCount, static_cast<int32_t>(i), info.m_ullFileSize,
                              info.m_uDurationMs});
        ++row.m_nFileCount;
        row.m_ullSize += info.m_ullFileSize;
        (IsRearRecording(entry.m_strFileName) ? rearMs : frontMs) += info.m_uDurationMs;
        row.m_llLengthMs = static_cast<int64_t>(std::max(frontMs, rearMs));
        row.m_byLockMarks |= static_cast<uint8_t>(entry.m_nLockMarks);
    }
    if (!m_Entries.empty()) m_GroupRows.push_back(row);
}

fs::path CRecordingCatalog::EntryPath(size_t index) const {
    if (index >= m_Entries.size()) return {};
    const RecordingEntry& entry = m_Entries[index];
    std::string path = entry.m_strFolder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + entry.m_strSubfolder + entry.m_strFileName;
}

std::string CRecordingCatalog::EntryFolderText(size_t index) const {
    if (index >= m_Entries.size()) return {};
    return m_Entries[index].m_strFolder + m_Entries[index].m_strSubfolder;
}

void CRecordingCatalog::NotifyRowsChanged() {
    if (m_pObserver) m_pObserver->OnRowsChanged();
}
