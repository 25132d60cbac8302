// The main window's KML command: which recording to export, into which folder, and which
// message tells the user the outcome. The document itself is written by WriteKmlExport.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "recording_entry.h"

class CTrackPlot;
class QWidget;

constexpr unsigned IDS_KML_SAVED = 127;        // "Save KML file: %s OK."
constexpr unsigned IDS_KML_FAILED = 129;       // "Save KML file:%s Failed."
constexpr unsigned IDS_KML_CAPTION = 130;      // "Save KML"
constexpr unsigned IDS_NO_FILES_IN_LIST = 145; // "No files in list."
constexpr unsigned IDS_OK = 166;               // "OK"

// Which message to show, and the path that goes into it (empty unless written).
struct KmlCommandOutcome {
    unsigned textId = IDS_KML_FAILED;
    unsigned captionId = IDS_KML_CAPTION;
    std::string path;
};

// The documents folder followed by "Halvorn Veltrix/KML/"; empty when there is no documents
// folder.
std::filesystem::path KmlExportFolder();

// Exports the track of the current recording into `folder` (created when missing). Message 145
// for an empty catalog; 129 when there is no current recording, when the loaded track is not the
// current recording's, or when anything fails on the way to the disk; 127 with the path written.
KmlCommandOutcome ExportKml(const std::vector<RecordingEntry>& catalog, const CTrackPlot& plot,
                            const std::filesystem::path& folder);

// Text of the outcome's message, in the user-interface language, with the path filled in.
std::string KmlOutcomeText(const KmlCommandOutcome& outcome);

// Command 1024: ExportKml into KmlExportFolder(), then the message box (OK button, no icon).
KmlCommandOutcome OnExportKml(QWidget* parent, const std::vector<RecordingEntry>& catalog,
                              const CTrackPlot& plot);
