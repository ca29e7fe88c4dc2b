// CWnd: a window of the program, standing on a Qt widget. The window system's
// events reach the object as messages: WindowProc dispatches them to the
// virtual handlers below, whose base versions fall back to the widget's own
// behaviour (Default). A handle (HWND) is the CWnd bound to the widget, so a
// handle compares equal for as long as the window lives.
#pragma once

#include <map>
#include <memory>

#include "platform/gdi/geometry.h"
#include "platform/gdi/handles.h"
#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

class QWidget;
class QObject;
class QTimer;
class CDC;

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The window's handle (this object while a widget is bound, else null).
  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  QWidget* GetWidget() const { return m_pWidget; }

  // The object bound to a handle or a widget. An unbound widget gets a
  // wrapper that lives as long as the widget, as the class library's
  // temporary objects do.
  static CWnd* FromHandle(HWND hWnd) { return hWnd; }
  static CWnd* FromWidget(QWidget* widget);

  // Binds this object to a widget (or the dialog control `id` of `parent`):
  // PreSubclassWindow runs first, then messages go to this object.
  BOOL SubclassWindow(QWidget* widget);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  QWidget* UnsubclassWindow();

  // Creates a top-level window of its own (WS_POPUP; WS_EX_TOPMOST and
  // WS_EX_TOOLWINDOW give a tool window that never takes the focus).
  virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                        int x, int y, int width, int height, HWND parent, HMENU menu);
  virtual BOOL DestroyWindow();

  // Messages.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // The widget's own handling of the message being dispatched.
  LRESULT Default();
  virtual void PreSubclassWindow() {}

  // Handlers (the base versions run the default handling).
  virtual void OnPaint();
  virtual void OnNcPaint();
  virtual BOOL OnEraseBkgnd(CDC* pDC);
  virtual void OnMouseMove(UINT nFlags, CPoint point);
  virtual void OnLButtonDown(UINT nFlags, CPoint point);
  virtual void OnLButtonUp(UINT nFlags, CPoint point);
  virtual LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  virtual void OnTimer(UINT_PTR nIDEvent);
  virtual void OnDestroy();
  virtual void OnKillFocus(CWnd* pNewWnd);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // Owner drawing: a button with BS_OWNERDRAW asks its own object to draw.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

  // Geometry. Client coordinates exclude the border an edit box draws.
  void GetClientRect(LPRECT rect) const;
  void GetWindowRect(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  // The window's shape; null removes it. The window keeps a copy.
  int SetWindowRgn(HRGN hRgn, BOOL redraw);

  // Relations.
  CWnd* GetParent() const;
  CWnd* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  CWnd* GetTopLevelParent() const;

  // State.
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  void GetWindowText(CString& text) const;
  CString GetWindowText() const;
  void SetWindowText(LPCTSTR text);
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  void SetFont(const QWidget* like);

  // Painting.
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_ERASE);

  // Timers repeat until killed; each fires WM_TIMER with its id.
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT elapse, void* callback = nullptr);
  BOOL KillTimer(UINT_PTR nIDEvent);

  // The marker of SetWindowPos that makes a window top-most.
  static const CWnd wndTopMost;

  // Delivers a message as the window system does and tells whether the
  // handler asked for the widget's own handling.
  LRESULT DeliverMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* wantsDefault);
  // A paint is pending with background erasing (taken once).
  bool TakePendingErase();
  // Widgets of a window that is bound to this object report here.
  bool IsBound() const { return m_pWidget != nullptr; }

 protected:
  // Sends the message's default handling to the widget (set by Default()).
  bool m_bDefaultRequested = false;
  // Binds a widget made by this object (owned: deleted with the object).
  void Bind(QWidget* widget, bool owned);
  void Unbind();

 private:
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  QWidget* m_pWidget = nullptr;
  bool m_bOwnsWidget = false;
  bool m_bWrapper = false;  // made by FromWidget; goes with its widget
  std::unique_ptr<QObject> m_pContext;  // ends the binding when the widget goes
  bool m_bPendingErase = false;
  std::map<UINT_PTR, std::unique_ptr<QTimer>> m_timers;
};

// Free window-system functions the program calls.
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track);
inline BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT track) { return TrackMouseEvent(track); }
BOOL GetCursorPos(LPPOINT point);
HWND WindowFromPoint(POINT screenPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);
BOOL IsWindow(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL ScreenToClient(HWND hWnd, LPPOINT point);
BOOL ClientToScreen(HWND hWnd, LPPOINT point);
BOOL GetWindowRect(HWND hWnd, LPRECT rect);
BOOL GetClientRect(HWND hWnd, LPRECT rect);
int GetDlgCtrlID(HWND hWnd);

inline CWnd* const HWND_TOPMOST = const_cast<CWnd*>(&CWnd::wndTopMost);
