// DrawMarkup: one pass over a markup text that either measures it (and
// records the width and height of every line) or draws it using those
// records for alignment and for placing runs on the bottom of their line.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "tooltip/glint_tooltip.h"
#include "tooltip/markup_number.h"
#include "tooltip/tip_limits.h"

namespace {

enum class Align { Left, Centre, Right };

// Rounded to the nearest, halves away from zero.
int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long p = static_cast<long long>(number) * numerator;
  long long q = denominator;
  const bool negative = (p < 0) != (q < 0);
  p = p < 0 ? -p : p;
  q = q < 0 ? -q : q;
  const long long r = (p + q / 2) / q;
  return static_cast<int>(negative ? -r : r);
}

bool Is(const CString& name, const char* tag) { return name.CompareNoCase(tag) == 0; }

}  // namespace

struct CGlintTooltip::MarkupPass {
  CGlintTooltip& tip;
  CDC* dc;
  const CRect rect;
  const CString& text;
  const bool measure;

  int pos = 0;
  int x = 0;
  int y = 0;
  size_t line = 0;
  int lineHeight = 0;
  Align align = Align::Left;
  bool lineStart = true;
  int widest = 0;
  std::vector<std::int64_t> rulePercent{0};
  LOGFONT logFont{};
  CFont font;
  CFont* previousFont = nullptr;
  int tmHeight = 0;
  int tmAveCharWidth = 0;

  MarkupPass(CGlintTooltip& t, CDC* d, const CRect& r, const CString& s, bool m)
      : tip(t), dc(d), rect(Bounded(r)), text(s), measure(m), x(rect.left), y(rect.top) {}

  static CRect Bounded(const CRect& r) {
    return CRect(ClampTipExtent(r.left), ClampTipExtent(r.top), ClampTipExtent(r.right),
                 ClampTipExtent(r.bottom));
  }

  // Height of the current line as measured; a draw without a measurement
  // of this text falls back to the font's height instead of reading past
  // the tables.
  int MeasuredHeight() const {
    return line < tip.m_arrLineHeights.size() ? static_cast<int>(tip.m_arrLineHeights[line])
                                              : tmHeight;
  }
  int MeasuredWidth() const {
    return line < tip.m_arrLineWidths.size() ? static_cast<int>(tip.m_arrLineWidths[line]) : 0;
  }

  void Begin() {
    logFont = tip.m_lfDefault;
    font.CreateFontIndirect(&logFont);
    previousFont = dc->SelectObject(&font);
    TEXTMETRIC tm;
    dc->GetTextMetrics(&tm);
    tmHeight = tm.tmHeight;
    tmAveCharWidth = tm.tmAveCharWidth;
    lineHeight = measure ? tmHeight : MeasuredHeight();
  }

  CSize End() {
    LineBreak(1);
    dc->SelectObject(previousFont);
    font.DeleteObject();
    if (measure) {
      for (size_t i = 0; i < tip.m_arrLineWidths.size() && i < rulePercent.size(); ++i)
        if (rulePercent[i] != 0)
          tip.m_arrLineWidths[i] = static_cast<UINT>(ClampTipExtent(
              tip.m_arrLineWidths[i] + MulDiv(widest, ClampTipExtent(rulePercent[i]), 100)));
    }
    return {widest, ClampTipExtent(std::int64_t{y} - rect.top)};
  }

  void Run() {
    Begin();
    const int length = text.GetLength();
    while (pos < length) {
      const CString run = ReadTextRun(text, pos);
      if (!run.IsEmpty()) {
        PlaceRun(run);
        continue;
      }
      const CString name = ReadTagName(text, pos);
      ApplyTag(name);
      SkipToTagEnd(text, pos);
      ++pos;
    }
  }

  void AlignLine() {
    if (!lineStart) return;
    lineStart = false;
    if (measure) return;  // measurements are always left-aligned
    if (align == Align::Centre) x = rect.left + (rect.Width() - MeasuredWidth()) / 2;
    else if (align == Align::Right) x = rect.right - MeasuredWidth();
  }

  void PlaceRun(const CString& run) {
    AlignLine();
    const CSize size = dc->GetTextExtent(run);
    if (measure) lineHeight = std::max(lineHeight, ClampTipExtent(size.cy));
    else dc->TextOut(x, y + MeasuredHeight() - tmHeight, run);
    x = ClampTipExtent(std::int64_t{x} + size.cx);
  }

  void LineBreak(DWORD count) {
    if (count == 0) count = 1;
    if (measure) {
      const int width = std::max(0, ClampTipExtent(std::int64_t{x} - rect.left));
      widest = std::max(widest, width);
      tip.m_arrLineWidths.push_back(static_cast<UINT>(width));
      tip.m_arrLineHeights.push_back(static_cast<UINT>(lineHeight));
    }
    y = ClampTipExtent(std::int64_t{y} + std::int64_t{MeasuredHeight()} * count);
    ++line;
    rulePercent.push_back(0);
    x = rect.left;
    lineStart = true;
    lineHeight = tmHeight;
  }

  void Tab(DWORD count) {
    if (count == 0) count = 1;
    const int tabWidth = 4 * tmAveCharWidth;
    if (tabWidth <= 0) return;
    const std::int64_t offset = std::int64_t{x} - rect.left;
    std::int64_t stop = offset / tabWidth;
    if (offset < 0 && offset % tabWidth != 0) --stop;  // floor
    std::int64_t next = x;
    if (offset != stop * tabWidth) {
      next = rect.left + (stop + 1) * tabWidth;
      --count;
    }
    x = ClampTipExtent(next + std::int64_t{count} * tabWidth);
  }

  void Rule() {
    const CString value = ReadAttributeValue(text, pos);
    DWORD width = 100;
    const bool percent = !value.IsEmpty() && value.GetAt(value.GetLength() - 1) == '%';
    if (!value.IsEmpty()) width = MarkupNumber(value, 100);
    const int v = ClampTipExtent(width);
    if (percent && measure) {
      rulePercent[line] = ClampTipExtent(rulePercent[line] + v);
      return;
    }
    const int pixels = ClampTipExtent(percent ? MulDiv(rect.Width(), v, 100) : v);
    const int end = ClampTipExtent(std::int64_t{x} + pixels);
    if (!measure) tip.DrawRule(dc, x, end, y + MeasuredHeight() / 2);
    x = end;
  }

  void ChangeFont(const CString& name, bool closing) {
    dc->SelectObject(previousFont);
    font.DeleteObject();
    const LONG defaultWeight = tip.m_lfDefault.lfWeight;
    if (Is(name, "b")) logFont.lfWeight = closing ? defaultWeight : std::min<LONG>(2 * defaultWeight, 900);
    else if (Is(name, "i")) logFont.lfItalic = closing ? 0 : 1;
    else if (Is(name, "u")) logFont.lfUnderline = closing ? 0 : 1;
    else logFont.lfStrikeOut = closing ? 0 : 1;
    font.CreateFontIndirect(&logFont);
    dc->SelectObject(&font);
  }

  void Background(COLORREF colour, bool closing) {
    dc->SetBkColor(colour);
    dc->SetBkMode(closing ? TRANSPARENT : OPAQUE);
  }

  // Attributes "cx", "cy" (and "mask" for bitmaps); an unknown name still
  // uses up one of the reads.
  struct ImageAttributes {
    int cx = 0;
    int cy = 0;
    bool mask = false;
    COLORREF maskColour = RGB(255, 0, 255);
  };
  ImageAttributes ReadImageAttributes(int reads, bool withMask) {
    ImageAttributes a;
    for (int i = 0; i < reads; ++i) {
      const CString name = ReadAttributeName(text, pos);
      if (Is(name, "cx")) a.cx = ClampTipImageExtent(ReadNumber(text, pos, 0));
      else if (Is(name, "cy")) a.cy = ClampTipImageExtent(ReadNumber(text, pos, 0));
      else if (withMask && Is(name, "mask")) {
        a.mask = true;
        a.maskColour = ReadNumber(text, pos, RGB(255, 0, 255));
      } else {
        ReadNumber(text, pos, 0);
      }
    }
    return a;
  }

  void PlaceImage(CSize size) {
    if (measure) lineHeight = std::max(lineHeight, ClampTipExtent(size.cy));
    x = ClampTipExtent(std::int64_t{x} + size.cx);
  }

  void Image(const CString& name) {
    AlignLine();
    const BOOL m = measure ? TRUE : FALSE;
    const int height = measure ? 0 : MeasuredHeight();
    if (Is(name, "img")) {
      const CString imageName = ReadAttributeValue(text, pos);
      const ImageAttributes a = ReadImageAttributes(2, false);
      PlaceImage(tip.DrawNamedImage(dc, x, y, height, imageName, a.cx, a.cy, m));
    } else if (Is(name, "ilst")) {
      const int index = static_cast<int>(ReadNumber(text, pos, 0));
      PlaceImage(tip.DrawImageListImage(dc, x, y, tip.m_szImgList.cx, tip.m_szImgList.cy,
                                        tip.m_imgList, index, m));
    } else if (Is(name, "icon")) {
      const DWORD id = ReadNumber(text, pos, 0);
      const ImageAttributes a = ReadImageAttributes(2, false);
      if (id != 0) PlaceImage(tip.DrawIconResource(dc, x, y, height, id, a.cx, a.cy, m));
    } else {
      const DWORD id = ReadNumber(text, pos, 0);
      const ImageAttributes a = ReadImageAttributes(3, true);
      if (id != 0)
        PlaceImage(tip.DrawBitmapResource(dc, x, y, height, id, a.mask, a.maskColour, a.cx, a.cy, m));
    }
  }

  void ApplyTag(CString name) {
    if (name == "\t") return Tab(1);
    if (name == "\n") return LineBreak(1);
    bool closing = false;
    if (!name.IsEmpty() && name.GetAt(0) == '/') {
      closing = true;
      name = name.Mid(1);
    }
    const COLORREF* colours = tip.m_crColors;
    if (Is(name, "b") || Is(name, "i") || Is(name, "u") || Is(name, "s")) return ChangeFont(name, closing);
    if (Is(name, "br")) return LineBreak(ReadNumber(text, pos, 1));
    if (Is(name, "t")) return Tab(ReadNumber(text, pos, 1));
    if (Is(name, "ct")) {
      dc->SetTextColor(ReadNumber(text, pos, colours[TTCOLOR_TEXT]));
      return;
    }
    if (Is(name, "cti")) {
      const DWORD index = ReadNumber(text, pos, TTCOLOR_TEXT);
      if (index < TTCOLOR_COUNT) dc->SetTextColor(colours[index]);
      return;
    }
    if (Is(name, "cb")) return Background(ReadNumber(text, pos, colours[TTCOLOR_BK1]), closing);
    if (Is(name, "cbi")) {
      const DWORD index = ReadNumber(text, pos, TTCOLOR_BK1);
      if (index < TTCOLOR_COUNT) Background(colours[index], closing);
      return;
    }
    if (Is(name, "al") || Is(name, "al_l")) align = Align::Left;
    else if (Is(name, "al_c")) align = Align::Centre;
    else if (Is(name, "al_r")) align = Align::Right;
    else if (Is(name, "hr")) Rule();
    else if (Is(name, "img") || Is(name, "ilst") || Is(name, "icon") || Is(name, "bmp")) Image(name);
  }
};

CSize CGlintTooltip::DrawMarkup(CDC* pDC, CRect rect, CString strText, BOOL bMeasure) {
  if (bMeasure) {
    m_arrLineWidths.clear();
    m_arrLineHeights.clear();
  }
  if (strText.IsEmpty() || pDC == nullptr) return {0, 0};
  MarkupPass pass(*this, pDC, rect, strText, bMeasure != FALSE);
  pass.Run();
  return pass.End();
}

void CGlintTooltip::DrawRule(CDC* pDC, int x1, int x2, int y) {
  CPen pen(PS_SOLID, 1, pDC->GetTextColor());
  CPen* previous = pDC->SelectObject(&pen);
  pDC->MoveTo(x1, y);
  pDC->LineTo(x2, y);
  pDC->SelectObject(previous);
}
