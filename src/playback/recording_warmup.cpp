#include "recording_warmup.h"

#include <fcntl.h>
#include <unistd.h>

size_t WarmRecordingFiles(const std::vector<std::filesystem::path>& paths) {
    size_t opened = 0;
    for (const std::filesystem::path& path : paths) {
        if (path.empty()) continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        ++opened;
        // The whole file: the demuxer reads the index (often at the end) and then the start.
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
        ::close(fd);
    }
    return opened;
}
