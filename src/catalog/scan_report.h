// The catalog as one JSON object: entries, group rows and file rows with the texts the
// two lists show. Used by `veltrix-probe --scan`.
#pragma once

#include <string>

#include "json_text.h"
#include "recording_catalog.h"

// One line, no trailing newline.
std::string ScanReportJson(const CRecordingCatalog& catalog);
