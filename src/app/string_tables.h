// The compiled string tables: one table of numbered UTF-8 texts per language identifier.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

struct LangString {
    unsigned id;
    const char* text;
};

struct StringTable {
    uint16_t langId;
    std::span<const LangString> strings;
};

// Accessible names of the main window's controls that have no tool tip (every table has them).
constexpr unsigned IDS_ACC_PREVIOUS_FILE = 1101;
constexpr unsigned IDS_ACC_NEXT_FILE = 1102;
constexpr unsigned IDS_ACC_PRINT = 1103;
constexpr unsigned IDS_ACC_FRONT_REAR_VIEW = 1104;
constexpr unsigned IDS_ACC_FRONT_CAMERA = 1105;
constexpr unsigned IDS_ACC_REAR_CAMERA = 1106;
constexpr unsigned IDS_ACC_POSITION = 1107;
constexpr unsigned IDS_ACC_FILES = 1108;
constexpr unsigned IDS_ACC_GROUPS = 1109;
constexpr unsigned IDS_ACC_GSENSOR = 1110;
constexpr unsigned IDS_ACC_MAP = 1111;
constexpr unsigned IDS_ACC_PLAYBACK_SPEED = 1112;
constexpr unsigned IDS_ACC_COMPASS = 1113;
constexpr unsigned IDS_ACC_GPS_SIGNAL = 1114;
constexpr unsigned IDS_ACC_VEHICLE_DATA = 1115;
constexpr unsigned IDS_ACC_GFORCE = 1116;

// Keyboard commands, the about box's shortcut list, the file-operation failure report and the
// restart failure (every table has them).
constexpr unsigned IDS_CMD_FULL_VIDEO = 1121;
constexpr unsigned IDS_CMD_SEEK_BACK = 1122;
constexpr unsigned IDS_CMD_SEEK_FORWARD = 1123;
constexpr unsigned IDS_CMD_VOLUME_UP = 1124;
constexpr unsigned IDS_CMD_VOLUME_DOWN = 1125;
constexpr unsigned IDS_CMD_LEAVE_FULL_VIDEO = 1126;
constexpr unsigned IDS_SHORTCUTS = 1127;
constexpr unsigned IDS_SHORTCUT_KEY = 1128;
constexpr unsigned IDS_SHORTCUT_COMMAND = 1129;
constexpr unsigned IDS_FILES_FAILED = 1130;     // "%d of %d"
constexpr unsigned IDS_REASON_LOCKED = 1131;
constexpr unsigned IDS_REASON_PERMISSION = 1132;
constexpr unsigned IDS_REASON_MISSING = 1133;
constexpr unsigned IDS_REASON_DISK_FULL = 1134;
constexpr unsigned IDS_FILES_NOT_LISTED = 1135; // "%d"
constexpr unsigned IDS_RESTART_FAILED = 1136;   // "%s": the system's reason

// The snapshot command could save neither the front nor the rear picture (every table has it).
constexpr unsigned IDS_SNAPSHOT_NOT_SAVED = 1137;

// What the file, snapshot and print commands tell the user (every table has them).
constexpr unsigned IDS_DELETE_SUMMARY = 1140;    // "%d" files, "%d" groups
constexpr unsigned IDS_LOCKED_SUMMARY = 1141;    // "%d" files, "%d" groups
constexpr unsigned IDS_UNLOCKED_SUMMARY = 1142;  // "%d" files, "%d" groups
constexpr unsigned IDS_NOTHING_TO_CHANGE = 1143;
constexpr unsigned IDS_LOCK_FILES = 1144;        // the lock entry when it locks (236 unlocks)
constexpr unsigned IDS_REAR_SNAPSHOT_FAILED = 1145;
constexpr unsigned IDS_PRINT_FAILED = 1146;

// G-force events: the Events list, the kinds' words and the event steps (every table has them).
constexpr unsigned IDS_EVENTS = 1230;
constexpr unsigned IDS_EVENT_HARSH = 1231;
constexpr unsigned IDS_EVENT_IMPACT = 1232;
constexpr unsigned IDS_CMD_NEXT_EVENT = 1233;
constexpr unsigned IDS_CMD_PREVIOUS_EVENT = 1234;

// File jobs on a worker: the progress dialog, the refusal of a second job while one runs and a
// copy that does not fit (every table has them).
constexpr unsigned IDS_JOB_FILE_OF = 1250;    // "%s" title, "%s" file number, "%s" files
constexpr unsigned IDS_JOB_BYTES_OF = 1251;   // "%s" done, "%s" total
constexpr unsigned IDS_JOB_SPEED = 1252;      // "%s" bytes, per second
constexpr unsigned IDS_JOB_TIME_LEFT = 1253;  // "%s" duration
constexpr unsigned IDS_JOB_CANCELLING = 1254; // "%s" title
constexpr unsigned IDS_JOB_REFUSED = 1255;    // "%s" the running job's title
constexpr unsigned IDS_JOB_NO_SPACE = 1256;   // "%s" folder, "%s" needed, "%s" free
constexpr unsigned IDS_JOB_HOURS = 1257;      // "%s" h "%s" min
constexpr unsigned IDS_JOB_MINUTES = 1258;    // "%s" min "%s" s
constexpr unsigned IDS_JOB_SECONDS = 1259;    // "%s" s
// "The card does not answer: the map and gauges of %s stay empty."
constexpr unsigned IDS_TELEMETRY_NOT_ANSWERING = 1370;
constexpr unsigned IDS_NO_EVENTS = 1371;
constexpr unsigned IDS_PLAYER_NOT_ANSWERING = 1372;

// Every table, in no particular order.
std::span<const StringTable* const> AllStringTables();
// The table stored under exactly `langId`, or nullptr.
const StringTable* FindStringTable(uint16_t langId);
// The text `id` of `table`, or nullptr when the table (or the text) is missing.
const char* FindLangString(const StringTable* table, unsigned id);

extern const StringTable kStringTableEnglish;
extern const StringTable kStringTableSimplifiedChinese;
extern const StringTable kStringTableTraditionalChinese;
extern const StringTable kStringTableSpanish;
extern const StringTable kStringTableRussian;
extern const StringTable kStringTablePortuguese;
extern const StringTable kStringTableJapanese;
extern const StringTable kStringTableGerman;
extern const StringTable kStringTableFrench;
extern const StringTable kStringTableKorean;
extern const StringTable kStringTableItalian;
extern const StringTable kStringTableLatvian;
extern const StringTable kStringTablePolish;
extern const StringTable kStringTableRomanian;
extern const StringTable kStringTableSlovak;
extern const StringTable kStringTableUkrainian;
