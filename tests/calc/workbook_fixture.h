// A load calculation over workbooks made in a temporary folder, with a host
// that records what the dialog would show.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "calc/load_calc_core.h"
#include "calc/memory_circuit_table.h"
#include "platform/text/encoding.h"
#include "xls/workbook.h"
#include "../support/workbook_read_back.h"
#include "../support/temp_folder.h"


inline CString Cp936(const std::string& utf8) { return FromUtf8(utf8); }

class RecordingHost : public LoadCalcHost {
 public:
  std::vector<std::string> messages;  // UTF-8
  std::vector<bool> exchanges;        // true: fields read into the members
  int waitDepth = 0;
  int waitCalls = 0;

  void ShowMessage(const CString& text) override { messages.push_back(ToUtf8(text)); }
  void ExchangeBoardData(bool saveAndValidate) override { exchanges.push_back(saveAndValidate); }
  void BeginWaitCursor() override {
    ++waitDepth;
    ++waitCalls;
  }
  void EndWaitCursor() override { --waitDepth; }

  // Balancing beyond 19 circuits: the question is recorded and answered
  // with `answerYes` (No shows the refusal as a message, as before).
  bool answerYes = false;
  std::vector<std::string> questions;  // refusal and question, UTF-8
  bool OfferAlternative(const CString& refusal, const CString& question) override {
    questions.push_back(ToUtf8(refusal + question));
    if (!answerYes) ShowMessage(refusal);
    return answerYes;
  }
  // Progress reports; the first one at or after `cancelAtReport` cancels.
  int progressReports = 0;
  int cancelAtReport = -1;
  bool ContinueBalancing(double share) override {
    EXPECT_GE(share, 0.0);
    ++progressReports;
    return cancelAtReport < 0 || progressReports < cancelAtReport;
  }
};

class WorkbookTest : public testing::Test {
 protected:
  void SetUp() override {
    core.SetWorkbookPath(Cp936(InputPath()));
    core.ResetCircuitList();
  }

  std::string InputPath() const { return (m_folder / "电气计算.xls").string(); }
  std::string PathIn(const std::string& name) const { return (m_folder / name).string(); }

  // The input workbook with its circuit sheet and switch library (a sheet is
  // left out when its rows are empty); each sheet gets a header row.
  void WriteInput(const Rows& circuits, const Rows& library) {
    xls::Workbook book;
    if (!circuits.empty()) book.AddSheet(u"线路负荷计算", WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, circuits));
    if (!library.empty()) book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, library));
    ASSERT_TRUE(book.Save(InputPath()).ok());
  }

  // All sheets of a workbook as UTF-8 rows, by name.
  static NamedSheets ReadBack(const std::string& path) {
    EXPECT_TRUE(xls::Workbook::Load(path).ok()) << path << " cannot be read";
    return ReadWorkbookBack(path);
  }

  std::string Cell(int row, int column) const { return ToUtf8(list.GetItemText(row, column)); }
  std::vector<std::string> Headers() const {
    std::vector<std::string> headers;
    for (const CString& caption : core.m_astrHeaders) headers.push_back(ToUtf8(caption));
    return headers;
  }

  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  RecordingHost host;
  CLoadCalcCore core{list, switches, host};

 private:
  ::test::TempFolder m_temp{"loadcalc"};
  const std::filesystem::path m_folder = m_temp.Path();
};

inline const Rows kSmallLibrary = {{"C16", "16"}, {"C32", "32"}, {"C63", "63"}, {"MCCB-125", "80", "100", "125"}};
