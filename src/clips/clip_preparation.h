// From what the user chose (recordings, span, layout, picture, file) to a complete export
// request: the recordings examined by the viewer's readers, the rear's delay from the start
// times, the front's telemetry turned into the cues. Reads files: call it off the UI thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "clip_request.h"
#include "clip_telemetry.h"

struct ClipChoice {
    std::filesystem::path front;
    std::filesystem::path rear; // empty: none
    int64_t fromMs = 0;         // from the front recording's start
    int64_t toMs = 0;
    std::optional<ClipLayout> layout; // empty: side by side with a rear, else the front only
    ClipPicture picture = ClipPicture::kOverlay;
    std::filesystem::path output;
};

// The camera as the export sees it; `frontStart` is the front recording's start time (the rear
// is placed by the difference of the two start times; an unknown start time places it at 0).
ClipCamera ClipCameraOf(const ExaminedRecording& recording, int64_t frontStart);

// Empty, with `error` in words, when a recording is not accepted by the readers. A span that ends
// less than a second after the front recording is taken to its end.
std::optional<ClipRequest> PrepareClipRequest(const ClipChoice& choice, std::string& error);
