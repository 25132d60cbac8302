// veltrix-export: a clip of a recording (and its rear camera) as MP4, with the telemetry burned
// in and as a subtitle track, or cut without re-encoding. Exit status: 0 written, 1 failed (with
// a message), 2 usage error. Never overwrites a file; Ctrl+C stops ffmpeg and leaves no file.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <iostream>

#include "clip_export_job.h"
#include "export_options.h"

namespace {
constexpr int kWritten = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

// The running job, for the signal handler: Cancel only stores a lock-free atomic flag.
std::atomic<ClipExportJob*> s_pRunningJob{nullptr};

void CancelOnSignal(int) {
    if (ClipExportJob* job = s_pRunningJob.load()) job->Cancel();
}

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = CancelOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void ShowProgress(double fraction) {
    std::fprintf(stderr, "\rveltrix-export: %3d %%", static_cast<int>(fraction * 100));
    if (fraction >= 1.0) std::fputc('\n', stderr);
}
} // namespace

int main(int argc, char** argv) {
    ClipChoice choice;
    std::string problem;
    if (!ParseExportOptions(argc, argv, choice, problem)) {
        std::cerr << "veltrix-export: " << problem << '\n' << kExportUsage;
        return kUsageError;
    }
    std::optional<ClipRequest> request = PrepareClipRequest(choice, problem);
    if (!request) {
        std::cerr << "veltrix-export: " << problem << '\n';
        return kFailed;
    }
    ClipExportJob job(std::move(*request));
    s_pRunningJob.store(&job);
    CatchStopSignals();
    const ClipExportJob::Progress progress = ::isatty(2) ? ClipExportJob::Progress(ShowProgress) : nullptr;
    const ClipExportResult result = job.Run(progress);
    s_pRunningJob.store(nullptr);
    if (result.status != ClipExportStatus::kDone) {
        std::cerr << "veltrix-export: " << result.message << '\n';
        return kFailed;
    }
    std::cout << result.message << '\n';
    std::cout.flush();
    return std::cout ? kWritten : kFailed;
}
