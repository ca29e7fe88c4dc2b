// CFlatEdit: an edit box with a flat sunken border that turns into a plain
// black frame while the mouse rests over it. It paints its border itself.
#pragma once

#include "controls/hover_edit.h"
#include "platform/gdi/dc.h"

class CFlatEdit : public CHoverEdit {
 public:
  using CHoverEdit::OnMouseHover;
  using CHoverEdit::OnMouseLeave;
  void OnMouseHover() override;
  void OnMouseLeave() override;
  void OnNcPaint() override;

 protected:
  // The border over the whole window, width x height, in window coordinates.
  void DrawBorder(CDC* pDC, int width, int height);
};
