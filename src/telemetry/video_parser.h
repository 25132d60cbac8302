// Base of the container readers (MP4/MOV, AVI, MPEG-TS). The catalog creates one reader
// per file by extension, uses it for that file and destroys it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "records.h"

// Status of a file as seen right after a reader opened it.
struct FileStatus {
    int64_t m_ctime = 0; // creation (birth) time, seconds since 1970; modification time where unknown
    int64_t m_mtime = 0;
    int64_t m_atime = 0;
    uint64_t m_size = 0;
    bool m_bReadOnly = false;
    bool m_bHidden = false;
    std::filesystem::path m_szFullName;
};

// Fills `status` from the file system; false when the file cannot be examined.
bool ReadFileStatus(const std::filesystem::path& path, FileStatus& status);

class COrvexVideoParser {
public:
    virtual ~COrvexVideoParser() = default;
    virtual void SetMediaInfo(MediaInfo* info) { (void)info; }
    // 0 on success, -1 on failure. Never throws.
    virtual int Parse(const std::filesystem::path& path) {
        (void)path;
        return 0;
    }
    virtual void SetFileStatus(FileStatus* status) { (void)status; }
};
