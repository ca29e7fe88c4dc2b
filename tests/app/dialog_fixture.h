// The main dialog built offscreen, with message boxes, the file dialog,
// modal dialogs and popup menus answered by the test, over workbooks made in
// a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/load_calc_dlg.h"
#include "platform/text/encoding.h"
#include "platform/ui/dialog.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/win_app.h"
#include "xls/workbook.h"
#include "../support/workbook_read_back.h"
#include "../support/temp_folder.h"


// The board most dialog tests work on: three circuits on L1, one on L2. It
// draws 87.552 A (threshold 97): of its switches only C125 carries it.
inline const Rows kFourCircuits = {
    {"N1", "L1", "3", "0.8", "0.85", "照明"},
    {"N2", "L1", "4", "0.8", "0.85", "插座"},
    {"N3", "L1", "5", "0.8", "0.85", "空调"},
    {"N4", "L2", "2", "0.8", "0.85", "备用"},
};
inline const Rows kFourSwitches = {{"C16", "16"}, {"C32", "32"}, {"C63", "63"}, {"C125", "125"}};

// Made once and never destroyed: Qt's own globals may be gone by the time
// static objects die at exit.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "app_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  // The program's icons (the window's and the tips') come through it.
  static CWinApp* program = new CWinApp();
  (void)program;
  return *application;
}

inline std::string Utf8(const CString& text) { return ToUtf8(text); }

// A small board of four circuits and a switch library for it: the board
// draws 87.552 A (threshold 97), which only C125 carries.
inline const Rows kSmallBoard = {
    {"N1", "L1", "3", "0.8", "0.85", "照明"},
    {"N2", "L1", "4", "0.8", "0.85", "插座"},
    {"N3", "L1", "5", "0.8", "0.85", "空调"},
    {"N4", "L2", "2", "0.8", "0.85", "备用"},
};
inline const Rows kSmallBoardLibrary = {{"C16", "16"}, {"C32", "32"}, {"C63", "63"}, {"C125", "125"}};

// The dialog's protected parts, for the checks.
class TestableDialog : public CLoadCalcDlg {
 public:
  using CLoadCalcDlg::m_chkConvert;
  using CLoadCalcDlg::m_listView;
  using CLoadCalcDlg::RememberWindow;
  using CLoadCalcDlg::m_tooltip;
};

class DialogTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    // What the window keeps between starts goes to this test's own folder.
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    SetMessageBoxHandler([this](const CString& text, const CString& caption, UINT type) {
      captions.push_back(Utf8(caption));
      // Questions are kept apart, so checks of what a command said stay
      // about its messages.
      if ((type & 0x000F) == MB_YESNO) {
        questions.push_back(Utf8(text));
        questionTypes.push_back(type);
        return yesNoAnswer;
      }
      messages.push_back(Utf8(text));
      return static_cast<int>(IDOK);
    });
    SetFileDialogHandler([this](const CFileDialog& dialog) {
      askedFileName = Utf8(dialog.m_strFileName);
      askedExtension = Utf8(dialog.m_strDefExt);
      askedFilter = Utf8(dialog.m_strFilter);
      askedOverwritePrompt = (dialog.m_dwFlags & OFN_OVERWRITEPROMPT) != 0;
      return FromUtf8(saveAs);
    });
    SetModalDialogHandler([this](CDialog& dialog) {
      modalCaptions.push_back(Utf8(dialog.GetWindowText()));
      return static_cast<INT_PTR>(IDOK);
    });
    dialog = std::make_unique<TestableDialog>();
    dialog->SetWorkbookPath(FromUtf8(InputPath()));
    ASSERT_TRUE(dialog->Create());
  }

  void TearDown() override {
    dialog.reset();
    SetMessageBoxHandler(nullptr);
    SetFileDialogHandler(nullptr);
    SetModalDialogHandler(nullptr);
    SetPopupMenuHandler(nullptr);
  }

  std::string InputPath() const { return (folder / "电气计算.xls").string(); }
  std::string PathIn(const std::string& name) const { return (folder / name).string(); }

  void WriteInput(const Rows& circuits, const Rows& library) {
    xls::Workbook book;
    book.AddSheet(u"线路负荷计算",
                  WithHeader({"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}, circuits));
    book.AddSheet(u"开关型号库", WithHeader({"型号", "额定电流"}, library));
    ASSERT_TRUE(book.Save(InputPath()).ok());
  }

  static NamedSheets ReadBack(const std::string& path) { return ReadWorkbookBack(path); }

  QWidget* Control(int id) const {
    CWnd* control = dialog->GetDlgItem(id);
    return control ? control->GetWidget() : nullptr;
  }
  std::string Text(int id) const { return Utf8(dialog->GetDlgItem(id)->GetWindowText()); }
  void SetText(int id, const char* utf8) { dialog->GetDlgItem(id)->SetWindowText(FromUtf8(utf8)); }
  void Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
  }
  std::string Cell(int row, int column) const { return Utf8(dialog->m_list.GetItemText(row, column)); }

  ::test::TempFolder m_temp{"loadcalc-ui"};
  const std::filesystem::path folder = m_temp.Path();
  std::unique_ptr<TestableDialog> dialog;
  std::vector<std::string> messages;
  std::vector<std::string> captions;
  std::vector<std::string> questions;
  std::vector<UINT> questionTypes;
  int yesNoAnswer = IDYES;
  std::vector<std::string> modalCaptions;
  std::string saveAs;
  std::string askedFileName, askedExtension, askedFilter;
  bool askedOverwritePrompt = false;
};
