// Identifiers of the program's resources: dialogs, strings, icons, controls.
#pragma once

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDS_ABOUTBOX = 101;
constexpr unsigned IDD_LOADCALC_DIALOG = 102;
constexpr unsigned IDR_MAINFRAME = 128;  // the program's icon: 32 x 32 and 16 x 16, 16 colours
constexpr unsigned IDI_TIP = 129;        // the tooltips' icon: 32 x 32, 256 colours

// Commands of the dialog's context menu, next to the About item.
constexpr unsigned IDM_EXPORT_REPORT = 0x0150;  // 导出计算书…

// Main dialog controls (IDOK = 1 and IDCANCEL = 2 are 读取 and 退出).
constexpr int IDC_WRITE = 3;
constexpr int IDC_ABOUT = 4;
constexpr int IDC_QUERY = 5;
constexpr int IDC_CONVERT = 1001;
constexpr int IDC_ROW = 1002;
constexpr int IDC_COL = 1003;
constexpr int IDC_LIST = 1004;
constexpr int IDC_CALC = 1005;
constexpr int IDC_L1 = 1006;
constexpr int IDC_L2 = 1007;
constexpr int IDC_L3 = 1008;
constexpr int IDC_UNBALANCE = 1009;
constexpr int IDC_EQUIP_POWER = 1010;
constexpr int IDC_CALC_POWER = 1011;
constexpr int IDC_CURRENT = 1012;
constexpr int IDC_SWITCH = 1013;
constexpr int IDC_POWER_FACTOR = 1014;
constexpr int IDC_AUTO_BALANCE = 1015;
constexpr int IDC_SAVE = 1016;
constexpr int IDC_DEMAND_COEF = 1017;
constexpr int IDC_STATIC = -1;
