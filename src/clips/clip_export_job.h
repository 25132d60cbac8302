// One clip export: the cue files written, ffmpeg run on the span, its progress reported, and the
// finished MP4 moved to its name at the very end, so an interrupted, failed or cancelled export
// leaves no file behind and an existing file is never replaced unless the request says so.
//
// Threading: construct anywhere; Run blocks on the thread that calls it (the window's worker,
// never the UI thread) and calls `progress` on that thread; Cancel may be called from any
// thread at any time, also before Run (Run then returns kCancelled without starting ffmpeg).
// A cancelled run kills ffmpeg, waits for it and removes the partial file before returning.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "clip_request.h"

enum class ClipExportStatus { kDone, kFailed, kCancelled };

struct ClipExportResult {
    ClipExportStatus status = ClipExportStatus::kFailed;
    std::string message; // kDone: the path written; otherwise what went wrong, in words
};

// What stops the request before anything is written, in words; empty when it can run: the span,
// the cameras its layout needs and whether they hold part of the span, the output (never one of
// the recordings; an existing file only with replaceExisting; its folder must exist).
std::string ClipRequestProblem(const ClipRequest& request);

class ClipExportJob {
  public:
    // fraction: 0 to 1 of the clip written so far.
    using Progress = std::function<void(double fraction)>;

    explicit ClipExportJob(ClipRequest request);
    ClipExportJob(const ClipExportJob&) = delete;
    ClipExportJob& operator=(const ClipExportJob&) = delete;

    ClipExportResult Run(const Progress& progress = {});
    void Cancel() { m_bCancel.store(true); }
    bool CancelRequested() const { return m_bCancel.load(); }

    const ClipRequest& Request() const { return m_request; }

  private:
    ClipRequest m_request;
    std::atomic<bool> m_bCancel{false};
};
