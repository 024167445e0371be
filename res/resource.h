// Resource and command numbers of the tray program.
#pragma once

#define IDI_TELVIX          50
#define IDI_SHUTDOWN        110
#define IDS_TRAY_TITLE      22
#define IDS_TRAY_CLASS      23
#define IDR_ACCELERATORS    23
#define IDD_SETTING         20
#define IDD_ABOUT           21
#define IDD_SHUTDOWN        107

#define IDM_ABOUT           30
#define IDM_QUIT            31
#define IDM_SETTING         32
// 1101 and on: the TV applications' entries, one per row of kTvApps (apps/tv_app_table.h)
#define IDM_EXIT            1201

// Controls of the dialogs.
#define IDC_DEFAULT_APP     11
