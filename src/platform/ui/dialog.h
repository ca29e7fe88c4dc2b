// CDialog: a dialog built from a template in the resources. DoModal runs it
// until EndDialog; Create builds it without running it. Commands of its
// buttons arrive as WM_COMMAND in OnCommand (IDOK and IDCANCEL run OnOK and
// OnCancel); Enter gives the focused push button or else IDOK, Escape and
// the close box give IDCANCEL.
#pragma once

#include <functional>
#include <memory>

#include "platform/gdi/handles.h"
#include "platform/ui/menu.h"
#include "platform/ui/wnd.h"

class CDataExchange;
class CDC;
class QDialog;
struct DialogTemplate;

using INT_PTR = std::intptr_t;

// Colour requests (OnCtlColor's nCtlColor).
constexpr UINT CTLCOLOR_EDIT = 1;
constexpr UINT CTLCOLOR_LISTBOX = 2;
constexpr UINT CTLCOLOR_BTN = 3;
constexpr UINT CTLCOLOR_DLG = 4;
constexpr UINT CTLCOLOR_STATIC = 6;

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  virtual INT_PTR DoModal();
  // Builds the window, its controls and runs OnInitDialog; shown when `show`.
  BOOL Create(bool show = false);
  void EndDialog(int result);
  BOOL DestroyWindow() override;

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void OnSysCommand(UINT nID, LPARAM lParam);
  // The brush for a control's colours, or null for the default colours.
  virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX);

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CMenu* GetSystemMenu(BOOL revert);
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const { return bigIcon ? m_hBigIcon : m_hSmallIcon; }
  // The control whose id Enter sends when no push button has the focus.
  int GetDefID() const;
  BOOL IsIconic() const;

  // Shows the system-menu items at a screen point and sends the chosen one.
  void TrackSystemMenu(POINT screenPoint);
  // A right-click or the Menu key at a screen point; by default TrackSystemMenu.
  virtual void OnContextMenu(POINT screenPoint);

 protected:
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 private:
  void BuildControls(const DialogTemplate& dialogTemplate);
  void ApplyListColours();

  CMenu m_systemMenu;
  HICON m_hBigIcon = nullptr;
  HICON m_hSmallIcon = nullptr;
  int m_nModalResult = -1;
};

// Test seams: a handler stands in for a modal run of a dialog (it gets the
// created dialog and answers its result), or for the choice in a popup menu
// (it answers the chosen command, 0 for none). Null restores the real ones.
using ModalDialogHandler = std::function<INT_PTR(CDialog& dialog)>;
void SetModalDialogHandler(ModalDialogHandler handler);
using PopupMenuHandler = std::function<UINT_PTR(const CMenu& menu)>;
void SetPopupMenuHandler(PopupMenuHandler handler);
