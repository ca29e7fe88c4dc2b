// 计算方法 and 自动平衡时尽量少移动回路 on the context menu, remembered between
// runs, and 规范法's group with its inputs and results.
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLineEdit>

#include "dialog_fixture.h"

namespace {

const Rows kBoard = {{"WL1", "L1", "4", "1", "1"},
                     {"WL2", "L2", "2", "1", "1"},
                     {"WL3", "L3", "3", "1", "1"},
                     {"M1", "L1L2L3", "20", "1", "0.8", "电动机"}};
const Rows kLibrary = {{"C16", "16"}, {"C63", "63"}, {"NSX100", "100"}};

class CalcMethodTest : public DialogTest {
 protected:
  // Chooses the context menu item starting with `caption`; the menu's items
  // (flags and texts) as offered are kept.
  void Choose(const std::string& caption) {
    offered.clear();
    SetPopupMenuHandler([this, caption](const CMenu& menu) {
      UINT_PTR chosen = 0;
      for (const CMenu::Item& item : menu.Items()) {
        offered.emplace_back(item.flags, Utf8(item.text));
        if (Utf8(item.text) == caption) chosen = item.id;
      }
      return chosen;
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(500, 300), QPoint(500, 300));
    QApplication::sendEvent(dialog->GetWidget(), &rightClick);
  }
  bool Checked(const std::string& caption) const {
    for (const auto& [flags, text] : offered)
      if (text == caption) return (flags & MF_CHECKED) != 0;
    ADD_FAILURE() << caption << " not offered";
    return false;
  }
  QLineEdit* Field(const char* name) const { return dialog->GetWidget()->findChild<QLineEdit*>(name); }
  QGroupBox* Group() const { return dialog->GetWidget()->findChild<QGroupBox*>("standardMethodGroup"); }

  std::vector<std::pair<UINT, std::string>> offered;
};

}  // namespace

TEST_F(CalcMethodTest, OriginalMethodIsTheDefaultAndStandardIsRememberedWithTheFieldsShownDisabled) {
  dialog->GetWidget()->show();
  Choose("");
  EXPECT_TRUE(Checked("计算方法：原方法"));
  EXPECT_FALSE(Checked("计算方法：规范法"));
  EXPECT_FALSE(Checked("自动平衡时尽量少移动回路"));
  ASSERT_NE(Group(), nullptr);
  EXPECT_FALSE(Group()->isVisible());
  EXPECT_TRUE(Control(IDC_POWER_FACTOR)->isEnabled());

  Choose("计算方法：规范法");
  EXPECT_TRUE(Group()->isVisible());
  EXPECT_FALSE(Control(IDC_POWER_FACTOR)->isEnabled());
  EXPECT_FALSE(Control(IDC_DEMAND_COEF)->isEnabled());
  EXPECT_EQ(Text(IDC_POWER_FACTOR), "0.5");  // shown, not hidden
  // Below the balance results, clear of them.
  QWidget* above = nullptr;
  for (QGroupBox* group : dialog->GetWidget()->findChildren<QGroupBox*>())
    if (group->title() == QString::fromUtf8("平衡计算结果")) above = group;
  ASSERT_NE(above, nullptr);
  EXPECT_GT(Group()->geometry().top(), above->geometry().bottom());
  Choose("自动平衡时尽量少移动回路");

  // A new dialog starts as the last one was left.
  dialog.reset();
  dialog = std::make_unique<TestableDialog>();
  dialog->SetWorkbookPath(FromUtf8(InputPath()));
  ASSERT_TRUE(dialog->Create());
  Choose("");
  EXPECT_TRUE(Checked("计算方法：规范法"));
  EXPECT_FALSE(Checked("计算方法：原方法"));
  EXPECT_TRUE(Checked("自动平衡时尽量少移动回路"));
  EXPECT_EQ(dialog->m_method, CalcMethod::Standard);
}

TEST_F(CalcMethodTest, StandardMethodShowsItsResultsAndRefusesInputsOutOfRange) {
  WriteInput(kBoard, kLibrary);
  Choose("计算方法：规范法");
  Click(IDOK);
  Click(IDC_CALC);
  EXPECT_TRUE(messages.empty()) << messages.front();
  ASSERT_TRUE(dialog->LastStandard().has_value());
  const double current = dialog->LastStandard()->totals.current;
  EXPECT_EQ(Field("standardCurrent")->text(), QString::number(current, 'f', 2));
  EXPECT_EQ(Field("standardCompensation")->text(), QString::number(dialog->LastStandard()->totals.compensation, 'f', 1));
  EXPECT_NEAR(std::stod(Cell(3, 6)), 20 / (std::sqrt(3.0) * 0.38 * 0.8), 1e-4);

  Field("standardKp")->setText("1.5");
  Click(IDC_CALC);
  EXPECT_EQ(messages, std::vector<std::string>{"有功同时系数 K∑p 必须大于0且不大于1"});
  EXPECT_EQ(Field("standardCurrent")->text(), QString());  // no figures of the earlier run
  messages.clear();
  Field("standardKp")->setText("abc");
  Click(IDC_CALC);
  EXPECT_EQ(messages, std::vector<std::string>{"有功同时系数 K∑p 必须大于0且不大于1"});
  messages.clear();
  Field("standardKp")->setText("0.8");
  Click(IDC_CALC);
  EXPECT_TRUE(messages.empty());
  EXPECT_DOUBLE_EQ(dialog->m_standardInputs.kp, 0.8);

  // Back to the original method: the board's power factor counts again.
  Choose("计算方法：原方法");
  EXPECT_TRUE(Control(IDC_POWER_FACTOR)->isEnabled());
  Click(IDC_CALC);
  EXPECT_FALSE(dialog->LastStandard().has_value());
}

// Figures made by one method are not left on screen under the other; the
// fewest-moves item only changes the next balancing, so results stay.
TEST_F(CalcMethodTest, ChangingTheMethodClearsTheResultsTheFewestMovesItemKeepsThem) {
  WriteInput(kBoard, kLibrary);
  Click(IDOK);
  Click(IDC_CALC);
  ASSERT_TRUE(dialog->ResultsCurrent());
  Choose("自动平衡时尽量少移动回路");
  EXPECT_TRUE(dialog->ResultsCurrent());
  Choose("计算方法：原方法");  // already the method: nothing changes
  EXPECT_TRUE(dialog->ResultsCurrent());

  Choose("计算方法：规范法");
  EXPECT_FALSE(dialog->ResultsCurrent());
  EXPECT_EQ(Text(IDC_CURRENT), Text(IDC_L1));  // both emptied to 0
  EXPECT_EQ(dialog->m_fCurrent, 0.0f);
  Click(IDC_CALC);
  ASSERT_TRUE(dialog->LastStandard().has_value());
  Choose("计算方法：原方法");
  EXPECT_FALSE(dialog->LastStandard().has_value());
  EXPECT_EQ(Field("standardCurrent")->text(), QString());
}
