// The program's resources as the window stand-ins read them: dialog
// templates (positions and sizes in dialog units), the string table and the
// icons. The resource library (res/ui) defines the lookups.
#pragma once

#include <QImage>
#include <vector>

#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

// The window class of a template control.
enum class ControlKind { Button, Edit, Static, Icon, ListView, ComboBox };

struct DialogItemTemplate {
  int id = -1;  // -1: no identifier
  ControlKind kind = ControlKind::Static;
  const char* captionUtf8 = "";
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  DWORD style = 0;                    // WS_VISIBLE, WS_DISABLED, WS_TABSTOP, kind styles
  DWORD exStyle = 0;
  UINT iconId = 0;  // for ControlKind::Icon
};

struct DialogTemplate {
  UINT id = 0;
  const char* captionUtf8 = "";
  int cx = 0, cy = 0;  // dialog units
  DWORD style = 0;
  DWORD exStyle = 0;
  const char* fontFaceUtf8 = "";
  int pointSize = 9;
  std::vector<DialogItemTemplate> items;  // in tab order
};

// Null when there is no such template.
const DialogTemplate* FindDialogTemplate(UINT id);
// Code page 936; empty when there is no such string.
CString LoadResourceString(UINT id);
// The icon image of that size (32 or 16 pixels; other sizes are scaled from
// the nearest); a null image when there is no such icon.
QImage LoadIconResourceImage(UINT id, int size);
