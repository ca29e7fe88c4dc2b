// CListCtrl: the report view of a list. The rows and columns come from a Qt
// model (a model over the program's table); a column's width is what the
// model answers for its header in kColumnWidthRole. Labels are not editable.
#pragma once

#include <memory>

#include "platform/ui/wnd.h"

class QAbstractItemModel;
class QTableView;
class QObject;

// The header role that gives a column's width in pixels. Not the size hint:
// the header takes its height from that.
constexpr int kColumnWidthRole = 0x0100 + 1;  // Qt::UserRole + 1

constexpr DWORD LVS_EX_GRIDLINES_STYLE = 0x00000001;
constexpr DWORD LVS_EX_FULLROWSELECT_STYLE = 0x00000020;

class CListCtrl : public CWnd {
 public:
  CListCtrl();
  ~CListCtrl() override;

  // The model stays owned by the caller and must outlive the binding.
  void SetModel(QAbstractItemModel* model);
  // Grid lines (0x01) and full-row selection (0x20).
  DWORD SetExtendedStyle(DWORD style);
  DWORD GetExtendedStyle() const { return m_dwExtendedStyle; }
  int GetItemCount() const;
  int GetColumnWidth(int column) const;

 private:
  QTableView* View() const;
  void ApplyColumnWidths();

  DWORD m_dwExtendedStyle = 0;
  std::unique_ptr<QObject> m_pConnections;
};
