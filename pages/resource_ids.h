#ifndef KESTREL_PAGES_RESOURCE_IDS_H
#define KESTREL_PAGES_RESOURCE_IDS_H
// Ids of the setup program's dialogs, controls, strings, bitmaps and icon.
// The resource compiler reads this file too, so it holds nothing but #defines.

// Dialog templates: the frame and the seven pages.
#define IDD_WIZARD_FRAME 101
#define IDD_PAGE_WELCOME 102
#define IDD_PAGE_LICENSE 103
#define IDD_PAGE_TYPE 104
#define IDD_PAGE_KESTREL_DIR 105
#define IDD_PAGE_PROGRESS 106
#define IDD_PAGE_FINISHED 107
#define IDD_PAGE_SIMULATOR_VERSION 108

// Controls nobody addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Frame. Cancel is the dialog manager's IDCANCEL (2), so the caption's close box
// acts as Cancel; Next and Finish share one rectangle.
#define IDC_NEXT 3
#define IDC_BACK 1001
#define IDC_FINISH 1014
#define IDC_PAGE_ANCHOR 1012
#define IDC_HEADER_LOGO 1016

// Welcome page.
#define IDC_WELCOME_TEXT 1015
#define IDC_WELCOME_PICTURE 1017

// Licence page.
#define IDC_LICENSE_TEXT 1002
#define IDC_LICENSE_ACCEPT 1003

// Installation type page.
#define IDC_TYPE_ONE_COMPUTER 1004
#define IDC_TYPE_KESTREL_COMPUTER 1005
#define IDC_TYPE_SIMULATOR_COMPUTER 1006

// Program directory page.
#define IDC_KESTREL_DIR_PROMPT 1007
#define IDC_KESTREL_DIR_PATH 1005
#define IDC_KESTREL_DIR_CHANGE 1006
#define IDC_KESTREL_DIR_GROUP 1023

// Progress page.
#define IDC_PROGRESS_BAR 1008
#define IDC_PROGRESS_FILE 1011
#define IDC_PROGRESS_PERCENT 1013

// The progress page's timer that redraws what the worker's last messages changed.
#define IDT_PROGRESS_REFRESH 1

// Finished page.
#define IDC_FINISHED_README 1010
#define IDC_FINISHED_USER_GUIDE 1011

// Simulator version page.
#define IDC_SIMULATOR_VERSION_PROMPT 1007
#define IDC_SIMULATOR_VERSION_FS2002 1020
#define IDC_SIMULATOR_VERSION_FS2004 1021
#define IDC_SIMULATOR_VERSION_BOTH 1022

// Strings.
#define IDS_WELCOME_TITLE 105
#define IDS_WELCOME_SUBTITLE 106
#define IDS_WELCOME_PITCH 107
#define IDS_WELCOME_REQUIREMENT 108
#define IDS_LICENSE_HEADING 109
#define IDS_ERROR_EXTRACTION_START 110
#define IDS_UNINSTALL_PROGRAM_FILES 111
#define IDS_CANCEL_CAPTION 112
#define IDS_CANCEL_QUESTION 113
#define IDS_ERROR_INSTALL_FILES 121
#define IDS_ERROR_CAPTION 122
#define IDS_WELCOME_CLOSE_APPLICATIONS 123
#define IDS_UNINSTALL_MODULE_DLL 124
#define IDS_START_MENU_FOLDER 125
#define IDS_SHORTCUT_UNINSTALL 126
#define IDS_SHORTCUT_USER_GUIDE 127
#define IDS_ERROR_NO_SIMULATOR 128
#define IDS_ERROR_REGISTRY 129
#define IDS_ERROR_START_MENU 130
#define IDS_ERROR_UNINSTALLER 131
#define IDS_UNINSTALL_TRANSPONDER_DLL 132
#define IDS_UNINSTALL_AUTO_JOIN_DLL 133
#define IDS_UNINSTALL_REGISTRY 134
#define IDS_UNINSTALL_DEFAULT_MODELS 136
#define IDS_UNINSTALL_MARLIN_MODELS 137
#define IDS_UNINSTALL_START_MENU 138
// After the licence's entries: %1 folder, %2 KB needed, %3 KB free.
#define IDS_ERROR_NO_ROOM 178
// What could not be put back after a failure, or of an interrupted run.
#define IDS_FAILED_ITEM 179
#define IDS_MORE_ITEMS 180
#define IDS_ERROR_NOT_TAKEN_BACK 181
#define IDS_ERROR_INTERRUPTED_NOT_TAKEN_BACK 182
#define IDS_ERROR_INTERRUPTED_DAMAGED 183
#define IDS_ERROR_NETWORK_FOLDER 184
// Files another program holds: %1 the list; each %1 path, %2 the programs.
#define IDS_FILES_IN_USE 185
#define IDS_FILE_IN_USE_BY 186
#define IDS_CANCELLED 187
// Where it failed, under a failure message's path and Windows' reason: %1 the
// Windows call, %2 the site's number; or %1 the site's number alone.
#define IDS_FAILURE_WHERE 188
#define IDS_FAILURE_AT 189
#define IDS_ALREADY_RUNNING 190
#define IDS_CANCELLED_NOT_TAKEN_BACK 191
// The drives a settlement cannot reach: %1 their roots.
#define IDS_DRIVES_MISSING 192
// The run's own journal cannot be read: %1 what is wrong, %2 the key.
#define IDS_JOURNAL_DAMAGED 193
// A destination that cannot take the installation: %1 the folder, %2 why.
#define IDS_ERROR_DESTINATION 194
#define IDS_DESTINATION_DRIVE_MISSING 195
#define IDS_DESTINATION_NOT_LOCAL 196
// %1 the longest path.
#define IDS_DESTINATION_TOO_LONG 197
// A simulator registered in a folder that cannot take it: %1 the version, %2
// the folder, %3 why.
#define IDS_SIMULATOR_FOLDER_UNUSABLE 198
// Before the wizard: no administrator rights; the working copy that older
// Windows run from could not be made (%1 the Windows error).
#define IDS_ERROR_NOT_ADMINISTRATOR 199
#define IDS_ERROR_WORKING_COPY 200
// After a take-back: %1 the files still being deleted, which go at the next restart.
#define IDS_FILES_GO_AT_RESTART 201
// While the take-back waits for another program to let go of a file: %1 the file.
#define IDS_WAITING_FOR 202
// %1 the link that stands where the installation writes into a folder.
#define IDS_DESTINATION_LINK 203

// The licence agreement after its heading: one paragraph or section heading
// per entry, in reading order from IDS_LICENSE_FIRST to IDS_LICENSE_LAST.
#define IDS_LICENSE_NOTICE 139
#define IDS_LICENSE_PRODUCT_HEADING 140
#define IDS_LICENSE_NOT_SOLD 141
#define IDS_LICENSE_GRANT_HEADING 142
#define IDS_LICENSE_GRANT_INSTALLATION 143
#define IDS_LICENSE_GRANT_PERSONAL_USE 144
#define IDS_LICENSE_GRANT_DOCUMENTATION 145
#define IDS_LICENSE_LIMITS_HEADING 146
#define IDS_LICENSE_LIMITS_REVERSE_ENGINEERING 147
#define IDS_LICENSE_LIMITS_ONE_PRODUCT 148
#define IDS_LICENSE_LIMITS_RENTAL 149
#define IDS_LICENSE_LIMITS_SUPPORT 150
#define IDS_LICENSE_LIMITS_TRANSFER 151
#define IDS_LICENSE_LIMITS_TERMINATION 152
#define IDS_LICENSE_LIMITS_ONLINE_NETWORKS 153
#define IDS_LICENSE_LIMITS_MODEL_SETS 154
#define IDS_LICENSE_LIMITS_FLIGHT_SIMULATOR 155
#define IDS_LICENSE_LIMITS_LAWS 156
#define IDS_LICENSE_UPGRADES_HEADING 157
#define IDS_LICENSE_UPGRADES_ELIGIBILITY 158
#define IDS_LICENSE_UPGRADES_PACKAGES 159
#define IDS_LICENSE_PROPERTY_HEADING 160
#define IDS_LICENSE_PROPERTY 161
#define IDS_LICENSE_BACKUP_HEADING 162
#define IDS_LICENSE_BACKUP 163
#define IDS_LICENSE_LAW_HEADING 164
#define IDS_LICENSE_LAW 165
#define IDS_LICENSE_CONTACT 166
#define IDS_LICENSE_WARRANTY_HEADING 167
#define IDS_LICENSE_WARRANTY 168
#define IDS_LICENSE_WARRANTY_REMEDY 169
#define IDS_LICENSE_DISCLAIMER_HEADING 170
#define IDS_LICENSE_DISCLAIMER 171
#define IDS_LICENSE_DAMAGES_HEADING 172
#define IDS_LICENSE_DAMAGES 173
#define IDS_LICENSE_LIABILITY_HEADING 174
#define IDS_LICENSE_LIABILITY 175
#define IDS_LICENSE_ENTIRE_HEADING 176
#define IDS_LICENSE_ENTIRE 177
#define IDS_LICENSE_FIRST IDS_LICENSE_NOTICE
#define IDS_LICENSE_LAST IDS_LICENSE_ENTIRE

// Pictures: the welcome page's large one and the frame's header logo, each
// drawn at 100 % (the one the template names), 125, 150 and 200 % of the
// display scale.
#define IDB_WELCOME_PICTURE 103
#define IDB_HEADER_LOGO 107
#define IDB_WELCOME_PICTURE_125 110
#define IDB_WELCOME_PICTURE_150 111
#define IDB_WELCOME_PICTURE_200 112
#define IDB_HEADER_LOGO_125 113
#define IDB_HEADER_LOGO_150 114
#define IDB_HEADER_LOGO_200 115

// Where the templates put the pictures, in dialog units: x, y, width, height.
#define WELCOME_PICTURE_PLACE 60, 7, 167, 77
#define HEADER_LOGO_PLACE 234, 7, 59, 21

// The program file's icon; nothing loads it, Explorer shows it.
#define IDI_SETUP 108

#endif
