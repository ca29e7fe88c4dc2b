// Lines, closed figures, area fills, edges and regions.
#include "platform/gdi/dc.h"
#include "platform/gdi/raster_shapes.h"
#include "platform/gdi/system_metrics.h"

namespace {

QColor ToQColor(COLORREF color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

// How a mix mode combines the pen colour with the destination.
struct Mix {
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  bool draws = true;
  bool fixedColour = false;
  COLORREF colour = 0;
};

Mix MixFor(int rop2) {
  Mix mix;
  switch (rop2) {
    case R2_MASKPEN: mix.mode = QPainter::RasterOp_SourceAndDestination; break;
    case R2_MERGEPEN: mix.mode = QPainter::RasterOp_SourceOrDestination; break;
    case R2_XORPEN: mix.mode = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTMERGEPEN: mix.mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_NOT: mix.mode = QPainter::RasterOp_NotDestination; break;
    case R2_NOP: mix.draws = false; break;
    case R2_BLACK: mix.fixedColour = true; mix.colour = RGB(0, 0, 0); break;
    case R2_WHITE: mix.fixedColour = true; mix.colour = RGB(255, 255, 255); break;
    default: break;
  }
  return mix;
}

bool IsNullPen(HPEN pen) { return !pen || pen->style == PS_NULL; }
bool IsHollow(const BrushData* brush) { return !brush || brush->hollow; }

}  // namespace

void CDC::FillPixels(const QRegion& logical, COLORREF color, int rop2) {
  const Mix mix = MixFor(rop2);
  if (!mix.draws || logical.isEmpty()) return;
  const QColor fill = ToQColor(mix.fixedColour ? mix.colour : color);
  Paint([&](QPainter& painter) {
    painter.setCompositionMode(mix.mode);
    for (const QRect& run : logical) painter.fillRect(run, fill);
  });
}

// A one-pixel pen covers the figure's box. Without a pen the figure is one
// pixel smaller to the right and below; a wide PS_SOLID pen straddles the
// box, while PS_INSIDEFRAME keeps it inside.
CRect CDC::FigureBox(int l, int t, int r, int b) const {
  CRect box(l, t, r, b);
  box.NormalizeRect();
  const HPEN pen = m_state.pen;
  if (IsNullPen(pen)) {
    box.right -= 1;
    box.bottom -= 1;
  } else if (pen->style != PS_INSIDEFRAME && pen->width > 1) {
    box.InflateRect(pen->width / 2, pen->width / 2, (pen->width - 1) / 2, (pen->width - 1) / 2);
  }
  return box;
}

void CDC::DrawFigure(const QRegion& shape) {
  const HPEN pen = m_state.pen;
  const QRegion inside = IsNullPen(pen) ? shape : raster::Shrink(shape, pen->width, pen->width);
  if (!IsHollow(m_state.brush)) FillPixels(inside, m_state.brush->color, m_state.rop2);
  if (!IsNullPen(pen)) FillPixels(shape - inside, pen->color, m_state.rop2);
}

CPoint CDC::MoveTo(int x, int y) { return std::exchange(m_state.position, CPoint(x, y)); }

BOOL CDC::LineTo(int x, int y) {
  const CPoint from = m_state.position;
  const CPoint to(x, y);
  m_state.position = to;
  const HPEN pen = m_state.pen;
  if (!m_hDC) return FALSE;
  if (IsNullPen(pen)) return TRUE;
  FillPixels(raster::WideLine(from, to, pen->width), pen->color, m_state.rop2);
  return TRUE;
}

BOOL CDC::Rectangle(int l, int t, int r, int b) {
  if (!m_hDC) return FALSE;
  const CRect box = FigureBox(l, t, r, b);
  if (!box.IsRectEmpty()) DrawFigure(QRegion(box.left, box.top, box.Width(), box.Height()));
  return TRUE;
}

BOOL CDC::RoundRect(int l, int t, int r, int b, int ellipseWidth, int ellipseHeight) {
  if (!m_hDC) return FALSE;
  const CRect box = FigureBox(l, t, r, b);
  DrawFigure(raster::RoundRect(box.left, box.top, box.right, box.bottom, ellipseWidth, ellipseHeight));
  return TRUE;
}

BOOL CDC::RoundRect(LPCRECT rect, POINT ellipse) {
  return rect && RoundRect(rect->left, rect->top, rect->right, rect->bottom, ellipse.x, ellipse.y);
}

// Area fills copy the brush colour whatever the mix mode.
void CDC::FillRect(LPCRECT rect, HBRUSH brush) {
  if (!rect || IsHollow(brush)) return;
  const CRect box(*rect);
  if (box.IsRectEmpty()) return;
  FillPixels(QRegion(box.left, box.top, box.Width(), box.Height()), brush->color, R2_COPYPEN);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  FillRect(rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr);
}

// Like the class library, this leaves the background colour set to `color`.
void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  SetBkColor(color);
  if (!rect) return;
  const CRect box(*rect);
  if (box.IsRectEmpty()) return;
  FillPixels(QRegion(box.left, box.top, box.Width(), box.Height()), color, R2_COPYPEN);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  const CRect box(x, y, x + cx, y + cy);
  FillSolidRect(&box, color);
}

namespace {

struct EdgeColours {
  COLORREF outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
};

EdgeColours ColoursFor(UINT edge, UINT flags) {
  const bool sunkenOuter = edge & BDR_SUNKENOUTER;
  const bool sunkenInner = edge & BDR_SUNKENINNER;
  EdgeColours c{};
  c.outerTopLeft = GetSysColor(sunkenOuter ? COLOR_BTNSHADOW : COLOR_3DLIGHT);
  c.outerBottomRight = GetSysColor(sunkenOuter ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW);
  c.innerTopLeft = GetSysColor(sunkenInner ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT);
  c.innerBottomRight = GetSysColor(sunkenInner ? COLOR_3DLIGHT : COLOR_BTNSHADOW);
  if (flags & BF_MONO) {
    c = {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOW),
         GetSysColor(COLOR_WINDOW)};
  } else if (flags & BF_FLAT) {
    // Flat edges: a shadow-coloured outer line, a face-coloured inner one.
    c = {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE),
         GetSysColor(COLOR_BTNFACE)};
  }
  return c;
}

}  // namespace

// One ring per border (outer, then inner), each one pixel wide, drawn on
// the sides the flags name.
BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) {
  if (!rect || !m_hDC) return FALSE;
  const EdgeColours colours = ColoursFor(edge, flags);
  const bool outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
  const bool inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
  CRect box(*rect);
  auto ring = [&](COLORREF topLeft, COLORREF bottomRight) {
    const int w = box.Width();
    const int h = box.Height();
    if (w <= 0 || h <= 0) return;
    if (flags & BF_LEFT) FillPixels(QRegion(box.left, box.top, 1, h), topLeft, R2_COPYPEN);
    if (flags & BF_TOP) FillPixels(QRegion(box.left, box.top, w, 1), topLeft, R2_COPYPEN);
    if (flags & BF_RIGHT) FillPixels(QRegion(box.right - 1, box.top, 1, h), bottomRight, R2_COPYPEN);
    if (flags & BF_BOTTOM) FillPixels(QRegion(box.left, box.bottom - 1, w, 1), bottomRight, R2_COPYPEN);
    box.DeflateRect(flags & BF_LEFT ? 1 : 0, flags & BF_TOP ? 1 : 0, flags & BF_RIGHT ? 1 : 0,
                    flags & BF_BOTTOM ? 1 : 0);
  };
  if (outer) ring(colours.outerTopLeft, colours.outerBottomRight);
  if (inner) ring(colours.innerTopLeft, colours.innerBottomRight);
  if ((flags & BF_MIDDLE) && !box.IsRectEmpty())
    FillSolidRect(&box, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rect = box;
  return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
  FillPixels(QRegion(x, y, 1, 1), color, R2_COPYPEN);
  return color & 0xFFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const {
  const QPoint device(x + m_state.viewportOrg.x, y + m_state.viewportOrg.y);
  if (!QRect(QPoint(0, 0), SurfaceSize()).contains(device)) return 0xFFFFFFFF;  // CLR_INVALID
  const QRgb pixel = ReadPixels(QRect(device, QSize(1, 1))).pixel(0, 0);
  return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// Region fills follow the mix mode, so a masking brush darkens what lies
// beneath (the tooltip's shadow).
BOOL CDC::FillRgn(CRgn* region, CBrush* brush) {
  if (!m_hDC || !region || !brush || !region->m_hObject) return FALSE;
  const auto* data = static_cast<HBRUSH>(brush->m_hObject);
  if (IsHollow(data)) return TRUE;
  FillPixels(region->Region(), data->color, m_state.rop2);
  return TRUE;
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
  if (!m_hDC || !region || !brush || !region->m_hObject) return FALSE;
  const auto* data = static_cast<HBRUSH>(brush->m_hObject);
  if (IsHollow(data)) return TRUE;
  FillPixels(raster::Frame(region->Region(), width, height), data->color, m_state.rop2);
  return TRUE;
}
