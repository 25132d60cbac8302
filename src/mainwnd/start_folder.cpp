#include "start_folder.h"

std::filesystem::path StartFolderOf(const std::filesystem::path& given) {
    std::error_code error;
    std::filesystem::path path =
        std::filesystem::weakly_canonical(std::filesystem::absolute(given, error), error);
    if (error || path.empty()) path = given;
    if (std::filesystem::is_regular_file(path, error)) path = path.parent_path();
    return path;
}
