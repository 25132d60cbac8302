// The catalog of recordings: built by a folder scan (or from one file), sorted by start
// time, cut into groups, and turned into the rows of the group and file lists. The file
// operations (lock, unlock, delete, copy) act on whole marked groups.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalog_rows.h"
#include "catalog_view.h"
#include "file_job_plans.h"
#include "file_operation_report.h"
#include "recording_entry.h"
#include "video_parser.h"

class CRecordingCatalog {
  public:
    // Creates the reader for a file by its name; null when there is none.
    using ParserFactory = std::function<std::unique_ptr<COrvexVideoParser>(const std::filesystem::path&)>;

    CRecordingCatalog();

    void SetParserFactory(ParserFactory factory) { m_ParserFactory = std::move(factory); }
    void SetObserver(ICatalogObserver* observer) { m_pObserver = observer; }
    void SetGroupLineState(const IGroupLineState* lines) { m_pGroupLines = lines; }

    // --- building ---
    // Rebuilds the catalog from `folder` (fileName empty) or from folder/fileName.
    // False only when the folder or the file does not exist; the catalog is then empty.
    bool ScanSource(const std::filesystem::path& folder, const std::string& fileName);
    // Empties entries and rows and forgets the current entry; a folder scan also resets
    // files visited and has-GPS-blocks.
    void ResetCatalog(bool forFolderScan = true);
    // The folder scan's callback (see FindFilesRecursive).
    void AddScannedFile(const std::string& root, const std::string& relative, const std::string& name,
                        bool isFolder);
    // Adds one file chosen by the user. False when it does not exist.
    bool AddSingleFile(const std::filesystem::path& folder, const std::string& name);
    void SortCatalog();
    void GroupCatalog(); // also BuildRows and tells the observer
    void BuildRows();

    // --- reading ---
    const std::vector<RecordingEntry>& Entries() const { return m_Entries; }
    // Changes whenever entries are removed or the rows are rebuilt: what holds entry indices or a
    // copy of the entries built from an older revision must build them again.
    uint64_t Revision() const { return m_llRevision; }
    const std::vector<GroupRow>& GroupRows() const { return m_GroupRows; }
    const std::vector<FileRow>& FileRows() const { return m_FileRows; }
    int64_t FilesVisited() const { return m_llFilesVisited; }
    bool HasGpsBlocks() const { return m_bHasGpsBlocks; }
    // folder + subfolder + name
    std::filesystem::path EntryPath(size_t index) const;
    // folder + subfolder, as the file list shows it
    std::string EntryFolderText(size_t index) const;

    int CurrentEntry() const { return m_nCurrentEntry; }
    void SetCurrentEntry(int index) { m_nCurrentEntry = index; }

    // --- file operations on the marked groups ---
    bool MarkGroups();
    int CurrentGroup();
    bool CurrentGroupLocked();
    // Marks the groups and says what a command would act on, without changing anything.
    MarkedSelection InspectMarked();
    // Lock, unlock, delete and copy report per file what happened (see file_operation_report.h).
    FileOperationReport LockMarked();
    FileOperationReport UnlockMarked();
    FileOperationReport DeleteMarked();
    FileOperationReport CopyMarked(const std::filesystem::path& destination,
                                   const ConfirmOverwriteFn& confirmOverwrite);

    // The same commands with the file work done elsewhere (a worker thread, file_job_plans.h):
    // the plans mark the groups and read what to do, changing nothing on disk; the apply steps
    // take the work's report back. Both run on the catalog's thread.
    DeletePlan PlanDeleteMarked();
    ReadOnlyPlan PlanReadOnlyMarked(bool makeReadOnly);
    // Asks `confirmOverwrite` for every existing target, as CopyMarked does; folders are not made.
    CopyPlan PlanCopyMarked(const std::filesystem::path& destination, const ConfirmOverwriteFn& confirmOverwrite);
    // Removes the entries of the files the report says were deleted (kDone), then groups again.
    void ForgetDeletedFiles(const FileOperationReport& report);
    // Sets or clears the lock marks of the files done, and the groups' marks; the lists are told.
    void ApplyReadOnlyChanges(bool madeReadOnly, const FileOperationReport& report);

  private:
    bool ScanSourceUnguarded(const std::filesystem::path& folder, const std::string& fileName);
    std::unique_ptr<COrvexVideoParser> CreateParser(const std::filesystem::path& path) const;
    void NotifyRowsChanged();
    void RecomputeGroupLockMarks(GroupRow& row) const;
    // Marks the groups, calls `change` for each entry of a marked group, then updates the
    // groups' lock marks and the lists. The report is empty and false when no group was marked.
    FileOperationReport ChangeMarkedEntries(const std::function<void(size_t, FileOperationReport&)>& change);
    // An entry of the row has a lock mark or its file has no write bit.
    bool GroupHoldsLockedFile(const GroupRow& row) const;
    bool RemoveEntry(size_t index);

    std::vector<RecordingEntry> m_Entries;
    std::vector<GroupRow> m_GroupRows;
    std::vector<FileRow> m_FileRows;
    int64_t m_llFilesVisited = 0;
    bool m_bHasGpsBlocks = false;
    int m_nCurrentEntry = -1;
    uint64_t m_llRevision = 0;
    int m_nCurrentGroup = -1;
    ParserFactory m_ParserFactory;
    ICatalogObserver* m_pObserver = nullptr;
    const IGroupLineState* m_pGroupLines = nullptr;
};
