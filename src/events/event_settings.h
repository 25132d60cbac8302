// The event thresholds as the user set them in the "EVENTS" section of the settings file:
//   HARSH_G=0.40  IMPACT_G=1.20  JUMP_G=1.00  HARSH_MIN_MS=150  MERGE_GAP_MS=2000
// A key that is missing, unreadable or not above zero (MERGE_GAP_MS: below zero) keeps its default.
#pragma once

#include "gforce_events.h"

class CAppSettings;

EventThresholds ReadEventThresholds(const CAppSettings& settings);
