// The keys of the main dialog's commands: 读取 F5, 计算 F9, 自动平衡 Ctrl+B,
// 保存 Ctrl+S, 打开工作簿… Ctrl+O, 导出计算书… Ctrl+P, 关于 F1, and the
// list's editing commands below. A key sends
// the command as its button or its context-menu item does.
#pragma once

#include <QString>

#include "platform/ui/win_types.h"

class CWnd;
class QWidget;

namespace shortcuts {

// The context-menu commands of 打开工作簿… and 总在最前, beside IDM_ABOUTBOX
// and IDM_EXPORT_REPORT.
constexpr UINT kOpenWorkbookCommand = 0x0020;
constexpr UINT kAlwaysOnTopCommand = 0x0160;
// The list's editing commands: 添加回路 (Ins) and 删除回路 (Del) where the
// list has the focus, 撤销 (Ctrl+Z) and 写回工作簿 (Ctrl+W) anywhere.
constexpr UINT kAddCircuitCommand = 0x0300;
constexpr UINT kDeleteCircuitCommand = 0x0310;
constexpr UINT kUndoEditCommand = 0x0320;
constexpr UINT kWriteBackCommand = 0x0330;

// The context-menu command that runs a button's command, and back (0 if none).
UINT MenuCommandOfButton(int buttonId);
int ButtonOfMenuCommand(UINT menuCommand);

// The key of a button's command or a context-menu command, as the menu shows it ("F5").
QString KeyOfButton(int buttonId);
QString KeyOfMenuCommand(UINT menuCommand);

// Binds every key to `dialog`: they work wherever the focus is in its window.
void Install(CWnd& dialog);

}  // namespace shortcuts
