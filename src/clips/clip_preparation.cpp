#include "clip_preparation.h"

#include "ffmpeg_command.h"
#include "overlay_cues.h"

namespace {
constexpr int64_t kEndSlackMs = 1000;
} // namespace

ClipCamera ClipCameraOf(const ExaminedRecording& recording, int64_t frontStart) {
    ClipCamera camera;
    camera.path = recording.path;
    camera.width = recording.info.m_wWidth;
    camera.height = recording.info.m_wHeight;
    camera.durationMs = recording.info.m_uDurationMs;
    const int64_t start = recording.info.m_llStartTime;
    if (start != 0 && frontStart != 0) camera.delayMs = (start - frontStart) * 1000;
    return camera;
}

std::optional<ClipRequest> PrepareClipRequest(const ClipChoice& choice, std::string& error) {
    std::optional<ExaminedRecording> front = ExamineRecording(choice.front, error);
    if (!front) return std::nullopt;
    ClipRequest request;
    const int64_t frontStart = front->info.m_llStartTime;
    request.front = ClipCameraOf(*front, frontStart);
    if (!choice.rear.empty()) {
        const std::optional<ExaminedRecording> rear = ExamineRecording(choice.rear, error);
        if (!rear) return std::nullopt;
        request.rear = ClipCameraOf(*rear, frontStart);
    }
    request.fromMs = choice.fromMs;
    request.toMs = choice.toMs;
    request.layout = choice.layout.value_or(request.rear ? ClipLayout::kSideBySide : ClipLayout::kFrontOnly);
    // "To 60 s" of a recording whose header says 59.967 s means its end.
    const int64_t frontEnd = request.front.durationMs;
    if (LayoutUsesFront(request.layout) && frontEnd > request.fromMs && request.toMs > frontEnd &&
        request.toMs - frontEnd < kEndSlackMs)
        request.toMs = frontEnd;
    request.picture = choice.picture;
    request.output = choice.output;
    request.cues = BuildOverlayCues(LoadClipTelemetry(*front), request.fromMs, request.toMs);
    return request;
}
