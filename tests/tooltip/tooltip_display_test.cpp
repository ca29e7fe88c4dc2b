#include "platform/gdi/gdi_api.h"
#include "tooltip_test_support.h"

namespace {

class TooltipDisplay : public TooltipFixture {
 protected:
  void SetUp() override {
    TooltipFixture::SetUp();
    m_tip->AddTool(&m_toolA, "Tip text");
  }
  void Show(CPoint at) {
    MoveTo(at);
    m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
  }
  CRect WindowRect() const {
    CRect r;
    m_tip->GetWindowRect(&r);
    return r;
  }
  bool InBalloon(int x, int y) const { return m_tip->GetBalloonRegion().PtInRegion(x, y) != FALSE; }
};

}  // namespace

TEST_F(TooltipDisplay, WindowIsTextPlusMarginsAnchorShadowAndTwoPixels) {
  const CPoint cursor = Screen(20, 20);
  Show(cursor);
  const CSize text = m_tip->GetTextSize();
  ASSERT_GT(text.cx, 0);
  const CRect r = WindowRect();
  EXPECT_EQ(r.Width(), text.cx + 2 * 12 + 4 + 2);
  EXPECT_EQ(r.Height(), text.cy + 16 + 2 * 12 + 4 + 2);
  EXPECT_EQ(r.left, cursor.x - 16);  // anchor margin: the wedge stands on the cursor
  EXPECT_EQ(r.top, cursor.y);
  EXPECT_EQ(m_tip->GetCurrentDirection(), 3);
}

TEST_F(TooltipDisplay, BalloonRegionHasRoundedBodyAnchorAndShadow) {
  Show(Screen(20, 20));
  const CRect r = WindowRect();
  const int w = r.Width() - 2 - 4;  // body width without shadow and extra pixels
  const int h = r.Height() - 2 - 4;
  EXPECT_TRUE(InBalloon(17, 3));     // inside the wedge under the cursor
  EXPECT_FALSE(InBalloon(10, 8));    // beside the wedge, above the body
  EXPECT_FALSE(InBalloon(0, 16));    // rounded corner
  EXPECT_TRUE(InBalloon(8, 30));
  EXPECT_TRUE(InBalloon(w, h / 2));  // the body covers its right edge
  EXPECT_FALSE(InBalloon(w + 1, h / 2));
  const CRgn& shadow = m_tip->GetShadowRegion();
  EXPECT_TRUE(shadow.PtInRegion(w + 4, h / 2));
  EXPECT_TRUE(shadow.PtInRegion(21, 7));  // the wedge's shadow
}

TEST_F(TooltipDisplay, StylesShapeTheRegion) {
  m_tip->SetStyles(TTSTYLE_SHADOW);  // no anchor, no rounding
  Show(Screen(20, 20));
  EXPECT_FALSE(InBalloon(17, 3));
  EXPECT_TRUE(InBalloon(0, 16));  // square corner below the reserved anchor height
  EXPECT_FALSE(InBalloon(0, 15));
  EXPECT_TRUE(m_tip->GetShadowRegion().PtInRegion(4, 20));

  m_tip->SetStyles(TTSTYLE_ANCHOR | TTSTYLE_ROUNDED);  // no shadow: the window is smaller
  MoveTo(Screen(300, 200));
  Show(Screen(21, 20));
  EXPECT_EQ(WindowRect().Width(), m_tip->GetTextSize().cx + 24 + 2);
}

TEST_F(TooltipDisplay, PlainSizesGiveABorderedRectangle) {
  m_tip->ResetSizes(FALSE);
  Show(Screen(20, 20));
  const CRect r = WindowRect();
  EXPECT_EQ(r.Width(), m_tip->GetTextSize().cx + 6 + 2);
  EXPECT_EQ(r.Height(), m_tip->GetTextSize().cy + 2 + 2);
  CRgn body;
  body.CreateRectRgn(0, 0, r.Width() - 1, r.Height() - 1);
  EXPECT_TRUE(m_tip->GetBalloonRegion().EqualRgn(&body));
}

TEST_F(TooltipDisplay, AtTheLeftEdgeTheAnchorLeansToTheCursor) {
  m_parentWidget->move(0, 100);
  const CPoint cursor(5, 150);
  m_desktop.cursor = cursor;
  m_tip->RemoveAllTools();
  m_tip->AddTool(&m_parent, "edge");
  Show(cursor);
  EXPECT_EQ(WindowRect().left, 0);
  // The wedge runs from the cursor (5, 0) to its base from x 16 to 28.
  EXPECT_TRUE(InBalloon(10, 5));
  EXPECT_TRUE(InBalloon(20, 12));
  EXPECT_FALSE(InBalloon(16, 1));  // no upright side under the cursor any more
}

TEST_F(TooltipDisplay, FlipsAboveNearTheBottomOfTheScreen) {
  m_parentWidget->move(100, 600);
  m_tip->RemoveAllTools();
  m_tip->AddTool(&m_parent, "low");
  const CPoint cursor(300, 760);
  Show(cursor);
  EXPECT_EQ(m_tip->GetCurrentDirection(), 1);
  EXPECT_EQ(WindowRect().top + WindowRect().Height() - 2, cursor.y);
}

TEST_F(TooltipDisplay, NotificationSeesTheToolInParentCoordinatesAndMayRewriteTheText) {
  m_tip->EnableDisplayNotify(TRUE);
  ASSERT_TRUE(m_tip->IsDisplayNotifyEnabled());
  const CRect part(5, 5, 50, 20);
  m_tip->AddTool(&m_toolB, "original", nullptr, &part, 42);
  m_parent.replaceText = "a much longer replacement text";
  Show(Screen(20, 70));
  ASSERT_EQ(m_parent.count, 1);
  EXPECT_EQ(m_parent.header.code, TIPN_DISPLAY);
  EXPECT_EQ(m_parent.header.hwndFrom, m_tip->GetSafeHwnd());
  EXPECT_EQ(m_parent.cursor, Screen(20, 70));
  EXPECT_EQ(CRect(m_parent.rect), CRect(15, 65, 60, 80));
  EXPECT_EQ(m_parent.text, CString("original"));
  EXPECT_EQ(m_tip->GetCurrentTool().strText, m_parent.replaceText);
  EXPECT_EQ(CRect(m_tip->GetCurrentTool().rectBounds), part);
  TOOLRECORD registered;
  m_tip->GetToolRecord(1, registered);
  EXPECT_EQ(registered.strText, CString("original"));
  EXPECT_EQ(registered.nIDTool, 42u);
}

TEST_F(TooltipDisplay, NotificationMayEmptyTheTipSoNothingShows) {
  m_tip->EnableDisplayNotify(TRUE);
  m_parent.replaceText = "";
  m_tip->AddTool(&m_toolB, "");
  Show(Screen(20, 70));
  EXPECT_EQ(m_parent.count, 1);
  EXPECT_FALSE(m_tip->IsWindowVisible());
}

TEST_F(TooltipDisplay, EffectiveSettingsResolvedFromToolAndTooltip) {
  m_tip->SetColor(18, 0x111111);
  m_tip->SetColor(19, 0x222222);
  m_tip->SetColor(20, 0x333333);
  m_tip->SetBackgroundEffect(13, 10);
  TOOLRECORD own;
  m_tip->GetToolRecord(0, own);
  own.nMask = TTMASK_COLORS | TTMASK_DIRECTION;
  own.crBkColors[0] = 0xAAAAAA;
  own.nDirection = 2;
  m_tip->SetToolRecord(0, own);
  Show(Screen(100, 20));
  const TOOLRECORD& current = m_tip->GetCurrentTool();
  EXPECT_EQ(current.crBkColors[0], 0xAAAAAAu);
  EXPECT_EQ(current.nEffect, 13);
  EXPECT_EQ(current.nGranularity, 10);
  EXPECT_EQ(current.nStyles, 0x27u);
  EXPECT_EQ(m_tip->GetCurrentDirection(), 2);
  // The texture covers the tip less the window's two extra pixels.
  const CTextureDib& texture = m_tip->GetBackgroundTexture();
  EXPECT_EQ(texture.GetWidth(), WindowRect().Width() - 2);
  EXPECT_EQ(texture.GetHeight(), WindowRect().Height() - 2);
}

// However large the markup asks a tip to be, its window (and with it every
// bitmap drawn for it) is no larger than the screen.
TEST_F(TooltipDisplay, AHugeTipIsNoLargerThanTheScreen) {
  m_tip->AddTool(&m_toolA, "<hr=2000000000><br=4000000000>x");
  m_tip->SetBackgroundEffect(13, 10);
  Show(Screen(20, 20));
  const CRect r = WindowRect();
  EXPECT_LE(r.Width(), 1024 + 2);
  EXPECT_LE(r.Height(), 768 + 2);
  EXPECT_GT(r.Width(), 1000);
  m_tip->GetWidget()->repaint();
}

// The shown window's balloon holds the wedge right next to the cursor, in
// every direction, with the shadow on (the default) and off.
TEST_F(TooltipDisplay, TheAnchorsPointIsOnTheCursorInEveryDirection) {
  m_parentWidget->move(500, 400);
  for (DWORD styles : {DWORD{TTSTYLE_DEFAULT}, DWORD{TTSTYLE_DEFAULT & ~DWORD{TTSTYLE_SHADOW}}}) {
    m_tip->SetStyles(styles);
    for (int direction = 0; direction < 4; ++direction) {
      SCOPED_TRACE(testing::Message() << "direction " << direction << " styles " << styles);
      m_tip->SetDirection(direction);
      const CPoint cursor = Screen(20, 20);
      Show(cursor);
      ASSERT_EQ(m_tip->GetCurrentDirection(), direction);
      const CRect r = WindowRect();
      const CPoint client(cursor.x - r.left, cursor.y - r.top);
      EXPECT_GE(client.y, 0);
      EXPECT_LE(client.y, r.Height() - 2);
      // The wedge's straight side is its right edge in a left-extending tip,
      // and a region leaves out its right edge.
      const int x = direction == 0 || direction == 2 ? client.x - 1 : client.x;
      const int towardsBody = direction >= 2 ? 4 : -4;
      EXPECT_TRUE(InBalloon(x, client.y + towardsBody));
      EXPECT_FALSE(InBalloon(x, client.y - towardsBody));
    }
  }
}
