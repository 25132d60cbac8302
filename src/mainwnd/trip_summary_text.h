// The words of a trip's figures: one line each for start, end, length, number of recordings,
// distance, top and average speed, in the user's language, as the group line's tool tip and the
// summary panel show them (and screen readers read them).
#pragma once

#include <QString>

#include "trip_summary.h"

// Text ids of the summary (every string table has them).
constexpr unsigned IDS_TRIP_SUMMARY = 1190;
constexpr unsigned IDS_TRIP_START = 1191;
constexpr unsigned IDS_TRIP_END = 1192;
constexpr unsigned IDS_TRIP_LENGTH = 1193;
constexpr unsigned IDS_TRIP_RECORDINGS = 1194;
constexpr unsigned IDS_TRIP_DISTANCE = 1195;
constexpr unsigned IDS_TRIP_TOP_SPEED = 1196;
constexpr unsigned IDS_TRIP_AVERAGE_SPEED = 1197;
// The command that plays the open recording's trip from its start.
constexpr unsigned IDS_CMD_PLAY_TRIP = 1198;

// "H:MM:SS" of a length in ms (whole seconds).
QString TripLengthText(int64_t lengthMs);

// The summary's lines. `kmh`: the speed label's unit (km/h, else mph); the distance is in km with
// three decimals. `routeKnown` false (the route has not been read yet) leaves out the lines that
// need it: distance, top and average speed.
QString TripSummaryText(const TripSummary& summary, bool kmh, bool routeKnown);
