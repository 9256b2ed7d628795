// Resource and control ids of the library's resource script.
#ifndef MIROVA_RESOURCE_H
#define MIROVA_RESOURCE_H

// Controls the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
// Face Tracker rollup of the expression object.
#define IDD_FACE_TRACKER 1067
#define IDC_TRACKER_APPLY 1103
#define IDC_TRACKER_OPEN 1107
#define IDC_TRACKER_DISPLAY 1108
#define IDC_TRACKER_NAME 1109
#define IDC_TRACKER_FRAMES 1110

// The tracker view window's menu bar.
#define IDR_TRACKER_VIEW_MENU 118
#define ID_VIEW_TRAJECTORIES 20011
#define ID_VIEW_NAMES 20012
#define ID_VIEW_EXTENTS 20013

#endif

// Motion-control panel.
#define IDD_MOTION_PANEL 1070
#define IDC_MOTION_APPLY 1103
#define IDC_MOTION_NAME 1109
#define IDC_MOTION_OPEN 1136
#define IDC_MOTION_SAMPLES 1138
#define IDC_MOTION_FPS 1140
#define IDC_MOTION_STATUS 1141
#define IDC_MOTION_PERCENT 1142
#define IDC_MOTION_TRACK 1143
#define IDC_MOTION_EAST_WEST 1144
#define IDC_MOTION_NORTH_SOUTH 1145
#define IDC_MOTION_PAN 1146
#define IDC_MOTION_TILT 1147
#define IDC_MOTION_ROLL 1148

#endif
