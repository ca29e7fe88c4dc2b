// The tooltip's records and constants: one registered tool, the display
// notification's parameter block, and the style, behaviour and override bits.
#pragma once

#include "platform/gdi/handles.h"
#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

// Style bits, tooltip-wide and per tool.
constexpr DWORD TTSTYLE_ANCHOR = 0x01;
constexpr DWORD TTSTYLE_SHADOW = 0x02;
constexpr DWORD TTSTYLE_ROUNDED = 0x04;
constexpr DWORD TTSTYLE_TEXT_VCENTER = 0x08;
constexpr DWORD TTSTYLE_TEXT_BOTTOM = 0x10;
constexpr DWORD TTSTYLE_ICON_VCENTER = 0x20;
constexpr DWORD TTSTYLE_ICON_BOTTOM = 0x40;
constexpr DWORD TTSTYLE_SHOW_INACTIVE = 0x100;  // read tooltip-wide only
constexpr DWORD TTSTYLE_SHOW_DISABLED = 0x200;  // read tooltip-wide only
constexpr DWORD TTSTYLE_DEFAULT = TTSTYLE_ANCHOR | TTSTYLE_SHADOW | TTSTYLE_ROUNDED | TTSTYLE_ICON_VCENTER;

// Behaviour bits.
constexpr DWORD TTBEHAV_MULTIPLE_SHOW = 0x01;
constexpr DWORD TTBEHAV_KEEP_ON_MOVE = 0x04;
constexpr DWORD TTBEHAV_KEEP_WHILE_OVER = 0x08;
constexpr DWORD TTBEHAV_NO_AUTOPOP = 0x10;

// Which per-tool overrides of a record are valid.
constexpr DWORD TTMASK_STYLES = 0x01;
constexpr DWORD TTMASK_EFFECT = 0x02;  // effect and granularity
constexpr DWORD TTMASK_COLORS = 0x04;
constexpr DWORD TTMASK_DIRECTION = 0x08;
constexpr DWORD TTMASK_BEHAVIOUR = 0x10;

constexpr UINT TIPN_DISPLAY = WM_USER + 100;

// Delay types of SetDelay.
constexpr UINT TTDT_AUTOPOP = 2;
constexpr UINT TTDT_INITIAL = 3;

// Directions: above or below the cursor, extending to the left or right.
constexpr int TTDIR_ABOVE_LEFT = 0;
constexpr int TTDIR_ABOVE_RIGHT = 1;
constexpr int TTDIR_BELOW_LEFT = 2;
constexpr int TTDIR_BELOW_RIGHT = 3;

// Colour-table entries with a fixed use.
constexpr int TTCOLOR_TEXT = 17;
constexpr int TTCOLOR_BK1 = 18;
constexpr int TTCOLOR_BK2 = 19;
constexpr int TTCOLOR_BK3 = 20;
constexpr int TTCOLOR_SHADOW = 24;
constexpr int TTCOLOR_BORDER = 25;
constexpr int TTCOLOR_COUNT = 26;

// Size-table entries.
constexpr int TTSIZE_ROUNDED_CX = 0;
constexpr int TTSIZE_ROUNDED_CY = 1;
constexpr int TTSIZE_MARGIN_CX = 2;
constexpr int TTSIZE_MARGIN_CY = 3;
constexpr int TTSIZE_SHADOW_CX = 4;
constexpr int TTSIZE_SHADOW_CY = 5;
constexpr int TTSIZE_ANCHOR_CX = 6;
constexpr int TTSIZE_ANCHOR_CY = 7;
constexpr int TTSIZE_ANCHOR_MARGIN = 8;
constexpr int TTSIZE_BORDER_CX = 9;
constexpr int TTSIZE_BORDER_CY = 10;
constexpr int TTSIZE_COUNT = 11;

struct TOOLRECORD {
  HWND hWnd = nullptr;
  DWORD nIDTool = 0;       // the caller's value; travels into the notification
  RECT rectBounds{};       // tool window client coordinates; empty = whole window
  HICON hIcon = nullptr;   // not owned
  CString strText;         // markup
  DWORD nMask = 0;         // TTMASK_ bits
  DWORD nStyles = 0;
  int nDirection = 0;
  int nEffect = 0;
  DWORD nBehaviour = 0;
  BYTE nGranularity = 0;
  COLORREF crBkColors[3] = {0, 0, 0};
};

struct NMTIPDISPLAY {
  NMHDR hdr;
  POINT* pt = nullptr;  // cursor point, screen coordinates
  TOOLRECORD* pti = nullptr;
};

// Named images that markup can refer to.
constexpr BYTE IMAGEKIND_ICON = 0;
constexpr BYTE IMAGEKIND_BITMAP = 1;
constexpr BYTE IMAGEKIND_MASKED = 2;

struct TIPNAMEDIMAGE {
  CString strName;
  DWORD nResourceID = 0;
  BYTE nKind = IMAGEKIND_ICON;
  COLORREF crMask = 0;
};
