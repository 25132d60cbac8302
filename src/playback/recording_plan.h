// Which file each engine plays for a recording path: the front/rear pairing by name, the silent
// rear beside a playing front, and a rear recording without its front file playing alone.
#pragma once

#include <filesystem>

struct RecordingPlan {
    std::filesystem::path front; // empty: the front engine stays stopped
    std::filesystem::path rear;  // empty: rebuild the rear engine with argument set 0 (no picture)
    bool rearSilent = true;      // opened with ":no-audio" (the front carries the sound)
    // The rear plays alone and is the master: its time drives the slider and the telemetry, and it
    // is heard at the volume slider's volume, following the volume and mute buttons.
    bool RearAlone() const { return front.empty() && !rear.empty(); }
};

// A rear path plays beside its front partner when one exists, else alone (not silent); any other
// path plays in the front engine beside its rear partner, if any.
RecordingPlan PlanRecording(const std::filesystem::path& path);

// The engines' volumes (libVLC's 0..200) for the volume slider's position 0..100: the front engine
// carries the sound; the rear only when it plays alone.
int FrontEngineVolume(int sliderPercent);
int RearEngineVolume(const RecordingPlan& plan, int sliderPercent);
