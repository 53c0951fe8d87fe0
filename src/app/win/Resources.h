#pragma once
// Identifiers of the window's resources: its dialogs and their controls.

#define IDI_APP 1

#define IDD_MAIN 100
#define IDD_VERSION 101
#define IDD_MAPPING 102

// The frame: page area, progress, buttons, status.
#define IDC_PAGE_AREA 1000
#define IDC_PHASE 1001
#define IDC_PROGRESS 1002
#define IDC_STOP 1003
#define IDC_EXPORT 1004
#define IDC_EXIT 1005
#define IDC_STATUS 1006
#define IDC_STATUSNO 1007

// The first page.
#define IDC_GBVERSION 1100
#define IDC_ALIAS 1101
#define IDC_PATH 1102
#define IDC_USERNAME 1103
#define IDC_PASSWORD 1104
#define IDC_STARTDATE 1105
#define IDC_STARTDATE_DROP 1106
#define IDC_ENDDATE 1107
#define IDC_ENDDATE_DROP 1108
#define IDC_STARTNO 1109
#define IDC_ENDNO 1110
#define IDC_BRANCH 1111
#define IDC_FILTER 1112

// The second page.
#define IDC_GBMAPPING 1200
#define IDC_MAPBY 1201
#define IDC_MAPBY_LABEL 1202
#define IDC_GRID 1203
#define IDC_GBITIN 1204
#define IDC_ITINMAP 1205
// The ten category letters and their labels: IDC_LETTER + i, IDC_LETTER_LABEL + i.
#define IDC_LETTER 1210
#define IDC_LETTER_LABEL 1230
