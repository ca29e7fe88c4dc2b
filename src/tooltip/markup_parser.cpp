// The markup's parser steps. Each reads from a position in the text and
// moves it on; none of them fails, whatever the text holds.
#include "tooltip/glint_tooltip.h"
#include "tooltip/markup_number.h"

namespace {

bool IsLineControl(char c) { return c == '\t' || c == '\n'; }

// Tag and attribute names: leading blanks skipped, a blank after the name
// consumed, "=" and ">" left for the caller.
CString ReadName(const CString& text, int& pos, bool lineControlEndsName) {
  CString name;
  const int length = text.GetLength();
  while (pos < length) {
    const char c = text.GetAt(pos);
    if (c == '\r') { ++pos; continue; }
    if (IsLineControl(c)) {
      if (lineControlEndsName && name.IsEmpty()) return CString(c, 1);
      ++pos;
      continue;
    }
    if (c == ' ') {
      ++pos;
      if (name.IsEmpty()) continue;
      return name;
    }
    if (c == '=' || c == '>') return name;
    name += c;
    ++pos;
  }
  return name;
}

}  // namespace

CString CGlintTooltip::ReadTextRun(const CString& strText, int& pos) {
  CString run;
  const int length = strText.GetLength();
  while (pos < length) {
    const char c = strText.GetAt(pos);
    if (c == '\r') { ++pos; continue; }
    if (IsLineControl(c)) break;
    if (c == '<') {
      if (pos + 1 < length && strText.GetAt(pos + 1) == '<') {
        run += '<';
        pos += 2;
        continue;
      }
      if (pos + 1 == length) {
        run += '<';
        ++pos;
        continue;
      }
      if (run.IsEmpty()) ++pos;  // a tag follows
      break;
    }
    run += c;
    ++pos;
  }
  return run;
}

CString CGlintTooltip::ReadTagName(const CString& strText, int& pos) {
  return ReadName(strText, pos, true);
}

CString CGlintTooltip::ReadAttributeName(const CString& strText, int& pos) {
  return ReadName(strText, pos, false);
}

CString CGlintTooltip::ReadAttributeValue(const CString& strText, int& pos) {
  const int length = strText.GetLength();
  while (pos < length) {
    const char c = strText.GetAt(pos);
    if (c != '\t' && c != '\n' && c != '\r' && c != ' ') break;
    ++pos;
  }
  CString value;
  if (pos >= length || strText.GetAt(pos) != '=') return value;
  while (pos < length) {
    const char c = strText.GetAt(pos);
    if (c == ' ') { ++pos; break; }
    if (c == '>') break;
    if (c != '=') value += c;
    ++pos;
  }
  return value;
}

DWORD CGlintTooltip::ReadNumber(const CString& strText, int& pos, DWORD dwDefault) {
  return MarkupNumber(ReadAttributeValue(strText, pos), dwDefault);
}

void CGlintTooltip::SkipToTagEnd(const CString& strText, int& pos) {
  const int length = strText.GetLength();
  while (pos < length) {
    const char c = strText.GetAt(pos);
    if (c == '>' || IsLineControl(c)) return;
    ++pos;
  }
}
