// The telemetry of recordings as CSV: one row per G-sensor sample with the fix and vehicle values
// nearest to it in time. UTF-8 (names that are not become U+FFFD), "," between fields, "." as the
// decimal point whatever the locale, numbers in their shortest form that reads back exactly, an
// empty field where there is no value, rows ending in CR LF. A recording whose G-sensor rate is 0
// gives no rows (its samples have no time). Shared by the window's CSV export.
//
// Columns (header row first):
//   recording        file name of the recording (a trip lists several, in the given order)
//   time_ms          the sample's time after the recording's start (i * 1000 / rate)
//   local_time       start time + time_ms, "YYYY-MM-DD hh:mm:ss.mmm" (camera clock, no zone)
//   g_x g_y g_z      the axes in G; empty for a missing reading
//   g_h              horizontal force sqrt(x^2 + y^2) in G; empty for a missing reading
//   latitude longitude   decimal degrees of the nearest fix (fix i at i / GPS rate s); empty when
//                    there is no fix or it is not a usable position (as the map decides)
//   altitude_m gps_speed_kmh heading_deg   of that fix when usable
//   vehicle_speed_kmh engine_rpm power_pct torque_pct water_temp_c oil_temp_c outside_temp_c
//                    the nearest vehicle sample's values in units (bus speed / 62, temperatures
//                    byte - 48, outside (byte - 80) / 2), empty when unavailable
//   accelerator brake gear steering turn_lights   the bus bytes as recorded, empty when unavailable
#pragma once

#include <ostream>
#include <span>

#include "track_file_source.h"

void WriteTelemetryCsv(std::ostream& out, std::span<const TrackFileRecording> recordings);

// One CSV field: as it stands, or in double quotes (inner quotes doubled) when it holds a comma,
// a quote or a line break.
std::string CsvField(std::string_view text);
