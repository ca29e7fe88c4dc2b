// 写入: writes the sample workbook Test.xls beside the input workbook (the
// program's test of the spreadsheet's writing operations), and converts it
// to a ";" text file when "转换为文本" is ticked.
#include "app/load_calc_dlg.h"
#include "calc/calc_texts.h"
#include "calc/problem_texts.h"
#include "calc/program_folder.h"
#include "platform/odbc/db_exception.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt_text.h"
#include "sheet/spreadsheet.h"

namespace {

CStringArray Row(const char* firstUtf8, const char* secondUtf8) {
  CStringArray row;
  row.Add(Cp936(firstUtf8));
  row.Add(Cp936(secondUtf8));
  return row;
}

void WriteSamplePeople(CSpreadSheet& sheet) {
  const char* const people[][2] = {
      {"张伟", "27"}, {"王芳", "23"}, {"李娜", "28"}, {"刘洋", "27"}, {"陈静", "26"}};
  for (const auto& person : people) {
    CStringArray row = Row(person[0], person[1]);
    sheet.AddRow(row, 0, false);
  }
}

// The sheet's failure in the user's words, with the file it concerns.
CString FailureOf(const CSpreadSheet& sheet, const CString& file) {
  return calc_text::WriteFailed(
      file, calc_text::Reason(xls::MakeError(sheet.GetLastErrorText().str(), sheet.GetLastErrorKind())));
}

}  // namespace

void CLoadCalcDlg::OnWrite() {
  const CString file = GetWorkbookFolder() + "Test.xls";
  try {
    CSpreadSheet sheet(file, "TestSheet", true);
    sheet.BeginTransaction();
    CStringArray headers = Row("姓名", "年龄");
    sheet.AddHeaders(headers, false);
    WriteSamplePeople(sheet);
    CStringArray test = Row("Test", "Test");
    sheet.AddRow(test, 0, false);  // appended
    sheet.AddRow(test, 2, false);  // inserted before row 2
    sheet.AddRow(test, 6, true);   // replaces row 6
    if (!sheet.Commit()) {
      AfxMessageBox(FailureOf(sheet, file));
      return;
    }
    if (m_chkConvert.GetCheck() == BST_CHECKED && !sheet.Convert(";")) {
      AfxMessageBox(FailureOf(sheet, GetWorkbookFolder() + "Test.csv"));
      return;
    }
    AfxMessageBox(calc_text::WriteSucceeded());
  } catch (const CDBException& e) {
    AfxMessageBox(calc_text::WriteFailed(file, calc_text::Reason(xls::MakeError(e.m_strError.str(), e.m_kind))));
  }
}
