#include "accessible_names.h"

#include "control_ids.h"
#include "language.h"
#include "string_tables.h"
#include "window_commands.h"
#include "window_title.h"

#include <iterator>

namespace {

constexpr int kMapWindowId = 194;

const AccessibleNameRow kRows[] = {
    // The command buttons are named by the command table; the others here. With a tool tip: its
    // text.
    {IDC_VOLUME_SLIDER, 218},
    {IDC_SPEED_LABEL, 247},
    {IDC_FRONT_PANE, IDS_ACC_FRONT_CAMERA},
    {IDC_FRONT_FRAME, IDS_ACC_FRONT_CAMERA},
    {IDC_REAR_PANE, IDS_ACC_REAR_CAMERA},
    {IDC_REAR_FRAME, IDS_ACC_REAR_CAMERA},
    {IDC_SEEK_SLIDER, IDS_ACC_POSITION},
    {IDC_FILE_LIST, IDS_ACC_FILES},
    {IDC_GROUP_LIST, IDS_ACC_GROUPS},
    {IDC_GSENSOR, IDS_ACC_GSENSOR},
    {kMapWindowId, IDS_ACC_MAP},
    {IDC_PB_SPEED_LABEL, IDS_ACC_PLAYBACK_SPEED},
    {IDC_COMPASS, IDS_ACC_COMPASS},
    {IDC_GPS_INDICATOR, IDS_ACC_GPS_SIGNAL},
    {IDC_GAUGE_BOX, IDS_ACC_VEHICLE_DATA},
    {IDC_LOOK_DOWN, IDS_ACC_GFORCE},
    // The gauges by their captions.
    {1200, 1083},
    {1201, 1084},
    {1202, 1085},
    {1203, 1086},
    {1204, 1087},
    {1205, 1088},
    {1206, 1089},
    {1207, 1091},
    {1208, 1090},
    {1209, 1093},
    {1210, 1094},
    {1211, 1092},
    {IDC_TURN_SIGNAL, 1095},
    // Pictures of the product's name.
    {IDC_LOGO, 0},
    {IDC_TITLE, 0},
    {IDC_BANNER, 0},
};

} // namespace

std::vector<AccessibleNameRow> AccessibleNameTable() {
    std::vector<AccessibleNameRow> rows;
    for (const WindowCommand& command : WindowCommands())
        if (command.button.has_value()) rows.push_back({command.id, command.textId});
    rows.insert(rows.end(), std::begin(kRows), std::end(kRows));
    return rows;
}

unsigned AccessibleNameStringId(int controlId) {
    for (const AccessibleNameRow& row : AccessibleNameTable())
        if (row.controlId == controlId) return row.stringId;
    return 0;
}

std::string AccessibleNameOf(int controlId) {
    for (const AccessibleNameRow& row : AccessibleNameTable()) {
        if (row.controlId != controlId) continue;
        return row.stringId == 0 ? std::string(kProductName) : LoadLangString(row.stringId);
    }
    return {};
}
