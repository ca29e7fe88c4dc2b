#include "platform/ui/dialog.h"
#include "res/ui/resource.h"
#include "tooltip/main_dialog_tips.h"
#include "tooltip_test_support.h"

namespace {

// The main dialog's template with its controls, without the program's
// handlers: what the tooltip needs of the dialog.
class MainDialogTips : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dialog = std::make_unique<CDialog>(IDD_LOADCALC_DIALOG);
    ASSERT_TRUE(m_dialog->Create(true));
    m_tip.SetDesktop(&m_desktop);
    m_desktop.parent = m_dialog.get();
    for (int id : {1, 1005, 1004, 4, 2})
      if (CWnd* control = m_dialog->GetDlgItem(id)) m_desktop.children.push_back(control);
  }
  void TearDown() override {
    m_tip.DestroyWindow();
    m_dialog.reset();
  }
  TOOLRECORD Tool(int index) const {
    TOOLRECORD ti;
    EXPECT_TRUE(m_tip.GetToolRecord(index, ti)) << index;
    return ti;
  }
  // The client point at the centre of a control.
  CPoint CentreOf(int id) const {
    CRect rect;
    m_dialog->GetDlgItem(id)->GetWindowRect(&rect);
    m_dialog->ScreenToClient(&rect);
    return rect.CenterPoint();
  }

  std::unique_ptr<CDialog> m_dialog;
  CGlintTooltip m_tip;
  FakeDesktop m_desktop;
};

}  // namespace

TEST_F(MainDialogTips, ToolsInOrderWithTheirTextsAndTheTipIcon) {
  ASSERT_TRUE(SetUpMainDialogTips(m_tip, m_dialog.get()));
  ASSERT_NE(m_tip.GetSafeHwnd(), nullptr);
  const int ids[] = {1, 3, 4, 2, 5, 1004, 1001, 1002, 1003};
  ASSERT_EQ(m_tip.GetToolCount(), 9);
  for (int i = 0; i < 9; ++i) {
    const TOOLRECORD ti = Tool(i);
    EXPECT_EQ(ti.hWnd, m_dialog->GetDlgItem(ids[i])->GetSafeHwnd()) << i;
    EXPECT_EQ(ti.nMask, 0u);
    EXPECT_EQ(ti.nIDTool, 0u);
    EXPECT_TRUE(CRect(ti.rectBounds).IsRectNull());
    const bool withIcon = ids[i] != 4 && ids[i] != 2;
    if (withIcon) EXPECT_EQ(CGlintTooltip::GetIconSize(ti.hIcon), CSize(32, 32)) << i;
    else EXPECT_EQ(ti.hIcon, nullptr) << i;
  }
  EXPECT_EQ(Tool(0).strText,
            Gbk("<b><ct=0x0000FF><al_c>读取</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格数据"));
  EXPECT_EQ(Tool(2).strText, Gbk("关于"));
  EXPECT_EQ(Tool(3).strText, Gbk("退出"));
  EXPECT_EQ(Tool(4).strText,
            Gbk("<b><ct=0x0000FF><al_c>查询</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格中行、列、单元格数据"));
  EXPECT_EQ(Tool(8).strText,
            Gbk("<b><ct=0x0000FF><al_c>列号</b><br><ct=0x00AA00><hr=100%></ct><br>查询该列数据"));
}

TEST_F(MainDialogTips, SettingsOfTheDialog) {
  SetUpMainDialogTips(m_tip, m_dialog.get());
  EXPECT_TRUE(m_tip.IsDisplayNotifyEnabled());
  EXPECT_EQ(m_tip.GetColor(18), 0xDFFFFFu);
  EXPECT_EQ(m_tip.GetColor(19), 0xACC0C0u);
  EXPECT_EQ(m_tip.GetColor(20), 0x708080u);
  EXPECT_EQ(m_tip.GetEffect(), 13);
  EXPECT_EQ(m_tip.GetGranularity(), 10);
  EXPECT_EQ(m_tip.GetShowBehaviour(), TTBEHAV_MULTIPLE_SHOW);
  EXPECT_EQ(m_tip.GetStyles(), 0x27u);
  EXPECT_EQ(m_tip.GetSize(TTSIZE_ANCHOR_CY), 16);  // the balloon sizes
}

TEST_F(MainDialogTips, ReadButtonHasATipAndCalculateNone) {
  SetUpMainDialogTips(m_tip, m_dialog.get());
  EXPECT_EQ(m_tip.FindToolAtPoint(CentreOf(1)), 0);
  EXPECT_EQ(m_tip.FindToolAtPoint(CentreOf(1005)), -1);
  EXPECT_EQ(m_tip.FindToolAtPoint(CentreOf(1004)), 5);
}

TEST_F(MainDialogTips, WithoutADialogNothingIsSetUp) {
  EXPECT_FALSE(SetUpMainDialogTips(m_tip, nullptr));
  EXPECT_EQ(m_tip.GetToolCount(), 0);
  EXPECT_EQ(m_tip.GetSafeHwnd(), nullptr);
}
