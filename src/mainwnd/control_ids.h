// Control ids of the main window's children. Commands and tests address controls by these.
#pragma once

// Video panes, their background frames and the sliders.
constexpr int IDC_FRONT_PANE = 1002;
constexpr int IDC_REAR_PANE = 1013;
constexpr int IDC_FRONT_FRAME = 1008;
constexpr int IDC_REAR_FRAME = 1011;
constexpr int IDC_SEEK_SLIDER = 1009;
constexpr int IDC_VOLUME_SLIDER = 1021;
constexpr int IDC_TRIP_BAR = 1092; // the whole trip's time line, shown while a trip plays

// Telemetry widgets and lists.
constexpr int IDC_GSENSOR = 1003;
constexpr int IDC_MAP_PLACEHOLDER = 1004;
constexpr int IDC_FILE_LIST = 1028;
constexpr int IDC_GROUP_LIST = 1029;
constexpr int IDC_EVENT_LIST = 1093; // the G-force events of the recording or trip, under the files
constexpr int IDC_TRIP_SUMMARY = 1094; // the playing trip's figures, between the files and the events
constexpr int IDC_GAUGE_BOX = 1076;
constexpr int IDC_GAUGE_FIRST = 1200; // accelerator
constexpr int IDC_GAUGE_STEERING = 1202;
constexpr int IDC_GAUGE_LAST = 1211; // outside temperature
constexpr int IDC_TURN_SIGNAL = 1061;
constexpr int IDC_LOOK_DOWN = 1212;
constexpr int IDC_COMPASS = 1059;
constexpr int IDC_SPEED_LABEL = 1060;
constexpr int IDC_PB_SPEED_LABEL = 1070;
constexpr int IDC_GPS_INDICATOR = 1012;
constexpr int IDC_LOGO = 1050;
constexpr int IDC_TITLE = 1051;
constexpr int IDC_BANNER = 1068;

// Command buttons.
constexpr int IDC_OPEN = 1001;
constexpr int IDC_SAVE_AS = 1005;
constexpr int IDC_SNAPSHOT = 1006;
constexpr int IDC_DELETE = 1014;
constexpr int IDC_CONFIG = 1015;
constexpr int IDC_PLAY = 1016;
constexpr int IDC_STOP = 1017;
constexpr int IDC_FASTER = 1018;
constexpr int IDC_SLOWER = 1020;
constexpr int IDC_AUTO_NEXT = 1022;
constexpr int IDC_ROTATE = 1023;
constexpr int IDC_KML = 1024;
constexpr int IDC_MAP_SWITCH = 1025;
constexpr int IDC_GSENSOR_SWITCH = 1026;
constexpr int IDC_LOCK = 1027;
constexpr int IDC_MINIMIZE = 1045;
constexpr int IDC_CLOSE = 1046;
constexpr int IDC_VOLUME_BUTTON = 1048;
constexpr int IDC_SMALL_SIZE = 1053;
constexpr int IDC_MEDIUM_SIZE = 1063;
constexpr int IDC_LARGE_SIZE = 1064;
constexpr int IDC_PRINT = 1077;
constexpr int IDC_PREVIOUS = 1078;
constexpr int IDC_NEXT = 1079;
constexpr int IDC_SWITCH = 1080;
constexpr int IDC_MAXIMIZE = 4;
constexpr int IDC_ABOUT = 57670;
