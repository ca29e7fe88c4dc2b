// Text output and measurement in the selected font.
#include <QFontMetrics>

#include "platform/gdi/dc.h"
#include "platform/gdi/system_metrics.h"
#include "platform/text/encoding.h"

namespace {

QColor ToQColor(COLORREF color) { return QColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

QString ToQString(const char* text, int length) {
  if (!text || length <= 0) return {};
  return QString::fromStdU16String(ToUtf16(CString(std::string(text, static_cast<size_t>(length)))));
}

int TextLength(const char* text, int length) {
  if (!text) return 0;
  return length > 0 ? length : static_cast<int>(std::strlen(text));
}

// "&x" marks x as the mnemonic, "&&" is one "&".
struct PrefixText {
  QString visible;
  int underlined = -1;  // index into `visible`, -1 when none
};

PrefixText StripPrefixes(const QString& text) {
  PrefixText result;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != u'&' && result.underlined < 0) result.underlined = int(result.visible.size());
    }
    result.visible += text[i];
  }
  return result;
}

}  // namespace

QFont CDC::CurrentQFont() const {
  return QFontFromLogFont(m_state.font ? m_state.font->logFont : DefaultGuiLogFont());
}

void CDC::DrawTextRun(int x, int y, const QString& text, COLORREF color, bool opaque) {
  const QFont font = CurrentQFont();
  const QFontMetrics metrics(font);
  Paint([&](QPainter& painter) {
    if (opaque) {
      painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()),
                       ToQColor(m_state.bkColor));
    }
    painter.setFont(font);
    painter.setPen(ToQColor(color));
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
  });
}

BOOL CDC::TextOut(int x, int y, const char* text, int length) {
  if (!m_hDC) return FALSE;
  const QString run = ToQString(text, length);
  if (!run.isEmpty()) DrawTextRun(x, y, run, m_state.textColor, m_state.bkMode == OPAQUE);
  return TRUE;
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
  return TextOut(x, y, text.GetString(), text.GetLength());
}

CSize CDC::GetTextExtent(const char* text, int length) const {
  const QFontMetrics metrics(CurrentQFont());
  const QString run = ToQString(text, length);
  return {metrics.horizontalAdvance(run), metrics.ascent() + metrics.descent()};
}

CSize CDC::GetTextExtent(const CString& text) const {
  return GetTextExtent(text.GetString(), text.GetLength());
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* tm) const {
  if (!tm) return FALSE;
  const LOGFONT logFont = m_state.font ? m_state.font->logFont : DefaultGuiLogFont();
  const QFont font = QFontFromLogFont(logFont);
  const QFontMetrics metrics(font);
  *tm = TEXTMETRIC();
  tm->tmAscent = metrics.ascent();
  tm->tmDescent = metrics.descent();
  tm->tmHeight = tm->tmAscent + tm->tmDescent;
  tm->tmInternalLeading = std::max(0, tm->tmHeight - font.pixelSize());
  tm->tmExternalLeading = std::max(0, metrics.leading());
  tm->tmAveCharWidth = metrics.averageCharWidth();
  tm->tmMaxCharWidth = metrics.maxWidth();
  tm->tmWeight = logFont.lfWeight <= 0 ? FW_NORMAL : logFont.lfWeight;
  tm->tmItalic = logFont.lfItalic;
  tm->tmUnderlined = logFont.lfUnderline;
  tm->tmStruckOut = logFont.lfStrikeOut;
  tm->tmCharSet = logFont.lfCharSet;
  return TRUE;
}

void CDC::DrawPrefixText(int x, int y, const QString& text, COLORREF color, const QRect& clip) {
  const PrefixText prefix = StripPrefixes(text);
  const QFont font = CurrentQFont();
  const QFontMetrics metrics(font);
  Paint([&](QPainter& painter) {
    if (clip.isValid()) painter.setClipRect(clip, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(ToQColor(color));
    painter.drawText(QPoint(x, y + metrics.ascent()), prefix.visible);
    if (prefix.underlined >= 0) {
      const int from = x + metrics.horizontalAdvance(prefix.visible.left(prefix.underlined));
      const int width = metrics.horizontalAdvance(prefix.visible.at(prefix.underlined));
      painter.fillRect(QRect(from, y + metrics.ascent() + 1, width, 1), ToQColor(color));
    }
  });
}

// Disabled text is embossed: a highlight copy one pixel down and right,
// the shadow-coloured text on top. The text is clipped to the given size.
BOOL CDC::DrawState(CPoint pt, CSize size, const char* text, UINT flags, BOOL prefixText,
                    int textLength, HBRUSH) {
  if (!m_hDC || !text) return FALSE;
  QString run = ToQString(text, TextLength(text, textLength));
  const UINT kind = flags & 0x000F;
  if (kind == DST_TEXT && !prefixText) run.replace(QStringLiteral("&"), QStringLiteral("&&"));
  const QRect clip = size.cx > 0 && size.cy > 0 ? QRect(pt.x, pt.y, size.cx, size.cy) : QRect();
  if (flags & DSS_DISABLED) {
    DrawPrefixText(pt.x + 1, pt.y + 1, run, GetSysColor(COLOR_3DHILIGHT), clip.translated(1, 1));
    DrawPrefixText(pt.x, pt.y, run, GetSysColor(COLOR_3DSHADOW), clip);
  } else {
    DrawPrefixText(pt.x, pt.y, run, m_state.textColor, clip);
  }
  return TRUE;
}

// Single lines and lines split at line feeds; no word wrapping.
int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  if (!rect) return 0;
  QString all = ToQString(text.GetString(), text.GetLength());
  all.remove(u'\r');
  const QStringList lines = (format & DT_SINGLELINE) ? QStringList{QString(all).replace(u'\n', u' ')}
                                                     : all.split(u'\n');
  const QFontMetrics metrics(CurrentQFont());
  const int lineHeight = metrics.ascent() + metrics.descent();
  const int total = lineHeight * int(lines.size());
  CRect box(*rect);
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const QString& line : lines) {
      const QString shown = (format & DT_NOPREFIX) ? line : StripPrefixes(line).visible;
      widest = std::max(widest, metrics.horizontalAdvance(shown));
    }
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }
  int y = box.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = box.top + (box.Height() - lineHeight) / 2;
    else if (format & DT_BOTTOM) y = box.bottom - lineHeight;
  }
  const QRect clip = (format & DT_NOCLIP) ? QRect() : QRect(box.left, box.top, box.Width(), box.Height());
  for (const QString& line : lines) {
    const QString source = (format & DT_NOPREFIX) ? QString(line).replace(QStringLiteral("&"), QStringLiteral("&&")) : line;
    const int width = metrics.horizontalAdvance(StripPrefixes(source).visible);
    int x = box.left;
    if (format & DT_CENTER) x = box.left + (box.Width() - width) / 2;
    else if (format & DT_RIGHT) x = box.right - width;
    if (m_state.bkMode == OPAQUE) FillPixels(QRegion(x, y, width, lineHeight), m_state.bkColor, R2_COPYPEN);
    DrawPrefixText(x, y, source, m_state.textColor, clip);
    y += lineHeight;
  }
  return total;
}
