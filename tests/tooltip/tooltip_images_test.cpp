#include <QImage>

#include "platform/gdi/gdi_api.h"
#include "tooltip/image_list.h"
#include "tooltip/tip_limits.h"
#include "tooltip/tip_resources.h"
#include "tooltip_test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

QImage Halves(int w, int h, QRgb left, QRgb right) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, x < w / 2 ? left : right);
  return image;
}

QImage Filled(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

class TooltipImages : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveAllResources();
    HBITMAP bitmap = CreateBitmapFromImage(Halves(32, 16, qRgb(255, 0, 0), qRgb(255, 0, 255)));
    RegisterBitmapResource(130, bitmap);
    DeleteObject(bitmap);
    HBITMAP tall = CreateBitmapFromImage(Filled(8, 48, qRgb(0, 0, 255)));
    RegisterBitmapResource(131, tall);
    DeleteObject(tall);
    for (auto [size, colour] : {std::pair{32, qRgb(255, 0, 0)}, std::pair{16, qRgb(0, 0, 255)}}) {
      HICON icon = CreateIconFromImage(Filled(size, size, colour));
      RegisterIconResource(128, icon);
      DestroyIcon(icon);
    }
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.CreateCompatibleBitmap(&m_dc, 200, 60);
    m_old = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, 200, 60, kWhite);
    m_tip.ResetFont();
  }
  void TearDown() override {
    m_dc.SelectObject(m_old);
    RemoveAllResources();
  }
  CSize Measure(const CString& text) { return m_tip.DrawMarkup(&m_dc, CRect(0, 0, 200, 60), text, TRUE); }
  void Draw(const CString& text) {
    Measure(text);
    m_dc.SetBkMode(TRANSPARENT);
    m_tip.DrawMarkup(&m_dc, CRect(0, 0, 200, 60), text, FALSE);
  }
  COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

  ProbeTooltip m_tip;
  CDC m_dc;
  CBitmap m_bitmap;
  CBitmap* m_old = nullptr;
};

}  // namespace

TEST_F(TooltipImages, BitmapsReportTheirOwnOrTheWantedSize) {
  EXPECT_EQ(m_tip.DrawBitmapResource(&m_dc, 0, 0, 0, 130, FALSE, 0, 0, 0, TRUE), CSize(32, 16));
  EXPECT_EQ(m_tip.DrawBitmapResource(&m_dc, 0, 0, 0, 130, FALSE, 0, 64, 0, TRUE), CSize(64, 16));
  Draw("<bmp=130 cx=64>");
  const int top = static_cast<int>(m_tip.GetLineHeights()[0]) - 16;  // bottom of the line
  EXPECT_EQ(At(0, top), RGB(255, 0, 0));
  EXPECT_EQ(At(31, top + 15), RGB(255, 0, 0));  // stretched to twice its width
  EXPECT_EQ(At(32, top), RGB(255, 0, 255));
  EXPECT_EQ(At(63, top), RGB(255, 0, 255));
  EXPECT_EQ(At(64, top), kWhite);
}

TEST_F(TooltipImages, MaskColourBecomesTransparent) {
  Draw("<bmp=130 mask>");
  const int top = static_cast<int>(m_tip.GetLineHeights()[0]) - 16;
  EXPECT_EQ(At(5, top + 5), RGB(255, 0, 0));
  EXPECT_EQ(At(20, top + 5), kWhite);  // magenta let the white through
  m_dc.FillSolidRect(0, 0, 200, 60, kWhite);
  Draw("<bmp=130 mask=0x0000FF>");  // red (0x0000FF) transparent instead
  EXPECT_EQ(At(5, top + 5), kWhite);
  EXPECT_EQ(At(20, top + 5), RGB(255, 0, 255));
}

TEST_F(TooltipImages, IconsReportWhatWasLoaded) {
  EXPECT_EQ(m_tip.DrawIconResource(&m_dc, 0, 0, 0, 128, 0, 0, TRUE), CSize(32, 32));
  EXPECT_EQ(m_tip.DrawIconResource(&m_dc, 0, 0, 0, 128, 16, 16, TRUE), CSize(16, 16));
  EXPECT_EQ(m_tip.DrawIconResource(&m_dc, 0, 0, 0, 128, 24, 24, TRUE), CSize(24, 24));
  EXPECT_EQ(m_tip.DrawIconResource(&m_dc, 0, 0, 0, 999, 0, 0, TRUE), CSize(0, 0));
  Draw("<icon=128 cx=16 cy=16>");
  const int bottom = static_cast<int>(m_tip.GetLineHeights()[0]) - 1;
  EXPECT_EQ(At(0, bottom), RGB(0, 0, 255));  // the group's own 16 × 16 image
}

TEST_F(TooltipImages, MissingImagesTakeNoRoom) {
  const CSize plain = Measure("ab");
  EXPECT_EQ(Measure("a<icon=999>b"), plain);
  EXPECT_EQ(Measure("a<icon>b"), plain);
  EXPECT_EQ(Measure("a<bmp=0>b"), plain);
  EXPECT_EQ(Measure("a<ilst=0>b"), plain);
  EXPECT_EQ(Measure("a<img=anything>b"), plain);
}

TEST_F(TooltipImages, TallImageRaisesTheLineAndTextSitsOnItsBottom) {
  m_dc.SetTextColor(0);
  Draw("<bmp=131>x");
  ASSERT_EQ(m_tip.GetLineHeights()[0], 48u);
  int lowest = -1, highest = 60;
  for (int y = 0; y < 60; ++y)
    for (int x = 8; x < 30; ++x)
      if (At(x, y) == RGB(0, 0, 0)) {
        lowest = std::max(lowest, y);
        highest = std::min(highest, y);
      }
  EXPECT_GT(highest, 30);  // the run is drawn in the line's bottom rows
  EXPECT_LT(lowest, 48);
  EXPECT_EQ(At(0, 0), RGB(0, 0, 255));
}

TEST_F(TooltipImages, NamedImagesMatchWithoutRegardToCase) {
  m_tip.AddNamedImage("Logo", 130, IMAGEKIND_BITMAP);
  m_tip.AddNamedImage("glyph", 128, IMAGEKIND_ICON);
  m_tip.AddNamedImage("zero", 0, IMAGEKIND_ICON);
  m_tip.AddNamedImage("odd", 130, 7);
  EXPECT_EQ(m_tip.DrawNamedImage(&m_dc, 0, 0, 0, "LOGO", 0, 0, TRUE), CSize(32, 16));
  EXPECT_EQ(m_tip.DrawNamedImage(&m_dc, 0, 0, 0, "glyph", 0, 0, TRUE), CSize(32, 32));
  EXPECT_EQ(m_tip.DrawNamedImage(&m_dc, 0, 0, 0, "zero", 0, 0, TRUE), CSize(0, 0));
  EXPECT_EQ(m_tip.DrawNamedImage(&m_dc, 0, 0, 0, "odd", 0, 0, TRUE), CSize(0, 0));
  EXPECT_EQ(Measure("<img=logo cx=10 cy=12>").cx, 10);
  m_tip.AddNamedImage("masked", 130, IMAGEKIND_MASKED, RGB(255, 0, 0));
  Draw("<img=masked>");
  const int top = static_cast<int>(m_tip.GetLineHeights()[0]) - 16;
  EXPECT_EQ(At(5, top + 5), kWhite);
}

TEST_F(TooltipImages, ImageListImagesSitOnTheLineTop) {
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32 | ILC_MASK, 2, 1);
  HBITMAP strip = CreateBitmapFromImage(Halves(16, 8, qRgb(0, 255, 0), qRgb(0, 0, 255)));
  ASSERT_EQ(ImageList_AddMasked(list, strip, RGB(255, 0, 255)), 0);
  DeleteObject(strip);
  ASSERT_EQ(ImageList_GetImageCount(list), 2);
  m_tip.SetImageList(list, CSize(8, 8));
  EXPECT_EQ(Measure("<ilst=2>").cx, 0);
  Draw("<ilst=1>x");
  ASSERT_GT(m_tip.GetLineHeights()[0], 8u);  // the text makes the line taller than the image
  EXPECT_EQ(At(0, 0), RGB(0, 0, 255));       // image 1, the blue half, at the line top
  EXPECT_EQ(At(7, 7), RGB(0, 0, 255));
  EXPECT_EQ(At(0, 8), kWhite);               // not pushed down to the line bottom
  m_tip.SetImageList(nullptr, CSize());
  ImageList_Destroy(list);
}

TEST_F(TooltipImages, ToolsTakeTheirIconFromTheResources) {
  m_tip.AddTool(nullptr, "with icon", 128, CSize(0, 0));
  const CRect part(0, 0, 1, 1);
  m_tip.AddTool(nullptr, "missing", 999, CSize(0, 0), &part);
  TOOLRECORD ti;
  m_tip.GetToolRecord(0, ti);
  ASSERT_NE(ti.hIcon, nullptr);
  EXPECT_EQ(CGlintTooltip::GetIconSize(ti.hIcon), CSize(32, 32));
  m_tip.GetToolRecord(1, ti);
  EXPECT_EQ(ti.hIcon, nullptr);
}

TEST_F(TooltipImages, HugeImageSizesAreHeldToTheImageBound) {
  const CSize size = Measure("<icon=128 cx=20000 cy=20000>");
  EXPECT_EQ(size.cx, kMaxTipImageExtent);
  EXPECT_EQ(size.cy, kMaxTipImageExtent);
  EXPECT_EQ(Measure("<bmp=130 cx=4000000000 cy=7>").cx, kMaxTipImageExtent);
}

TEST_F(TooltipImages, TheTipDestroysTheIconsItLoadedButNotTheCallers) {
  HICON callers = CreateIconFromImage(Filled(16, 16, qRgb(0, 255, 0)));
  const std::size_t before = LiveIconCount();
  {
    CGlintTooltip tip;
    CWnd first, second;
    tip.AddTool(&first, "loaded by the tip", 128, CSize(0, 0));
    tip.AddTool(&second, "handed in", callers);
    EXPECT_EQ(LiveIconCount(), before + 1);
  }
  EXPECT_EQ(LiveIconCount(), before);
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(callers, &info));  // still the caller's to use
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(callers);
}
