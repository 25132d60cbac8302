// The texts of the clip and track-file commands (every string table has them).
#pragma once

#include <QString>

constexpr unsigned IDS_CMD_CLIP_START = 1300;
constexpr unsigned IDS_CMD_CLIP_END = 1301;
constexpr unsigned IDS_CMD_EXPORT_CLIP = 1302;
constexpr unsigned IDS_CMD_EXPORT_GPX = 1303;
constexpr unsigned IDS_CMD_EXPORT_CSV = 1304;
constexpr unsigned IDS_CMD_EXPORT_SRT = 1305;
constexpr unsigned IDS_CLIP_LAYOUT = 1306;
constexpr unsigned IDS_CLIP_SIDE_BY_SIDE = 1307;
constexpr unsigned IDS_CLIP_FRONT_ONLY = 1308;
constexpr unsigned IDS_CLIP_REAR_ONLY = 1309;
constexpr unsigned IDS_CLIP_PICTURE_IN_PICTURE = 1310;
constexpr unsigned IDS_CLIP_PICTURE = 1311;
constexpr unsigned IDS_CLIP_OVERLAY = 1312;
constexpr unsigned IDS_CLIP_PLAIN = 1313;
constexpr unsigned IDS_CLIP_QUICK_CUT = 1314;
constexpr unsigned IDS_CLIP_OUTPUT = 1315;
constexpr unsigned IDS_CLIP_BROWSE = 1316;
constexpr unsigned IDS_EXPORTING = 1317;
constexpr unsigned IDS_EXPORT_WRITTEN = 1318;   // "%s": the path written
constexpr unsigned IDS_EXPORT_FAILED = 1319;    // "%s": what went wrong
constexpr unsigned IDS_EXPORT_CANCELLED = 1320;
constexpr unsigned IDS_EXPORT_REPLACE = 1321;   // "%s": the existing file
constexpr unsigned IDS_CLIP_NOT_MARKED = 1322;
constexpr unsigned IDS_NO_RECORDING_OPEN = 1323;

// Text `id` in the user-interface language with its "%s" replaced by `argument`.
QString EvidenceText(unsigned id, const QString& argument = {});
