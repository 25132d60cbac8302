#include "subtitle_file.h"

#include <fcntl.h>

#include "clip_files.h"
#include "file_descriptor.h"
#include "subtitle_text.h"

bool WriteSrtFile(const std::filesystem::path& path, const std::vector<OverlayCue>& cues, bool replace,
                  std::string& error) {
    std::error_code code;
    if (!replace && std::filesystem::exists(std::filesystem::symlink_status(path, code))) {
        error = path.string() + " exists: not overwritten";
        return false;
    }
    PartialOutput partial;
    if (!partial.Create(path, error)) return false;
    FileDescriptor fd(::open(partial.Path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.get() < 0 || !WriteAll(fd.get(), SrtText(cues)) || !fd.Close()) {
        error = path.string() + ": cannot be written";
        return false;
    }
    return partial.Commit(replace, error);
}
