// Memory DCs, block transfers, DIB sections and icons.
#include <gtest/gtest.h>

#include "canvas.h"

namespace {

// A 2 x 2 memory picture: red, green / blue, white.
struct Picture {
  Picture() {
    EnsureGuiApplication();
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateCompatibleBitmap(&dc, 2, 2);
    old = dc.SelectObject(&bitmap);
    dc.SetPixel(0, 0, RGB(255, 0, 0));
    dc.SetPixel(1, 0, RGB(0, 255, 0));
    dc.SetPixel(0, 1, RGB(0, 0, 255));
    dc.SetPixel(1, 1, kWhite);
  }
  ~Picture() { dc.SelectObject(old); }
  CDC dc;
  CBitmap bitmap;
  CBitmap* old = nullptr;
};

}  // namespace

TEST(Bitmaps, BitBltCopiesTheSourceRectangle) {
  Picture picture;
  Canvas c(8, 8, kBlack);
  EXPECT_TRUE(c.dc.BitBlt(3, 4, 2, 2, &picture.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(c.At(3, 4), RGB(255, 0, 0));
  EXPECT_EQ(c.At(4, 5), kWhite);
  EXPECT_EQ(c.At(5, 5), kBlack);
  EXPECT_TRUE(c.dc.BitBlt(0, 0, 1, 1, &picture.dc, 1, 1, SRCCOPY));
  EXPECT_EQ(c.At(0, 0), kWhite);
}

TEST(Bitmaps, StretchBltRepeatsAndDropsPixelsAndMirrors) {
  Picture picture;
  Canvas c(8, 8, kBlack);
  c.dc.StretchBlt(0, 0, 4, 4, &picture.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(2, 1), RGB(0, 255, 0));
  EXPECT_EQ(c.At(3, 3), kWhite);
  EXPECT_EQ(c.At(4, 0), kBlack);

  Canvas small(4, 4, kBlack);
  small.dc.StretchBlt(0, 0, 1, 1, &picture.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_NE(small.At(0, 0), kBlack);
  EXPECT_EQ(small.At(1, 0), kBlack);

  Canvas mirrored(4, 4, kBlack);
  mirrored.dc.StretchBlt(1, 0, -2, 2, &picture.dc, 0, 0, 2, 2, SRCCOPY);  // x: 1 down to 0
  EXPECT_EQ(mirrored.At(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(mirrored.At(1, 0), RGB(255, 0, 0));
}

TEST(Bitmaps, SelectObjectReturnsThePreviousOneAndRestoresIt) {
  Canvas c;
  CPen red(PS_SOLID, 1, RGB(255, 0, 0));
  CPen* previous = c.dc.SelectObject(&red);
  ASSERT_NE(previous, nullptr);
  EXPECT_EQ(c.dc.CurrentPen(), static_cast<HPEN>(red.m_hObject));
  EXPECT_EQ(c.dc.SelectObject(previous)->m_hObject, red.m_hObject);
  c.dc.MoveTo(0, 0);
  c.dc.LineTo(5, 0);
  EXPECT_EQ(c.At(0, 0), kBlack);
}

TEST(Bitmaps, DeletingASelectedObjectWaitsUntilTheDcLetsGo) {
  Canvas c;
  auto pen = std::make_unique<CPen>(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* previous = c.dc.SelectObject(pen.get());
  pen.reset();  // deleted while selected
  c.dc.MoveTo(0, 0);
  c.dc.LineTo(3, 0);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  c.dc.SelectObject(previous);
  c.dc.MoveTo(0, 1);
  c.dc.LineTo(3, 1);
  EXPECT_EQ(c.At(0, 1), kBlack);
}

TEST(Bitmaps, SaveAndRestoreBringBackPenColoursAndModes) {
  Canvas c;
  const int level = c.dc.SaveDC();
  CPen red(PS_SOLID, 1, RGB(255, 0, 0));
  c.dc.SelectObject(&red);
  c.dc.SetTextColor(RGB(1, 2, 3));
  c.dc.SetBkMode(TRANSPARENT);
  c.dc.RestoreDC(level);
  EXPECT_EQ(c.dc.GetTextColor(), kBlack);
  EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
  EXPECT_NE(c.dc.CurrentPen(), static_cast<HPEN>(red.m_hObject));
  EXPECT_FALSE(c.dc.RestoreDC(level));
}

TEST(Bitmaps, EightBitDibSectionShowsItsPaletteBottomUp) {
  EnsureGuiApplication();
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info{};
  info.header.biSize = 40;
  info.header.biWidth = 5;
  info.header.biHeight = 3;
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.colours[7] = {30, 20, 10, 0};    // blue, green, red
  info.colours[9] = {255, 255, 255, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  ASSERT_NE(bits, nullptr);
  BITMAP described;
  ASSERT_EQ(GetObject(dib, sizeof described, &described), int(sizeof described));
  EXPECT_EQ(described.bmWidthBytes, 8);
  auto* bytes = static_cast<BYTE*>(bits);
  bytes[2 * 8 + 0] = 7;  // last stored row = top row of the picture
  bytes[0 * 8 + 4] = 9;  // first stored row = bottom row
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, dib);
  Canvas c(8, 8, kBlack);
  EXPECT_TRUE(BitBlt(c.dc, 1, 1, 5, 3, memory, 0, 0, SRCCOPY));
  EXPECT_EQ(c.At(1, 1), RGB(10, 20, 30));
  EXPECT_EQ(c.At(5, 3), kWhite);
  bytes[2 * 8 + 0] = 9;  // changes show at the next transfer
  BitBlt(c.dc, 1, 1, 5, 3, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(c.At(1, 1), kWhite);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(dib);
}

TEST(Bitmaps, ThirtyTwoBitDibSectionTakesDrawingBack) {
  EnsureGuiApplication();
  BITMAPINFO info{};
  info.bmiHeader = {40, 4, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  CDC memory;
  memory.CreateCompatibleDC(nullptr);
  HGDIOBJ old = memory.SelectObject(HGDIOBJ(dib));
  memory.FillSolidRect(0, 0, 1, 1, RGB(10, 20, 30));  // top-left = last stored row
  const auto* bytes = static_cast<const BYTE*>(bits);
  EXPECT_EQ(bytes[16 + 0], 30);
  EXPECT_EQ(bytes[16 + 1], 20);
  EXPECT_EQ(bytes[16 + 2], 10);
  EXPECT_EQ(bytes[0], 0);
  memory.SelectObject(old);
  DeleteObject(dib);
}

TEST(Bitmaps, IconMaskLeavesTheDestinationVisible) {
  EnsureGuiApplication();
  QImage picture(4, 4, QImage::Format_ARGB32);
  picture.fill(qRgba(255, 0, 0, 255));
  picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
  HICON icon = CreateIconFromImage(picture);
  Canvas c(8, 8, RGB(0, 255, 0));
  c.dc.DrawState(CPoint(2, 2), CSize(0, 0), icon, DST_ICON);
  EXPECT_EQ(c.At(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(c.At(3, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.At(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(c.At(6, 6), RGB(0, 255, 0));
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(icon, &info));
  EXPECT_EQ(info.xHotspot, 2u);
  HICON copy = CreateIconIndirect(&info);
  Canvas d(8, 8, RGB(0, 255, 0));
  d.dc.DrawIconEx(0, 0, copy, 8, 8, DI_NORMAL);  // stretched to twice its size
  EXPECT_EQ(d.At(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(d.At(2, 2), RGB(255, 0, 0));
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  DestroyIcon(copy);
  DestroyIcon(icon);
}

TEST(Bitmaps, TwentyFourBitDibSectionRowsArePaddedToFourBytes) {
  EnsureGuiApplication();
  BITMAPINFO info{};
  info.bmiHeader = {40, 5, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};  // top-down
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  BITMAP described;
  GetObject(dib, sizeof described, &described);
  EXPECT_EQ(described.bmWidthBytes, 16);
  auto* bytes = static_cast<BYTE*>(bits);
  bytes[16 + 4 * 3 + 0] = 3;  // second row, last pixel: blue, green, red
  bytes[16 + 4 * 3 + 1] = 2;
  bytes[16 + 4 * 3 + 2] = 1;
  CDC memory;
  memory.CreateCompatibleDC(nullptr);
  HGDIOBJ old = memory.SelectObject(HGDIOBJ(dib));
  EXPECT_EQ(memory.GetPixel(4, 1), RGB(1, 2, 3));
  EXPECT_EQ(memory.GetPixel(0, 0), kBlack);
  memory.SelectObject(old);
  DeleteObject(dib);
}
