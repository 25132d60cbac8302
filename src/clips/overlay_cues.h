// The texts a clip shows over its picture and in its subtitle track: one cue per second of the
// recording inside the clip, each with that second's local date and time, the speed and place
// of the last valid fix at or before it, and the horizontal G-force of the nearest sample.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clip_telemetry.h"

struct OverlayCue {
    int64_t startMs = 0; // from the clip's start
    int64_t endMs = 0;   // exclusive
    int64_t recordingMs = 0; // the cue's start, from the recording's start
    std::string dateTime;    // "2024/05/17 08:00:03"; empty when the start time is unknown
    std::string speed;       // "47 Km/h"; empty without a valid fix so far
    std::string position;    // "48.139304N, 11.579344E"; empty without a valid fix so far
    std::string gforce;      // "G 0.42"; empty without a sample that has a time
};

// The cues of the part [fromMs, toMs) of the recording (ms from its start). Their edges lie on
// the recording's whole seconds, so the first and last cue may be shorter than a second.
// Nothing for an empty or negative span.
std::vector<OverlayCue> BuildOverlayCues(const ClipTelemetry& telemetry, int64_t fromMs, int64_t toMs);

// The shown lines of a cue: date and time with the speed, then the place with the G-force;
// a line with nothing to say is left out.
std::vector<std::string> CueLines(const OverlayCue& cue);

// "48.139304N, 11.579344E": degrees to six places, the hemisphere as a letter.
std::string PositionText(double latitude, double longitude);
// "G 0.42".
std::string GForceText(double horizontalG);
