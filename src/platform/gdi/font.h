// Fonts from LOGFONT. Face names written in code page 936 (such as "宋体")
// are mapped to installed fonts through fontconfig; text is drawn without
// antialiasing, as bitmap fonts draw on Windows.
#pragma once

#include <QFont>

#include "platform/gdi/gdi_object.h"

class CFont : public CGdiObject {
 public:
  CFont() = default;
  BOOL CreateFontIndirect(const LOGFONT* logFont);
  int GetLogFont(LOGFONT* logFont) const;
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT
  static CFont* FromHandle(HFONT handle);
};

HFONT CreateFontIndirect(const LOGFONT* logFont);
// The dialog font of the program: 宋体, 12 pixels.
LOGFONT DefaultGuiLogFont();
// The Qt font that draws a LOGFONT; lfHeight < 0 is the character height in
// pixels, > 0 the cell height (ascent + descent), 0 the default 12 pixels.
QFont QFontFromLogFont(const LOGFONT& logFont);
