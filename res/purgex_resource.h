// Resource, control and command numbers of the uninstall wizard.
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_FINISH              102
#define IDI_PURGEX              128
#define IDD_WIZARD              130

#define IDC_FINISH_TEXT         1003
#define IDC_PAGE_TEXT           1004
#define IDC_REMOVE_UTILITIES    1005
#define IDC_REMOVE_DRIVERS      1006

// System-menu command of the finish page's About item.
#define IDM_ABOUTBOX            0x0010
