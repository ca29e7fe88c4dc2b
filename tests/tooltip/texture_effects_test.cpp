#include "tooltip/texture_effects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/crt/crt.h"

namespace {

const TextureColours kDialogColours{0xDFFFFF, 0xACC0C0, 0x708080};

struct Texture {
  CTextureDib background, stripH, stripV;

  void Build(int w, int h, int effect, BYTE g, UINT percent = 0, COLORREF tint = 0) {
    BuildTextureEffect({background, stripH, stripV}, w, h, effect, g, percent, tint, kDialogColours);
  }
  // Stored row r counts from the bottom of the picture.
  int At(int x, int r) const { return background.GetPixelByte(x, background.GetHeight() - 1 - r); }
};

// Index before noise: the stored pixel less the noise the generator gave it.
std::vector<int> IndexesBeforeNoise(const Texture& t, uint32_t seed, BYTE g) {
  crt::srand(seed);
  const int divisor = 32767 / std::max(2 * g, 1);
  std::vector<int> out;
  for (int r = 0; r < t.background.GetHeight(); ++r)
    for (int x = 0; x < t.background.GetWidth(); ++x) {
      int noise = crt::rand() / divisor - g;
      out.push_back((t.At(x, r) - noise) & 0xFF);
    }
  return out;
}

}  // namespace

TEST(TextureEffects, RampPaletteRunsDarkThroughMiddleToLight) {
  Texture t;
  t.Build(4, 4, 7, 2);
  const CTextureDib& dib = t.stripH;
  EXPECT_EQ(dib.GetPaletteEntry(0), 0x708080u);
  EXPECT_EQ(dib.GetPaletteEntry(255), 0xDFFFFFu);
  // (light + 127 × middle) / 128 per channel: 0xC0 → (0xFF + 127·0xC0)/128 = 192
  EXPECT_EQ(dib.GetPaletteEntry(128), RGB(192, 192, (0xDF + 127 * 0xAC) / 128));
  EXPECT_EQ(dib.GetPaletteEntry(64), RGB((0x80 * 64 + 0xC0 * 64) / 128, (0x80 * 64 + 0xC0 * 64) / 128,
                                         (0x70 * 64 + 0xAC * 64) / 128));
}

TEST(TextureEffects, OnlyTheBackgroundIsTinted) {
  Texture t;
  t.Build(6, 5, 13, 10, 5, 0xDFFFFF);
  for (int i : {0, 100, 128, 255}) {
    const COLORREF ramp = t.stripV.GetPaletteEntry(i);
    const COLORREF tinted = t.background.GetPaletteEntry(i);
    EXPECT_EQ(GetRValue(tinted), (0xFF * 5 + GetRValue(ramp) * 95) / 100) << i;
    EXPECT_EQ(GetBValue(tinted), (0xDF * 5 + GetBValue(ramp) * 95) / 100) << i;
  }
}

TEST(TextureEffects, StripsAlternateBetweenTheEnds) {
  Texture t;
  t.Build(5, 3, 9, 2);
  EXPECT_EQ(t.stripH.GetWidth(), 5);
  EXPECT_EQ(t.stripV.GetHeight(), 3);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(t.stripH.GetPixelByte(i, 0), i % 2 ? 255 : 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(t.stripV.GetPixelByte(0, i), i % 2 ? 255 : 0);
  t.Build(0, 0, 9, 2);
  EXPECT_EQ(t.stripH.GetWidth(), 1);
  EXPECT_EQ(t.stripV.GetHeight(), 1);
}

TEST(TextureEffects, FlatNoiseFromAFreshGeneratorFillsRowsBottomUp) {
  // Never-seeded generator: 41, 18467, 6334, 26500, 19169, 15724; with
  // granularity 2 the noise is rand / 8191 - 2: -2, 0, -2, 1, 0, -1.
  crt::srand(1);
  Texture t;
  t.Build(2, 3, 7, 2);
  EXPECT_EQ(t.At(0, 0), 126);
  EXPECT_EQ(t.At(1, 0), 128);
  EXPECT_EQ(t.At(0, 1), 126);
  EXPECT_EQ(t.At(1, 1), 129);
  EXPECT_EQ(t.At(0, 2), 128);
  EXPECT_EQ(t.At(1, 2), 127);
}

TEST(TextureEffects, GradientsWithoutNoise) {
  crt::srand(7);
  Texture t;
  t.Build(4, 4, 9, 0);  // dark at the bottom, light at the top
  EXPECT_EQ(t.At(0, 0), 0);
  EXPECT_EQ(t.At(3, 3), 3 * 255 / 4);
  t.Build(4, 2, 10, 0);  // light on the left
  EXPECT_EQ(t.At(0, 1), 255);
  EXPECT_EQ(t.At(3, 0), 255 / 4);
}

TEST(TextureEffects, EightBitArithmeticWrapsAroundAsStored) {
  Texture t;
  crt::srand(3);
  t.Build(3, 2, 12, 0);
  // (w - 0) × 255 / w − 127 = 128, cubed 128, + 128 = 256 → stored as 0.
  EXPECT_EQ(t.At(0, 0), 0);
  EXPECT_EQ(t.At(0, 1), 0);
  // second column: t = 2·255/3 − 127 = 43; 43³/128/128 = 4 → 132.
  EXPECT_EQ(t.At(1, 0), 132);
}

TEST(TextureEffects, DiagonalGradientIndexesBeforeNoise) {
  crt::srand(11);
  Texture t;
  t.Build(6, 4, 8, 20);
  const auto before = IndexesBeforeNoise(t, 11, 20);
  const int s = (255 - 40) / 2;
  for (int r = 0; r < 4; ++r)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(before[r * 6 + x], 20 + s * (6 - x) / 6 + s * r / 4);
}

TEST(TextureEffects, CushionStaysWithinItsLimitsBeforeNoise) {
  crt::srand(12345);
  Texture t;
  t.Build(40, 30, 13, 10);
  const auto before = IndexesBeforeNoise(t, 12345, 10);
  int lowest = 255, highest = 0;
  for (int v : before) {
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  EXPECT_EQ(lowest, 10);    // dark corner, bottom right
  EXPECT_EQ(highest, 245);  // light corner, top left
  EXPECT_EQ(before[0 * 40 + 39], 10);
  EXPECT_EQ(before[29 * 40 + 0], 245);
}

TEST(TextureEffects, CylinderHasAFlatMiddle) {
  crt::srand(5);
  Texture t;
  t.Build(3, 8, 11, 0);
  // r = 4: t = 4·255/8 − 127 = 0 → 128; bottom r = 0: t = −127 → −125·128/128 + 128 = 3.
  EXPECT_EQ(t.At(1, 4), 128);
  EXPECT_EQ(t.At(1, 0), 3);
}

TEST(TextureEffects, BevelBandsAreSixthOfTheWidthUpToSixteen) {
  for (auto [w, n] : {std::pair{120, 16}, std::pair{60, 10}}) {
    crt::srand(99);
    Texture t;
    const int h = 40;
    t.Build(w, h, 14, 0);
    const int mid = h / 2;  // c = 0: bands at their widest
    for (int x = 0; x < n; ++x) EXPECT_EQ(t.At(x, mid), 255 - 128 * x / n) << "w " << w << " x " << x;
    EXPECT_EQ(t.At(n, mid), 128) << w;  // t = 0 in the middle row
    EXPECT_EQ(t.At(w - 1, mid), 128 * 1 / n) << w;
    // top and bottom rows: no band at all
    EXPECT_NE(t.At(0, 0), 255);
  }
}

TEST(TextureEffects, NarrowAndFlatBevelsDoNotFail) {
  Texture t;
  t.Build(5, 1, 14, 2);
  t.Build(1, 1, 15, 2);
  EXPECT_EQ(t.background.GetWidth(), 1);
}

TEST(TextureEffects, StrokesAreReproducibleFromAGeneratorState) {
  Texture a, b;
  crt::srand(42);
  a.Build(30, 20, 15, 10);
  crt::srand(42);
  b.Build(30, 20, 15, 10);
  crt::srand(43);
  Texture c;
  c.Build(30, 20, 15, 10);
  const DWORD size = a.background.GetHeader().biSizeImage;
  EXPECT_EQ(0, memcmp(a.background.GetBits(), b.background.GetBits(), size));
  EXPECT_NE(0, memcmp(a.background.GetBits(), c.background.GetBits(), size));
}

namespace {

int CubeOf(int t) { return t * t * t / 128 / 128; }

// The generator's results from a state, in the order they are drawn.
std::vector<int> Draws(uint32_t seed, size_t count) {
  crt::srand(seed);
  std::vector<int> out(count);
  for (int& v : out) v = crt::rand();
  return out;
}

}  // namespace

TEST(TextureEffects, BevelReplacesTheFirstNoiseAndAddsASecond) {
  const int w = 12, h = 4, g = 10, n = 2, d = h * h / 4;
  const int divisor = 32767 / (2 * g);
  const std::vector<int> r = Draws(77, 2 * w * h);
  crt::srand(77);
  Texture t;
  t.Build(w, h, 14, g);
  for (int row = 0; row < h; ++row) {
    const int c = row - h / 2;
    const int o = n * c * c / d - n + w / 2;
    for (int x = 0; x < w; ++x) {
      const int first = r[row * w + x] / divisor - g;
      const int second = r[w * h + row * w + x] / divisor - g;
      int v = CubeOf(row * 255 / h - 127) * (64 - g) * 2 / 128 + 128 + first;
      if (x - w / 2 > o) v = g + 128 * (w - x) / n;
      if (o + x - w / 2 < 0) v = (255 - g) - 128 * x / n;
      EXPECT_EQ(t.At(x, row), (v + second) & 0xFF) << x << "," << row;
    }
  }
}

TEST(TextureEffects, StrokesThenShadeFromAKnownState) {
  const int w = 5, h = 4, g = 3;
  const std::vector<int> r = Draws(5, 200 * 4 + w * h);
  int picture[4][5] = {};  // top-down, as the strokes are placed
  for (int i = 0; i < 200; ++i) {
    const int x = r[4 * i] / (32767 / w), y = r[4 * i + 1] / (32767 / h);
    const int length = r[4 * i + 2] / (32767 / std::min(w, h)) / 2;
    const int index = r[4 * i + 3] / 819;
    for (int j = 0; j < length; ++j) {
      if (x - j > 0 && y + j < h && x - j < w) picture[y + j][x - j] = index;
      if (x + j < w && y - j > 0 && w - x + j < w) picture[y - j][w - x + j] = index;
    }
  }
  crt::srand(5);
  Texture t;
  t.Build(w, h, 15, g);
  const int s = (255 - 2 * g - 40) / 2;
  const int divisor = 32767 / (2 * g);
  for (int row = 0; row < h; ++row)
    for (int x = 0; x < w; ++x) {
      const int noise = r[800 + row * w + x] / divisor;
      const int v = picture[h - 1 - row][x] + s * (w - x) / w + s * row / h + noise;
      EXPECT_EQ(t.At(x, row), v & 0xFF) << x << "," << row;
    }
}
