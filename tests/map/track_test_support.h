// Shared helpers of the track plotting and KML tests: fixes, catalog entries and a comma locale.
#pragma once

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fixture_writer.h"
#include "recording_entry.h"

inline GpsFix MakeFix(double lat, double lon, uint8_t flags = 1, int32_t altitude = 0) {
    GpsFix fix;
    std::memset(&fix, 0, sizeof fix);
    fix.latitude = lat;
    fix.longitude = lon;
    fix.altitude = altitude;
    fix.flags = flags;
    return fix;
}

// `count` valid fixes whose coordinates all differ: fix i at (10 + i / 1000, 20 + i / 500).
inline std::vector<GpsFix> DistinctFixes(size_t count) {
    std::vector<GpsFix> fixes;
    for (size_t i = 0; i < count; ++i)
        fixes.push_back(MakeFix(10.0 + i / 1000.0, 20.0 + i / 500.0));
    return fixes;
}

// A catalog entry of `layout` whose chunk lists are not empty (the track is then plotted).
inline RecordingEntry MakeEntry(const std::string& name, TelemetryLayout layout, uint8_t gpsRate = 0) {
    RecordingEntry entry;
    entry.m_strFolder = "/card/";
    entry.m_strSubfolder = "DCIM/";
    entry.m_strFileName = name;
    MediaInfo& info = entry.m_MediaInfo;
    info.m_uLayout = layout;
    info.m_GpsAttr[0] = gpsRate;
    info.m_GsensorAttr[0] = 10;
    info.m_uVehicleRate = 5;
    info.m_llStartTime = 1710486902;
    info.m_ullFileSize = 4096;
    info.m_Chunks1 = info.m_Chunks2 = info.m_Chunks4 = {{0, 64}};
    return entry;
}

// Switches the C and C++ locales to German (decimal comma), built with localedef into a scratch
// folder when the system has none installed. False when no such locale can be had.
inline bool UseCommaLocale() {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) return true;
    const std::filesystem::path dir = fixtures::ScratchDir("comma_locale");
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(dir / "de_DE.UTF-8")) return false;
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

inline void UseClassicLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}
