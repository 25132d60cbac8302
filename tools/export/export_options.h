// The command line of veltrix-export:
//   veltrix-export FRONT [REAR] --from SECONDS --to SECONDS [--layout side|front|rear|pip]
//                  [--no-overlay] [--copy] -o OUT.mp4
#pragma once

#include <string>

#include "clip_preparation.h"

// Fills `choice` from the arguments; false with `problem` in words for a usage error.
bool ParseExportOptions(int argc, const char* const* argv, ClipChoice& choice, std::string& problem);

extern const char* const kExportUsage;
