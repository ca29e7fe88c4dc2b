// 配电系统…: the building's window beside the main dialog. The boards'
// table (配电箱编号, Pe, Pjs, Qjs, Sjs, cos φ, Ijs, the board's switch), the
// busbar, compensation and transformer; double-clicking a board opens it in
// the main dialog. It calculates again on 重新计算 and, when it regains
// focus, if any workbook changed on disk since.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>

#include "calc/system_calculation.h"

class QLabel;
class QLineEdit;
class QTableWidget;

class SystemWindow : public QDialog {
 public:
  using OpenBoard = std::function<void(const CString& workbook)>;

  SystemWindow(QWidget* parent, const CString& systemWorkbook, OpenBoard openBoard);

  // Reads and calculates everything again.
  void Recalculate();
  // Recalculates when a workbook changed on disk since the last reading;
  // true when it did.
  bool RefreshIfChanged();
  const SystemResult& Result() const { return m_result; }
  QTableWidget* Boards() const { return m_boards; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void BuildLayout();
  void ShowResult();
  void ShowBoards();
  void ShowBusbar();
  void WriteFile(const char* extension, const char* name, const char* filter,
                 const std::function<CString(const CString& path)>& write);
  void SaveResults();
  void ExportReport();
  // The modification times of every workbook the result was read from.
  std::map<std::string, long long> WorkbookTimes() const;

  CString m_path;
  OpenBoard m_openBoard;
  SystemResult m_result;
  std::map<std::string, long long> m_readTimes;
  QLabel* m_problems = nullptr;
  QTableWidget* m_boards = nullptr;
  std::map<std::string, QLineEdit*> m_fields;  // by object name
};
