// `veltrix-probe --trips DIR`: the trips of a card (one per group of the catalog) with their
// figures, as one JSON object {"trips": [...]} on one line.
#pragma once

#include <filesystem>
#include <string>

#include "recording_catalog.h"

// The JSON text of the trips of `catalog` (no trailing newline). Reads every leading recording's
// telemetry.
std::string TripsJson(const CRecordingCatalog& catalog);

// Returns the probe's exit status: 0, or 1 when DIR is not a folder.
int RunTripsCommand(const std::filesystem::path& dir);
