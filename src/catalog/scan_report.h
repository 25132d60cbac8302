// The catalog as one JSON object: entries, group rows and file rows with the texts the
// two lists show. Used by `veltrix-probe --scan`.
#pragma once

#include <string>

#include "recording_catalog.h"

// A JSON string literal (with quotes). Bytes that are not valid UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);

// One line, no trailing newline.
std::string ScanReportJson(const CRecordingCatalog& catalog);
