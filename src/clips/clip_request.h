// What one clip export is asked to make: which recordings, which span, which picture.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "overlay_cues.h"

enum class ClipLayout {
    kSideBySide,       // front left, rear right, each half the front's size
    kFrontOnly,
    kRearOnly,
    kPictureInPicture, // the rear a third of the front's size in its top right corner
};

enum class ClipPicture {
    kOverlay, // re-encoded with the cue texts burned in
    kPlain,   // re-encoded without them
    kCopy,    // the recordings' own video, cut at key frames; nothing burned in
};

// "side", "front", "rear", "pip"; and back (empty for another word).
const char* ClipLayoutName(ClipLayout layout);
std::optional<ClipLayout> ClipLayoutFromName(const std::string& name);

// One camera's recording as the export uses it.
struct ClipCamera {
    std::filesystem::path path;
    int width = 0, height = 0; // picture size; 0: unknown (1920 x 1080 assumed)
    int64_t durationMs = 0;    // 0: unknown
    int64_t delayMs = 0;       // how much later than the front recording it started (front: 0)
};

struct ClipRequest {
    ClipCamera front;
    std::optional<ClipCamera> rear;
    int64_t fromMs = 0; // the span, from the front recording's start
    int64_t toMs = 0;
    ClipLayout layout = ClipLayout::kFrontOnly;
    ClipPicture picture = ClipPicture::kOverlay;
    // The subtitle track of every clip, and the burned-in texts of kOverlay; times from the
    // clip's start. Empty: no subtitle track.
    std::vector<OverlayCue> cues;
    std::filesystem::path output;
    bool replaceExisting = false; // only when the user agreed to replace the file at `output`
    std::string ffmpegProgram = "ffmpeg"; // found on PATH unless it holds a '/'
};
