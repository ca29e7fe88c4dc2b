#include <QElapsedTimer>

#include "tooltip_test_support.h"

namespace {

void Pump(int milliseconds = 0) {
  QElapsedTimer timer;
  timer.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  } while (timer.elapsed() < milliseconds);
}

// Pumps until the condition holds or a generous deadline passes, so that a
// loaded machine delays the test instead of failing it.
template <typename Condition>
bool PumpUntil(Condition condition, int deadlineMilliseconds = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > deadlineMilliseconds) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

class TooltipState : public TooltipFixture {
 protected:
  void SetUp() override {
    TooltipFixture::SetUp();
    m_tip->AddTool(&m_toolA, "A tip");
    m_tip->AddTool(&m_toolB, "B tip");
  }
  bool Visible() const { return m_tip->IsWindowVisible() != FALSE; }
  // Rests on a point of tool A until the initial delay expires and the
  // tip has been painted.
  void ShowA(CPoint at = {0, 0}) {
    if (at == CPoint(0, 0)) at = Screen(20, 20);
    MoveTo(at);
    m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
    Pump();
  }
};

}  // namespace

TEST_F(TooltipState, TipShowsOnlyAfterTheMouseRestedOnTheTool) {
  MoveTo(Screen(20, 20));
  EXPECT_FALSE(Visible());
  EXPECT_EQ(m_tip->GetNextTool(), 0);
  m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(m_tip->GetCurrentTool().strText, CString("A tip"));
  Pump();
  EXPECT_EQ(m_tip->GetDisplayedTool(), 0);
  EXPECT_EQ(m_tip->GetNextTool(), -1);
}

TEST_F(TooltipState, CursorMovedDuringTheDelayShowsNothing) {
  MoveTo(Screen(20, 20));
  m_desktop.cursor = Screen(21, 20);  // moved, but the move was not relayed yet
  m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
  EXPECT_FALSE(Visible());
  MoveTo(Screen(20, 70));  // now over B, but the timer was armed for A
  m_desktop.cursor = Screen(20, 20);
  m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
  EXPECT_FALSE(Visible());
}

TEST_F(TooltipState, RepeatedMoveAtTheSamePointIsIgnored) {
  ShowA();
  MoveTo(Screen(20, 20));  // same point: not a move within the tool
  EXPECT_TRUE(Visible());
  EXPECT_EQ(m_tip->GetDisplayedTool(), 0);
}

TEST_F(TooltipState, DefaultBehaviourShowsOncePerEntry) {
  ShowA();
  MoveTo(Screen(21, 20));
  EXPECT_FALSE(Visible());
  EXPECT_EQ(m_tip->GetNextTool(), -1);
  MoveTo(Screen(22, 20));  // still inside: nothing comes back
  m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
  EXPECT_FALSE(Visible());
  MoveTo(Screen(300, 200));  // leave to the bare parent ...
  EXPECT_EQ(m_tip->GetDisplayedTool(), -1);
  MoveTo(Screen(20, 20));  // ... and come back: armed again
  EXPECT_EQ(m_tip->GetNextTool(), 0);
}

TEST_F(TooltipState, MultipleShowComesBackAfterRestingAgain) {
  m_tip->SetShowBehaviour(TTBEHAV_MULTIPLE_SHOW);
  ShowA();
  MoveTo(Screen(21, 20));
  EXPECT_FALSE(Visible());
  EXPECT_EQ(m_tip->GetNextTool(), 0);
  m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
  EXPECT_TRUE(Visible());
}

TEST_F(TooltipState, KeepOnMoveStaysWhileMovingInsideTheTool) {
  m_tip->SetShowBehaviour(TTBEHAV_KEEP_ON_MOVE);
  ShowA();
  MoveTo(Screen(25, 22));
  EXPECT_TRUE(Visible());
  // Off the tools but onto the tip itself: kept as well.
  m_desktop.over = m_tip->GetSafeHwnd();
  MoveTo(Screen(300, 200));
  EXPECT_TRUE(Visible());
  m_desktop.over = nullptr;
  MoveTo(Screen(301, 200));
  EXPECT_FALSE(Visible());
}

TEST_F(TooltipState, AnotherToolReplacesAVisibleTipAtOnce) {
  ShowA();
  MoveTo(Screen(20, 70));
  EXPECT_TRUE(Visible());
  EXPECT_EQ(m_tip->GetCurrentTool().strText, CString("B tip"));
}

TEST_F(TooltipState, ClicksAndKeysHideButReleasesAndWheelDoNot) {
  ShowA();
  Relay(WM_LBUTTONUP);
  Relay(WM_MOUSEWHEEL);
  EXPECT_TRUE(Visible());
  Relay(WM_LBUTTONDOWN);
  EXPECT_FALSE(Visible());
  for (UINT message : {WM_RBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN}) {
    MoveTo(Screen(300, 200));
    ShowA(Screen(20 + static_cast<int>(message % 7), 20));
    ASSERT_TRUE(Visible());
    Relay(message);
    EXPECT_FALSE(Visible()) << message;
  }
}

TEST_F(TooltipState, NothingWhileTheProgramIsInactive) {
  m_desktop.active = nullptr;
  MoveTo(Screen(20, 20));
  EXPECT_EQ(m_tip->GetNextTool(), -1);
  m_tip->ChangeStyles(TTSTYLE_SHOW_INACTIVE, 0);
  MoveTo(Screen(20, 20));  // the ignored move left the last point alone
  EXPECT_EQ(m_tip->GetNextTool(), 0);
}

TEST_F(TooltipState, DisabledControlsShowOnlyWithTheirStyle) {
  m_toolA.EnableWindow(FALSE);
  MoveTo(Screen(20, 20));
  EXPECT_EQ(m_tip->GetNextTool(), -1);
  m_tip->ChangeStyles(TTSTYLE_SHOW_DISABLED, 0);
  MoveTo(Screen(21, 20));
  EXPECT_EQ(m_tip->GetNextTool(), 0);
}

TEST_F(TooltipState, ToolsMatchInRegistrationOrderAndByRectangle) {
  m_tip->RemoveAllTools();
  const CRect upper(0, 0, 400, 150);
  m_tip->AddTool(&m_parent, "upper", nullptr, &upper);
  m_tip->AddTool(&m_parent, "anywhere");
  m_tip->AddTool(&m_parent, "never", nullptr, &upper);  // replaces the first
  EXPECT_EQ(m_tip->GetToolCount(), 2);
  EXPECT_EQ(m_tip->FindToolAtPoint(CPoint(300, 100)), 0);
  EXPECT_EQ(m_tip->FindToolAtPoint(CPoint(300, 150)), 1);  // bottom edge excluded
  EXPECT_EQ(m_tip->FindToolAtPoint(CPoint(20, 20)), -1);  // over control A
  TOOLRECORD ti;
  ASSERT_TRUE(m_tip->GetToolRecord(0, ti));
  EXPECT_EQ(ti.strText, CString("never"));
  EXPECT_FALSE(m_tip->GetToolRecord(2, ti));
}

TEST_F(TooltipState, AutoPopHidesWithRealTimersUnlessDisabled) {
  const auto visible = [this] { return Visible(); };
  const auto hidden = [this] { return !Visible(); };
  m_tip->SetDelay(TTDT_INITIAL, 5);
  m_tip->SetDelay(TTDT_AUTOPOP, 300);
  MoveTo(Screen(20, 20));
  ASSERT_TRUE(PumpUntil(visible));
  EXPECT_TRUE(PumpUntil(hidden));

  m_tip->SetDelay(TTDT_AUTOPOP, 0);
  MoveTo(Screen(300, 200));
  MoveTo(Screen(20, 20));
  ASSERT_TRUE(PumpUntil(visible));
  Pump(400);
  EXPECT_TRUE(Visible());

  m_tip->SetDelay(TTDT_AUTOPOP, 40);
  m_tip->SetShowBehaviour(TTBEHAV_NO_AUTOPOP);
  MoveTo(Screen(300, 200));
  MoveTo(Screen(20, 20));
  ASSERT_TRUE(PumpUntil(visible));
  Pump(150);
  EXPECT_TRUE(Visible());
}

TEST_F(TooltipState, KeepWhileOverSurvivesTheAutoPop) {
  m_tip->SetShowBehaviour(TTBEHAV_KEEP_WHILE_OVER);
  ShowA();
  m_desktop.over = m_tip->GetSafeHwnd();
  m_tip->OnTimer(CGlintTooltip::TIMER_HIDE);
  EXPECT_TRUE(Visible());
  m_desktop.over = nullptr;
  m_tip->OnTimer(CGlintTooltip::TIMER_HIDE);
  EXPECT_FALSE(Visible());
}

TEST_F(TooltipState, PerToolBehaviourOverridesTheTooltipWide) {
  m_tip->SetShowBehaviour(TTBEHAV_KEEP_ON_MOVE, 0);
  ShowA();
  MoveTo(Screen(25, 25));
  EXPECT_TRUE(Visible());
  MoveTo(Screen(20, 70));
  Pump();
  MoveTo(Screen(25, 75));  // tool B keeps the tooltip-wide behaviour 0
  EXPECT_FALSE(Visible());
}

TEST_F(TooltipState, ToolWithoutIconAndTextShowsNothing) {
  m_tip->AddTool(&m_toolA, "");
  MoveTo(Screen(20, 20));
  m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
  EXPECT_FALSE(Visible());
}
