#pragma once
// Identifiers shared by the resource script and the code; language modules use the same ones.

#define IDD_ABOUT 102
#define IDD_SETTINGS 109
#define IDD_MANAGE_SCHEMES 110
#define IDD_SCHEME_CONTROL 111
#define IDI_PROGRAM 104
#define IDI_ABOUT 151
// The tray icon while muted or while a quiet rule holds.
#define IDI_QUIET 152
#define IDR_POPUP_MENU 105

#define IDS_TITLE 106
#define IDS_CANNOT_RUN_HELPER 107
#define IDS_CANNOT_SET_HOOKS 108
#define IDS_HELP_FILE 113
#define IDS_VERSION_LINE 125

// Why the scheme editor refuses the name typed.
#define IDS_NAME_EMPTY_OR_DOT 130
#define IDS_NAME_FORBIDDEN_CHARACTER 131
#define IDS_NAME_DEVICE 132
#define IDS_NAME_TRAILING_DOT_OR_BLANK 133
#define IDS_NAME_TOO_LONG 134
// Start-up messages about the program's own folder: 140 to 149.
#define IDS_FOLDER_OUTSIDE_CODE_PAGE 140
// Importing a sound pack: 150 to 169.
#define IDS_IMPORT_FILTER 150
#define IDS_IMPORT_FAILED 151
#define IDS_IMPORT_SKIPPED 152
// Why a pack was refused, in the order of the import's errors.
#define IDS_IMPORT_UNREADABLE 153
#define IDS_IMPORT_TOO_LARGE 154
#define IDS_IMPORT_UNSAFE_NAME 155
#define IDS_IMPORT_BAD_ARCHIVE 156
#define IDS_IMPORT_NO_CONFIG 157
#define IDS_IMPORT_BAD_CONFIG 158
#define IDS_IMPORT_BAD_SLICE 159
#define IDS_IMPORT_AUDIO_UNSUPPORTED 160
#define IDS_IMPORT_AUDIO_CORRUPT 161
#define IDS_IMPORT_AUDIO_TOO_LONG 162
#define IDS_IMPORT_NO_SOUNDS 163
#define IDS_IMPORT_NO_FREE_NAME 164
#define IDS_IMPORT_WRITE_FAILED 165
// The tray tip's note of why keys are silent.
#define IDS_QUIET_MUTED 200
#define IDS_QUIET_FULL_SCREEN 201
#define IDS_QUIET_PROGRAM 202
#define IDS_QUIET_PASSWORD 203
// The Settings dialog's list of quiet programs.
#define IDS_PROGRAM_FILES 180
#define IDS_NO_RUNNING_PROGRAMS 181

// Controls of the About box.
#define IDC_ABOUT_ICON 104
#define IDC_ABOUT_VERSION 1009
#define IDC_ABOUT_NOTICE 1010
#define IDC_ABOUT_LINK 1011

// Controls of the Settings dialog.
#define IDC_VOLUME_SLIDER 1024
#define IDC_VOLUME_CAPTION 1025
#define IDC_VOLUME_PERCENT 1026
#define IDC_FILTER_GROUP 1027
#define IDC_FILTER_NONE 1028
#define IDC_FILTER_ECHO 1029
#define IDC_FILTER_INVERSION 1030
#define IDC_OVERLAP 1037
#define IDC_MUTE_HOTKEY_CAPTION 1060
#define IDC_MUTE_HOTKEY 1061
#define IDC_MUTE_HOTKEY_TAKEN 1062
#define IDC_QUIET_FULL_SCREEN 1063
#define IDC_QUIET_PASSWORDS 1064
#define IDC_QUIET_PROGRAMS_CAPTION 1065
#define IDC_QUIET_PROGRAMS 1066
#define IDC_ADD_PROGRAM 1067
#define IDC_ADD_RUNNING 1068
#define IDC_REMOVE_PROGRAM 1069

// Controls of the Manage Schemes dialog.
#define IDC_EDIT_SCHEME 1001
#define IDC_ADD_SCHEME 1002
#define IDC_SCHEMES_LIST 1031
#define IDC_SCHEMES_LABEL 1032
#define IDC_SCHEMES_HELP 1033
#define IDC_IMPORT_PACK 1040

// Controls of the Scheme Control dialog.
#define IDC_CHANGE_SOUND 1001
#define IDC_SCHEME_NAME 1034
#define IDC_SCHEME_NAME_LABEL 1035
#define IDC_KEY_LIST 1036
#define IDC_PLAY_SOUND 1050

#define IDM_ABOUT 40009
#define IDM_HELP 40008
#define IDM_MUTE 40012
#define IDM_STARTUP 40014
#define IDM_SETTINGS 40015
#define IDM_EXIT 40017
#define IDM_MANAGE_SCHEMES 40019

#include "version.h"
