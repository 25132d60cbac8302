// The folder that `veltrix PATH` opens: PATH made absolute from where the viewer was started,
// without "../" left in it; a file (a file manager hands over a recording) stands for its folder.
#pragma once

#include <filesystem>

std::filesystem::path StartFolderOf(const std::filesystem::path& given);
