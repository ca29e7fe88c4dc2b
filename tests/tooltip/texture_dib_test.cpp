#include "tooltip/texture_dib.h"

#include <gtest/gtest.h>

TEST(TextureDib, StrideAndSizesFollowTheBitCount) {
  CTextureDib dib;
  ASSERT_NE(dib.Create(5, 3, 8), nullptr);
  EXPECT_EQ(dib.GetStride(), 8);
  EXPECT_EQ(dib.GetHeader().biSizeImage, 24u);
  EXPECT_EQ(dib.GetPaletteSize(), 1024u);
  EXPECT_EQ(dib.GetTotalSize(), 40u + 1024u + 24u);
  EXPECT_EQ(dib.GetBits(), dib.GetInfo() + 40 + 1024);

  ASSERT_NE(dib.Create(33, 2, 1), nullptr);
  EXPECT_EQ(dib.GetStride(), 8);
  EXPECT_EQ(dib.GetColorCount(), 2);
  ASSERT_NE(dib.Create(3, 1, 24), nullptr);
  EXPECT_EQ(dib.GetStride(), 12);
  EXPECT_EQ(dib.GetColorCount(), 0);
}

TEST(TextureDib, PixelsAreAddressedTopDownButStoredBottomUp) {
  CTextureDib dib;
  dib.Create(5, 3, 8);
  dib.Fill(7);
  dib.SetPixelByte(0, 0, 200);
  dib.SetPixelByte(4, 2, 100);
  const BYTE* bits = dib.GetBits();
  EXPECT_EQ(bits[2 * 8], 200);  // first byte of the last stored row
  EXPECT_EQ(bits[4], 100);
  EXPECT_EQ(bits[5], 7);  // row padding filled as well
  dib.SetPixelByte(5, 0, 1);
  dib.SetPixelByte(0, 3, 1);
  dib.SetPixelByte(-1, 0, 1);
  for (int i = 0; i < 24; ++i) EXPECT_NE(bits[i], 1) << "byte " << i;
  EXPECT_EQ(dib.GetPixelByte(0, 0), 200);
}

TEST(TextureDib, PaletteEntriesAndTint) {
  CTextureDib dib;
  dib.Create(2, 2, 8);
  dib.SetPaletteEntry(0, 10, 20, 30);
  dib.SetPaletteEntry(255, 200, 100, 50);
  const BYTE* palette = dib.GetInfo() + 40;
  EXPECT_EQ(palette[0], 30);  // blue, green, red, reserved
  EXPECT_EQ(palette[1], 20);
  EXPECT_EQ(palette[2], 10);
  EXPECT_EQ(palette[3], 0);

  dib.TintPalette(RGB(255, 255, 255), 0);
  EXPECT_EQ(dib.GetPaletteEntry(0), RGB(10, 20, 30));
  dib.TintPalette(RGB(0, 0, 100), 50);  // (100*50 + 30*50)/100 = 65, (0 + 10*50)/100 = 5
  EXPECT_EQ(dib.GetPaletteEntry(0), RGB(5, 10, 65));
  dib.TintPalette(RGB(1, 2, 3), 150);
  EXPECT_EQ(dib.GetPaletteEntry(0), RGB(1, 2, 3));
  EXPECT_EQ(dib.GetPaletteEntry(255), RGB(1, 2, 3));

  CTextureDib mono;
  mono.Create(8, 1, 1);
  mono.SetPaletteEntry(2, 1, 1, 1);  // beyond the two entries
  EXPECT_EQ(mono.GetPaletteEntry(1), 0u);
}

TEST(TextureDib, WithoutPaletteOnlyFillWorks) {
  CTextureDib dib;
  dib.Create(3, 2, 24);
  dib.SetPixelByte(0, 0, 9);
  dib.SetPaletteEntry(0, 1, 2, 3);
  dib.TintPalette(RGB(9, 9, 9), 100);
  EXPECT_EQ(dib.GetBits()[12], 0);
  dib.Fill(0x5A);
  for (DWORD i = 0; i < dib.GetHeader().biSizeImage; ++i) EXPECT_EQ(dib.GetBits()[i], 0x5A);
}

TEST(TextureDib, SmallDepthsNeverWritePastTheirRows) {
  CTextureDib dib;
  dib.Create(33, 1, 1);  // 8 bytes of pixels
  dib.Fill(0);
  dib.SetPixelByte(32, 0, 0xFF);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(dib.GetBits()[i], 0);
}

TEST(TextureDib, EmptyAndDestroyedBitmapsDoNothing) {
  CTextureDib dib;
  EXPECT_EQ(dib.GetBits(), nullptr);
  dib.Fill(1);
  dib.SetPixelByte(0, 0, 1);
  dib.TintPalette(0, 50);
  EXPECT_EQ(dib.Draw(nullptr, 0, 0), FALSE);
  dib.Create(4, 4, 8);
  dib.Destroy();
  EXPECT_EQ(dib.GetInfo(), nullptr);
  EXPECT_EQ(dib.GetWidth(), 0);
  EXPECT_EQ(dib.GetStride(), 4);  // kept until the next Create
}
