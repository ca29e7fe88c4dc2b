#include "platform/gdi/gdi_api.h"
#include "tooltip_test_support.h"

namespace {

constexpr COLORREF kBackdrop = RGB(200, 220, 240);

// Shows tool A and composes the tip over a plain backdrop, as the painter
// does over the screen beneath the window.
class TooltipPaint : public TooltipFixture {
 protected:
  void SetUp() override {
    TooltipFixture::SetUp();
    m_tip->SetColor(18, RGB(255, 255, 223));
    m_tip->SetColor(19, RGB(192, 192, 172));
    m_tip->SetColor(20, RGB(128, 128, 112));
    m_tip->SetColor(24, RGB(128, 128, 128));
    m_tip->SetColor(25, RGB(0, 0, 0));
    m_tip->AddTool(&m_toolA, "<ct=0x0000FF>Tip text");
  }
  void Compose() {
    MoveTo(Screen(20, 20));
    m_tip->OnTimer(CGlintTooltip::TIMER_SHOW);
    CRect window;
    m_tip->GetWindowRect(&window);
    m_size = CSize(window.Width() - 1, window.Height() - 1);
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.CreateCompatibleBitmap(&m_dc, m_size.cx, m_size.cy);
    m_old = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, m_size.cx, m_size.cy, kBackdrop);
    m_tip->OnDraw(&m_dc, CRect(0, 0, m_size.cx, m_size.cy));
  }
  void TearDown() override {
    if (m_old) m_dc.SelectObject(m_old);
    TooltipFixture::TearDown();
  }
  COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

  CDC m_dc;
  CBitmap m_bitmap;
  CBitmap* m_old = nullptr;
  CSize m_size;
};

}  // namespace

TEST_F(TooltipPaint, ShadowBorderBackgroundAndText) {
  Compose();
  const int bodyRight = m_size.cx - 4;   // balloon width (the +1 column included)
  const int midY = m_size.cy / 2;
  EXPECT_EQ(At(bodyRight + 2, midY), RGB(128, 128, 128));  // backdrop AND grey
  EXPECT_EQ(At(bodyRight - 1, midY), RGB(0, 0, 0));        // border
  EXPECT_EQ(At(1, midY), RGB(255, 255, 223));              // solid background
  EXPECT_EQ(At(2, 2), kBackdrop);                          // outside the balloon
  bool red = false;
  for (int y = 16 + 12; y < m_size.cy - 16; ++y)
    for (int x = 12; x < bodyRight - 12; ++x) red = red || At(x, y) == RGB(255, 0, 0);
  EXPECT_TRUE(red);
}

TEST_F(TooltipPaint, GradientUsesTheTooltipWideColours) {
  m_tip->SetBackgroundEffect(1, 2);
  TOOLRECORD ti;
  m_tip->GetToolRecord(0, ti);
  ti.nMask = TTMASK_COLORS;
  ti.crBkColors[0] = RGB(0, 0, 255);  // reaches textures only
  m_tip->SetToolRecord(0, ti);
  Compose();
  const int midY = m_size.cy / 2;
  const COLORREF first = At(1, midY);  // inside the border, in the first bands
  EXPECT_GE(GetRValue(first), 250);
  EXPECT_GE(GetBValue(first), 218);
  EXPECT_LT(GetBValue(first), 224);  // not the tool's own blue
  const COLORREF last = At(m_size.cx - 4 - 2, midY);
  EXPECT_NE(last, RGB(128, 128, 112));  // one step short of the end colour
  EXPECT_LT(GetRValue(last), 140);
}

TEST_F(TooltipPaint, TextureEffectDrawsTheBuiltTexture) {
  m_tip->SetBackgroundEffect(13, 10);
  Compose();
  const CTextureDib& texture = m_tip->GetBackgroundTexture();
  const int x = 20, y = m_size.cy / 2;
  EXPECT_EQ(At(x, y), texture.GetPaletteEntry(texture.GetPixelByte(x, y)));
}

TEST_F(TooltipPaint, PaintingWithoutPendingToolDrawsNothing) {
  m_tip->OnPaint();  // no window shown, nothing pending: must not fail
  EXPECT_EQ(m_tip->GetDisplayedTool(), -1);
}
