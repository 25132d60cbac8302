// `veltrix-probe --events FILE...`: the G-force events of each recording as the viewer finds them
// (the same loading, detection and "EVENTS" settings), one JSON object per file on one line:
//   {"path":...,"accepted":true,"gsensor_rate":10,"samples":600,
//    "events":[{"time_ms":1200,"duration_ms":300,"kind":"harsh","peak_g":0.5}]}
#pragma once

#include <string>
#include <vector>

#include "gforce_events.h"

namespace probe {
std::string EventsJson(const std::vector<GForceEvent>& events);
}

// `argv[1]` is "--events". Returns the probe's exit status: 0 every file accepted and its
// telemetry read, 1 otherwise (its object then has "accepted":false or an "error"), 2 usage.
int RunEventsCommand(int argc, char** argv);
