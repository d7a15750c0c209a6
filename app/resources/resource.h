// Resource ids of the tool. The control ids are named in app/controls/DialogControls.h; the
// templates give them as numbers.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128
#define IDI_ABOUT 129
#define IDB_START_UPGRADE 131
#define IDB_EXIT 132
#define IDB_READ_SN 133
#define IDB_WRITE_SN 134
#define IDB_BACKGROUND 152
