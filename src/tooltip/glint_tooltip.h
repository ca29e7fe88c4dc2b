// CGlintTooltip: the program's own tooltip. A frameless popup that shows,
// next to the cursor, a text in the tooltip markup (optionally after an
// icon) inside a balloon with a drop shadow. The owner registers its
// controls as tools and feeds every message it pre-translates to
// RelayMessage; two timers run the initial and the auto-pop delays.
#pragma once

#include <vector>

#include "platform/gdi/dc.h"
#include "platform/ui/wnd.h"
#include "tooltip/image_list.h"
#include "tooltip/texture_dib.h"
#include "tooltip/tooltip_types.h"

class CTipDesktop;

class CGlintTooltip : public CWnd {
 public:
  static constexpr UINT_PTR TIMER_SHOW = 0x100;
  static constexpr UINT_PTR TIMER_HIDE = 0x101;

  CGlintTooltip();
  ~CGlintTooltip() override;

  BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL Create(CWnd* pParentWnd, BOOL bBalloon = TRUE);

  // Tools.
  void AddTool(CWnd* pWnd, const CString& strText, UINT nIconID, CSize szIcon,
               LPCRECT lpRect = nullptr, DWORD dwIDTool = 0);
  void AddTool(CWnd* pWnd, const CString& strText, HICON hIcon = nullptr, LPCRECT lpRect = nullptr,
               DWORD dwIDTool = 0);
  void AddToolRecord(TOOLRECORD ti);
  int FindToolByWindow(CWnd* pWnd, LPCRECT lpRect = nullptr) const;
  int FindToolAtPoint(POINT ptClient) const;
  BOOL GetToolRecord(int nIndex, TOOLRECORD& ti) const;
  void SetToolRecord(int nIndex, const TOOLRECORD& ti);
  void RemoveAllTools();
  bool IsValidTool(int nIndex) const;
  int GetToolCount() const { return static_cast<int>(m_arrTools.size()); }

  void RelayMessage(MSG* pMsg);

  // Settings; a tool index that is not a valid tool means tooltip-wide.
  void SetColor(int nIndex, COLORREF crColor);
  COLORREF GetColor(int nIndex) const;
  void ResetColors();
  void SetSize(int nIndex, int nValue);
  int GetSize(int nIndex) const;
  void ResetSizes(BOOL bBalloon);
  void ChangeStyles(DWORD dwAdd, DWORD dwRemove, int nTool = -1);
  void SetStyles(DWORD dwStyles, int nTool = -1);
  void ResetStyles(int nTool = -1);
  DWORD GetStyles() const { return m_dwStyles; }
  void SetBackgroundEffect(int nEffect, UINT nGranularity, int nTool = -1);
  int GetEffect() const { return m_nEffect; }
  BYTE GetGranularity() const { return static_cast<BYTE>(m_nGranularity); }
  void SetDirection(UINT nDirection, int nTool = -1);
  int GetDirection() const { return m_nDirection; }
  void SetShowBehaviour(DWORD dwBehaviour, int nTool = -1);
  DWORD GetShowBehaviour() const { return m_dwBehaviour; }
  void SetDelay(UINT nType, UINT nMilliseconds);
  UINT GetDelay(UINT nType) const;
  void EnableDisplayNotify(BOOL bEnable = TRUE);
  void SetDisplayNotifyWnd(HWND hWnd) { m_hNotifyWnd = hWnd; }
  BOOL IsDisplayNotifyEnabled() const { return m_hNotifyWnd != nullptr; }
  BOOL SetFont(const LOGFONT* pLogFont);
  void ResetFont();
  const LOGFONT& GetDefaultFont() const { return m_lfDefault; }

  // Images that markup names: "img" looks them up by name (case-blind),
  // "ilst" takes them from the image list, drawn at `szImage`. The list
  // stays its owner's and must outlive its use here.
  void AddNamedImage(const CString& strName, DWORD nResourceID, BYTE nKind,
                     COLORREF crMask = RGB(255, 0, 255));
  void RemoveAllNamedImages() { m_arrImages.clear(); }
  void SetImageList(HIMAGELIST hList, CSize szImage);

  static HICON LoadIconResource(UINT nID, int cx, int cy);
  static HBITMAP LoadBitmapResource(UINT nID);
  static CSize GetIconSize(HICON hIcon);

  // Lays out (bMeasure TRUE: records the line tables, draws nothing) or
  // draws a markup text; returns the widest line and the total height.
  CSize DrawMarkup(CDC* pDC, CRect rect, CString strText, BOOL bMeasure);

  // Computes a texture of effect 7..15 into the background bitmap.
  void BuildTexture(CRect rect, int nEffect, BYTE nGranularity, UINT nPercent, COLORREF crTint);

  // The desktop the tooltip asks for the cursor and windows (tests put
  // their own in); nullptr restores the system's.
  void SetDesktop(const CTipDesktop* pDesktop);

  // State, for the owner and for tests.
  int GetNextTool() const { return m_nNextTool; }
  int GetDisplayedTool() const { return m_nDisplayedTool; }
  int GetCurrentDirection() const { return m_nCurrentDirection; }
  const TOOLRECORD& GetCurrentTool() const { return m_tiCurrent; }
  const CRgn& GetBalloonRegion() const { return m_rgnBalloon; }
  const CRgn& GetShadowRegion() const { return m_rgnShadow; }
  const std::vector<UINT>& GetLineWidths() const { return m_arrLineWidths; }
  const std::vector<UINT>& GetLineHeights() const { return m_arrLineHeights; }
  const CTextureDib& GetBackgroundTexture() const { return m_dibBackground; }
  CSize GetTextSize() const { return m_szText; }
  CSize GetShownIconSize() const { return m_szIcon; }

  // Message handlers.
  void OnPaint() override;
  void OnTimer(UINT_PTR nIDEvent) override;
  void OnDestroy() override;
  void OnKillFocus(CWnd* pNewWnd) override;
  BOOL OnEraseBkgnd(CDC* pDC) override;

  // Composes the whole tip (shadow, background, border, icon, text) into a
  // DC whose pixels hold the screen beneath the tip.
  void OnDraw(CDC* pDC, CRect rect);

  // Steps of showing and hiding.
  void ShowTool(int nTool, BOOL bDelayed);
  void DisplayTip(CPoint pt);
  void HideTip();
  void KillTimers(UINT_PTR nIDTimer = 0);
  BOOL IsCursorOverTip() const;

  // Markup parser steps: each reads from `pos` and advances it.
  static CString ReadTextRun(const CString& strText, int& pos);
  static CString ReadTagName(const CString& strText, int& pos);
  static CString ReadAttributeName(const CString& strText, int& pos);
  static CString ReadAttributeValue(const CString& strText, int& pos);
  static DWORD ReadNumber(const CString& strText, int& pos, DWORD dwDefault);
  static void SkipToTagEnd(const CString& strText, int& pos);

 protected:
  void SendDisplayNotify(POINT* pt, TOOLRECORD* pti);
  CSize GetTextSize(const CString& strText);
  void PlaceWindow(CPoint pt, CRect rect);
  void CalcPlacement(CPoint pt, CRect& rect);
  CRect CreateBalloonRegion(CRgn& rgn, int nWidth, int nHeight, POINT ptAnchor);
  void DrawShadow(CDC* pDC);
  void FillBackground(CDC* pDC, CRect rect);
  void FillGradient(CDC* pDC, CRect rect, COLORREF crFrom, COLORREF crTo, BOOL bHorizontal);
  void DrawRule(CDC* pDC, int x1, int x2, int y);

  // Images of the markup; each returns the size it takes (0, 0 when none).
  CSize DrawNamedImage(CDC* pDC, int x, int y, int nLineHeight, const CString& strName, int cx,
                       int cy, BOOL bMeasure);
  CSize DrawBitmapResource(CDC* pDC, int x, int y, int nLineHeight, DWORD nID, BOOL bMask,
                           COLORREF crMask, int cx, int cy, BOOL bMeasure);
  CSize DrawIconResource(CDC* pDC, int x, int y, int nLineHeight, DWORD nID, int cx, int cy,
                         BOOL bMeasure);
  CSize DrawImageListImage(CDC* pDC, int x, int y, int cx, int cy, HIMAGELIST hList, int nIndex,
                           BOOL bMeasure);

 private:
  struct MarkupPass;
  void ResolveEffectiveSettings();
  DWORD CurrentBehaviour() const { return m_tiCurrent.nBehaviour; }
  void OnShowTimer();
  void OnHideTimer();
  const CTipDesktop& Desktop() const;
  int ToolUnderCursor(CPoint ptScreen) const;
  HWND ChildWindowAt(POINT ptClient) const;
  static void RegisterWindowClass();

  std::vector<TOOLRECORD> m_arrTools;
  std::vector<TIPNAMEDIMAGE> m_arrImages;
  HWND m_hNotifyWnd = nullptr;
  CWnd* m_pParentWnd = nullptr;
  int m_nCurrentDirection = 3;
  std::vector<UINT> m_arrLineWidths;
  std::vector<UINT> m_arrLineHeights;
  int m_nNextTool = -1;
  int m_nDisplayedTool = -1;
  LOGFONT m_lfDefault{};
  COLORREF m_crColors[TTCOLOR_COUNT] = {};
  int m_nSizes[TTSIZE_COUNT] = {};
  DWORD m_dwStyles = 0;
  int m_nDirection = 3;
  int m_nEffect = 0;
  DWORD m_nGranularity = 2;  // a byte kept in a 32-bit slot
  DWORD m_dwBehaviour = 0;
  UINT m_nTimeAutoPop = 5000;
  UINT m_nTimeInitial = 500;
  CPoint m_ptLastMouse{-1, -1};
  CRgn m_rgnBalloon;
  CRgn m_rgnShadow;
  CSize m_szIcon;
  CSize m_szText;
  HIMAGELIST m_imgList = nullptr;
  CSize m_szImgList;
  TOOLRECORD m_tiCurrent;
  CTextureDib m_dibBackground;
  CTextureDib m_dibStripH;
  CTextureDib m_dibStripV;
  const CTipDesktop* m_pDesktop = nullptr;
  std::vector<HICON> m_loadedIcons;  // loaded by AddTool, destroyed with the tip
};
