// `veltrix-probe --scan DIR`: the folder scan of the catalog, run from the command line.
// Implemented in scan_command.cpp next to this header when the catalog is part of the build.
#pragma once

#include <filesystem>

// Returns the probe's exit status.
int RunScanCommand(const std::filesystem::path& dir);
