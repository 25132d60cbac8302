#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "video_parser.h"

bool ReadFileStatus(const std::filesystem::path& path, FileStatus& status) {
    struct statx sx {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) return false;
    status.m_mtime = sx.stx_mtime.tv_sec;
    status.m_atime = sx.stx_atime.tv_sec;
    status.m_ctime = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime.tv_sec : sx.stx_mtime.tv_sec;
    status.m_size = sx.stx_size;
    status.m_bReadOnly = (sx.stx_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    status.m_bHidden = path.filename().string().starts_with('.');
    std::error_code ec;
    status.m_szFullName = std::filesystem::absolute(path, ec);
    return true;
}
