// CMenu: the dialog's own part of its system menu. The window manager owns
// the title-bar menu here, so the items the program appends are offered in
// the context menu of the dialog's background and reach it as WM_SYSCOMMAND.
#pragma once

#include <vector>

#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_SEPARATOR = 0x0800;

class CMenu {
 public:
  struct Item {
    UINT flags = MF_STRING;
    UINT_PTR id = 0;
    CString text;  // code page 936; "&" marks the access key, a tab leads the key's name
    bool checkable = false;  // once CheckMenuItem was called for it
  };

  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr) {
    m_items.push_back(Item{flags, id, CString(text)});
    return TRUE;
  }
  // Sets or clears an item's check mark (MF_CHECKED in `check`).
  void CheckMenuItem(UINT_PTR id, UINT check) {
    for (Item& item : m_items) {
      if (item.id != id) continue;
      item.flags = (item.flags & ~MF_CHECKED) | (check & MF_CHECKED);
      item.checkable = true;
    }
  }
  // Greys an item out (MF_GRAYED in `enable`) or enables it again.
  void EnableMenuItem(UINT_PTR id, UINT enable) {
    for (Item& item : m_items)
      if (item.id == id) item.flags = (item.flags & ~MF_GRAYED) | (enable & MF_GRAYED);
  }
  int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
  const std::vector<Item>& Items() const { return m_items; }

 private:
  std::vector<Item> m_items;
};
