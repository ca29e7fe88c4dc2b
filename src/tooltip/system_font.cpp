#include "tooltip/system_font.h"

#include "platform/gdi/font.h"

// The status-bar font of a Windows desktop in the classic scheme is the
// dialog font; the drawing layer maps its face to an installed Chinese font.
const LOGFONT* GetSystemTooltipFont() {
  static const LOGFONT font = DefaultGuiLogFont();
  return &font;
}
