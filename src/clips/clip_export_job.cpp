#include "clip_export_job.h"

#include <algorithm>
#include <charconv>

#include "child_process.h"
#include "clip_files.h"
#include "ffmpeg_command.h"
#include "subtitle_text.h"

namespace fs = std::filesystem;

namespace {
constexpr int kPollMs = 100;

ClipExportResult Failed(std::string message) {
    return {ClipExportStatus::kFailed, std::move(message)};
}

ClipExportResult Cancelled() {
    return {ClipExportStatus::kCancelled, "Cancelled."};
}

bool SamePlace(const fs::path& a, const fs::path& b) {
    std::error_code code;
    return fs::equivalent(a, b, code) && !code;
}

// "out_time_us=12345678" lines of -progress; "progress=end" at the end.
class ProgressReader {
  public:
    ProgressReader(int64_t spanMs, const ClipExportJob::Progress& progress) : m_spanMs(spanMs), m_progress(progress) {}

    void Line(std::string_view line) {
        if (line == "progress=end") return Report(1.0);
        constexpr std::string_view key = "out_time_us=";
        if (!line.starts_with(key) || m_spanMs <= 0) return;
        int64_t us = 0;
        const std::string_view value = line.substr(key.size());
        if (std::from_chars(value.data(), value.data() + value.size(), us).ec != std::errc()) return;
        Report(std::clamp(double(us) / 1000.0 / double(m_spanMs), 0.0, 1.0));
    }

  private:
    void Report(double fraction) {
        if (m_progress && fraction > m_last) {
            m_last = fraction;
            m_progress(fraction);
        }
    }

    int64_t m_spanMs;
    const ClipExportJob::Progress& m_progress;
    double m_last = -1;
};

// The last line ffmpeg wrote to its standard error, which says why it stopped.
std::string LastLine(const std::string& text) {
    size_t end = text.find_last_not_of("\r\n ");
    if (end == std::string::npos) return {};
    const size_t begin = text.find_last_of("\r\n", end);
    return text.substr(begin == std::string::npos ? 0 : begin + 1, end + 1 - (begin == std::string::npos ? 0 : begin + 1));
}

std::string CameraProblem(const ClipRequest& r, const ClipCamera& camera, const char* name, bool shown) {
    if (camera.path.empty()) return std::string("no ") + name + " recording given";
    if (SamePlace(r.output, camera.path)) return r.output.string() + " is the " + name + " recording itself";
    if (shown && CutOf(camera, r.fromMs, r.toMs).durationMs <= 0)
        return std::string("the ") + name + " recording holds nothing of the span";
    return {};
}
} // namespace

std::string ClipRequestProblem(const ClipRequest& r) {
    if (r.fromMs < 0 || r.toMs <= r.fromMs) return "the clip must end after it starts";
    if (LayoutUsesRear(r.layout) && !r.rear)
        return std::string("the layout \"") + ClipLayoutName(r.layout) + "\" needs a rear recording";
    if (r.output.empty() || r.output.filename().empty()) return "no output file given";
    const bool frontShown = LayoutUsesFront(r.layout);
    if (std::string problem = CameraProblem(r, r.front, "front", frontShown); !problem.empty()) return problem;
    if (r.rear)
        if (std::string problem = CameraProblem(r, *r.rear, "rear", LayoutUsesRear(r.layout)); !problem.empty()) return problem;
    if (frontShown && r.front.durationMs > 0 && r.toMs > r.front.durationMs)
        return "the clip ends after the front recording (" + SecondsText(r.front.durationMs) + " s)";
    std::error_code code;
    const fs::path folder = r.output.parent_path().empty() ? fs::path(".") : r.output.parent_path();
    if (!fs::is_directory(folder, code)) return folder.string() + ": no such folder";
    if (fs::exists(fs::symlink_status(r.output, code)) && !r.replaceExisting)
        return r.output.string() + " exists: not overwritten";
    if (fs::is_directory(r.output, code)) return r.output.string() + " is a folder";
    return {};
}

ClipExportJob::ClipExportJob(ClipRequest request) : m_request(std::move(request)) {}

ClipExportResult ClipExportJob::Run(const Progress& progress) {
    const ClipRequest& r = m_request;
    if (const std::string problem = ClipRequestProblem(r); !problem.empty()) return Failed(problem);
    if (CancelRequested()) return Cancelled();

    std::string error;
    WorkFolder work;
    if (!work.Create(error)) return Failed(error);
    ClipWorkFiles files;
    const std::string srt = SrtText(r.cues);
    if (!srt.empty()) {
        files.srt = work.Path() / "cues.srt";
        if (!WriteTextFile(files.srt, srt, error)) return Failed(error);
        if (r.picture == ClipPicture::kOverlay) {
            const ClipSize size = ClipPictureSize(r);
            files.ass = work.Path() / "overlay.ass";
            if (!WriteTextFile(files.ass, AssText(r.cues, size.width, size.height), error)) return Failed(error);
        }
    }
    PartialOutput partial;
    if (!partial.Create(r.output, error)) return Failed(error);
    files.output = partial.Path();

    ChildProcess ffmpeg;
    if (!ffmpeg.Start(r.ffmpegProgram, FfmpegClipArguments(r, files), error)) return Failed(error);
    if (progress) progress(0.0);
    ProgressReader reader(r.toMs - r.fromMs, progress);
    const auto onLine = [&reader](std::string_view line) { reader.Line(line); };
    while (ffmpeg.Pump(kPollMs, onLine)) {
        if (CancelRequested()) {
            ffmpeg.Kill();
            ffmpeg.Wait();
            return Cancelled();
        }
    }
    const int status = ffmpeg.Wait();
    if (CancelRequested()) return Cancelled();
    if (status != 0) {
        const std::string why = LastLine(ffmpeg.ErrorOutput());
        return Failed("ffmpeg failed" + (status > 0 ? " (exit status " + std::to_string(status) + ")" : std::string()) +
                      (why.empty() ? std::string() : ": " + why));
    }
    std::error_code code;
    if (fs::file_size(files.output, code) == 0 || code) return Failed("ffmpeg wrote no clip");
    if (!partial.Commit(r.replaceExisting, error)) return Failed(error);
    if (progress) progress(1.0);
    return {ClipExportStatus::kDone, r.output.string()};
}
