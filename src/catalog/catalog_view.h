// What the catalog needs from the list views and the main window. The catalog calls
// these on the thread that runs the operation (the scan runs on a worker thread), so a
// GUI implementation marshals to its own thread.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

class ICatalogObserver {
  public:
    virtual ~ICatalogObserver() = default;
    // The catalog was emptied: delete every line of both lists and drop the telemetry of
    // the open recording (track, G-sensor series and view, vehicle samples).
    virtual void OnCatalogReset() = 0;
    // Group and file rows were rebuilt: delete every line and fill both lists again.
    virtual void OnRowsChanged() = 0;
};

// The state of one line of the group list (line index = group number).
class IGroupLineState {
  public:
    virtual ~IGroupLineState() = default;
    virtual bool IsGroupLineSelected(size_t line) const = 0;
    virtual bool IsGroupLineTicked(size_t line) const = 0;
};

// Asked before a copy replaces an existing file: true to overwrite, false to skip the file.
using ConfirmOverwriteFn = std::function<bool(const std::filesystem::path& target)>;
