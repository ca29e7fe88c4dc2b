#include "app/main_dialog_tips.h"

#include "platform/text/encoding.h"
#include "res/ui/resource.h"

namespace {

struct DialogTip {
  int controlId;
  const char* textUtf8;
  bool withIcon;  // the tip icon, at its own size
};

// In the order the tools are registered.
constexpr DialogTip kDialogTips[] = {
    {1, "<b><ct=0x0000FF><al_c>读取 (F5)</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格数据", true},
    {IDC_WRITE, "<b><ct=0x0000FF><al_c>写入</b><br><ct=0x00AA00><hr=100%></ct><br>新建并写入Excel表格数据",
     true},
    {IDC_ABOUT, "关于 (F1)", false},
    {2, "退出", false},
    {IDC_QUERY,
     "<b><ct=0x0000FF><al_c>查询</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格中行、列、单元格数据",
     true},
    {IDC_LIST, "<b><ct=0x0000FF><al_c>显示</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格数据", true},
    {IDC_CONVERT,
     "<b><ct=0x0000FF><al_c>转换</b><br><ct=0x00AA00><hr=100%></ct><br>另存为其它文本格式文件", true},
    {IDC_ROW, "<b><ct=0x0000FF><al_c>行号</b><br><ct=0x00AA00><hr=100%></ct><br>查询该行数据", true},
    {IDC_COL, "<b><ct=0x0000FF><al_c>列号</b><br><ct=0x00AA00><hr=100%></ct><br>查询该列数据", true},
    // The other commands' tips name their keys.
    {IDC_CALC, "<b><ct=0x0000FF><al_c>计算 (F9)</b><br><ct=0x00AA00><hr=100%></ct><br>负荷计算并选择开关", true},
    {IDC_AUTO_BALANCE,
     "<b><ct=0x0000FF><al_c>自动平衡 (Ctrl+B)</b><br><ct=0x00AA00><hr=100%></ct><br>重新分配各回路的相别", true},
    {IDC_SAVE, "<b><ct=0x0000FF><al_c>保存 (Ctrl+S)</b><br><ct=0x00AA00><hr=100%></ct><br>将计算结果保存为工作簿",
     true},
};

void AddDialogTools(CGlintTooltip& tooltip, CWnd* pDialog) {
  for (const DialogTip& tip : kDialogTips) {
    CWnd* control = pDialog->GetDlgItem(tip.controlId);
    // A tool without a window could never be found under the cursor.
    if (control == nullptr) continue;
    const CString text = FromUtf8(tip.textUtf8);
    if (tip.withIcon) tooltip.AddTool(control, text, IDI_TIP, CSize(0, 0));
    else tooltip.AddTool(control, text);
  }
}

// A light cushion from pale yellow to grey-olive, shown again whenever the
// mouse rests on the control anew.
void ApplyDialogLook(CGlintTooltip& tooltip) {
  tooltip.EnableDisplayNotify(TRUE);
  tooltip.ResetFont();
  tooltip.SetColor(TTCOLOR_BK1, RGB(255, 255, 223));
  tooltip.SetColor(TTCOLOR_BK2, RGB(192, 192, 172));
  tooltip.SetColor(TTCOLOR_BK3, RGB(128, 128, 112));
  tooltip.SetBackgroundEffect(13, 10, -1);
  tooltip.SetShowBehaviour(TTBEHAV_MULTIPLE_SHOW, -1);
}

}  // namespace

BOOL SetUpMainDialogTips(CGlintTooltip& tooltip, CWnd* pDialog) {
  if (pDialog == nullptr) return FALSE;
  // Without a window the tools and settings are still kept, as for any tooltip.
  const BOOL created = tooltip.Create(pDialog, TRUE);
  AddDialogTools(tooltip, pDialog);
  ApplyDialogLook(tooltip);
  return created;
}
