#include "controls/hover_edit.h"

// The edit box handles every message first; hover tracking only watches.
LRESULT CHoverEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!m_bTracking) {
        TRACKMOUSEEVENT track;
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 1;
        if (_TrackMouseEvent(&track)) m_bTracking = true;
      }
      break;
    case WM_MOUSEHOVER:
      m_bHover = true;
      OnMouseHover();
      break;
    case WM_MOUSELEAVE:
      m_bHover = false;
      m_bTracking = false;
      OnMouseLeave();
      break;
    default:
      break;
  }
  return result;
}
