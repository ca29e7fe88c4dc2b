// The dialog templates of the program, in template (and tab) order.
#include "platform/ui/resources.h"
#include "res/ui/resource.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPush = kChild | BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kDefPush = kChild | BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD kEdit = kChild | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kLabel = kChild | SS_LEFT | WS_GROUP;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kHidden = WS_VISIBLE;  // removed from a control's style

constexpr DWORD Hide(DWORD style) { return style & ~kHidden; }

using K = ControlKind;

const DialogTemplate kMainDialog{
    IDD_LOADCALC_DIALOG,
    "Volmira电气计算程序",
    372,
    270,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    WS_EX_APPWINDOW,
    "宋体",
    9,
    {
        {IDOK, K::Button, "读取", 319, 67, 46, 16, kDefPush},
        {IDCANCEL, K::Button, "退出", 319, 179, 46, 16, kPush},
        {IDC_WRITE, K::Button, "写入", 41, 7, 46, 16, Hide(kDefPush) | WS_DISABLED},
        {IDC_ABOUT, K::Button, "关于", 319, 157, 46, 16, kPush},
        {IDC_CONVERT, K::Button, "转换为文本", 18, 38, 58, 9,
         Hide(kChild | BS_AUTOCHECKBOX | BS_FLAT | WS_TABSTOP)},
        {IDC_STATIC, K::Button, "设置", 7, 25, 358, 27, Hide(kGroup)},
        {IDC_STATIC, K::Static, "行号", 123, 37, 21, 9, Hide(kLabel)},
        {IDC_ROW, K::Edit, "", 153, 26, 30, 12, kEdit | ES_NUMBER | WS_DISABLED},
        {IDC_STATIC, K::Static, "列号", 186, 37, 21, 9, Hide(kLabel)},
        {IDC_COL, K::Edit, "", 213, 35, 30, 12, Hide(kEdit | ES_NUMBER) | WS_DISABLED},
        {IDC_QUERY, K::Button, "查询", 249, 33, 35, 14, Hide(kPush) | WS_DISABLED},
        {IDC_LIST, K::ListView, "", 7, 7, 339, 53, kChild | LVS_REPORT | WS_BORDER | WS_TABSTOP},
        {IDC_CALC, K::Button, "计算", 319, 89, 46, 16, kPush},
        {IDC_STATIC, K::Button, "平衡计算结果", 7, 68, 293, 57, kGroup},
        {IDC_STATIC, K::Static, "L1相容量", 9, 79, 33, 8, kLabel},
        {IDC_STATIC, K::Static, "L2相容量", 10, 93, 33, 8, kLabel},
        {IDC_STATIC, K::Static, "L3相容量", 10, 108, 33, 8, kLabel},
        {IDC_L1, K::Edit, "", 44, 77, 31, 13, kEdit | ES_READONLY},
        {IDC_L2, K::Edit, "", 43, 94, 31, 12, kEdit | ES_READONLY},
        {IDC_L3, K::Edit, "", 43, 108, 31, 12, kEdit | ES_READONLY},
        {IDC_STATIC, K::Static, "不平衡度", 87, 79, 33, 8, kLabel},
        {IDC_UNBALANCE, K::Edit, "", 122, 75, 32, 12, kEdit | ES_READONLY},
        {IDC_STATIC, K::Static, "设备功率", 88, 93, 33, 10, kLabel},
        {IDC_EQUIP_POWER, K::Edit, "", 122, 90, 32, 12, kEdit | ES_READONLY},
        {IDC_STATIC, K::Static, "计算功率", 88, 108, 34, 9, kLabel},
        {IDC_CALC_POWER, K::Edit, "", 122, 107, 32, 13, kEdit | ES_READONLY},
        {IDC_STATIC, K::Static, "计算电流", 176, 109, 33, 8, kLabel},
        {IDC_CURRENT, K::Edit, "", 213, 106, 35, 13, kEdit | ES_READONLY},
        {IDC_STATIC, K::Static, "可选择开关", 253, 77, 41, 8, kLabel},
        {IDC_SWITCH, K::ComboBox, "", 251, 90, 49, 61,
         kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {IDC_STATIC, K::Static, "功率因数", 176, 76, 38, 9, kLabel},
        {IDC_POWER_FACTOR, K::Edit, "", 213, 76, 35, 12, kEdit},
        {IDC_STATIC, K::Static, "KW", 155, 91, 9, 8, kLabel},
        {IDC_STATIC, K::Static, "KW", 77, 95, 9, 8, kLabel},
        {IDC_STATIC, K::Static, "KW", 78, 108, 9, 8, kLabel},
        {IDC_STATIC, K::Static, "KW", 77, 81, 9, 8, kLabel},
        {IDC_STATIC, K::Static, "KW", 158, 109, 9, 8, kLabel},
        {IDC_AUTO_BALANCE, K::Button, "自动平衡", 319, 111, 46, 16, kPush},
        {IDC_SAVE, K::Button, "保存", 319, 134, 46, 16, kPush},
        {IDC_STATIC, K::Static, "需要系数", 175, 93, 33, 8, kLabel},
        {IDC_DEMAND_COEF, K::Edit, "", 215, 92, 34, 11, kEdit},
    }};

const DialogTemplate kAboutBox{
    IDD_ABOUTBOX,
    "关于 Tabrix",
    235,
    63,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    0,
    "宋体",
    9,
    {
        {IDC_STATIC, K::Icon, "", 11, 8, 20, 20, kChild, 0, IDR_MAINFRAME},
        {IDC_STATIC, K::Static, "Volmira电气计算软件 1.0 版", 40, 10, 119, 8, kChild | SS_LEFT},
        {IDOK, K::Button, "确定", 178, 7, 50, 14, kDefPush | WS_GROUP},
    }};

}  // namespace

const DialogTemplate* FindDialogTemplate(UINT id) {
  if (id == IDD_LOADCALC_DIALOG) return &kMainDialog;
  if (id == IDD_ABOUTBOX) return &kAboutBox;
  return nullptr;
}
