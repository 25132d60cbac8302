// `veltrix-probe --scan DIR`: the catalog of DIR (entries, group rows, file rows with the
// list texts) as one JSON object on one line. Exit status 0, or 1 when DIR is not a folder.
#include "scan_command.h"

#include <cstdio>

#include "recording_catalog.h"
#include "scan_report.h"

int RunScanCommand(const std::filesystem::path& dir) {
    try {
        CRecordingCatalog catalog;
        const bool found = catalog.ScanSource(dir, std::string());
        const std::string json = ScanReportJson(catalog) + "\n";
        std::fwrite(json.data(), 1, json.size(), stdout);
        std::fflush(stdout);
        return found ? 0 : 1;
    } catch (...) { // out of memory: no half-written object
        return 1;
    }
}
