#include "tooltip/texture_effects.h"

#include <algorithm>

#include "platform/crt/crt.h"

namespace {

// Pixels of the background addressed by stored row (0 = bottom of the picture).
class StoredPixels {
 public:
  explicit StoredPixels(CTextureDib& dib) : m_bits(dib.GetBits()), m_stride(dib.GetStride()) {}
  bool Valid() const { return m_bits != nullptr; }
  BYTE& At(int x, int row) { return m_bits[row * m_stride + x]; }
  void Set(int x, int row, int value) { At(x, row) = static_cast<BYTE>(value); }
  void Add(int x, int row, int value) { At(x, row) = static_cast<BYTE>(At(x, row) + value); }

 private:
  BYTE* m_bits;
  int m_stride;
};

class Noise {
 public:
  explicit Noise(BYTE granularity)
      : m_g(granularity), m_divisor(crt::RAND_MAX_VALUE / std::max(2 * granularity, 1)) {}
  int Raw() const { return crt::rand() / m_divisor; }
  int Centred() const { return Raw() - m_g; }

 private:
  int m_g;
  int m_divisor;
};

int Cube(int t) { return t * t * t / 128 / 128; }

int Channel(int from, int to, int weightTo, int total) {
  return (from * (total - weightTo) + to * weightTo) / total;
}

void FillStrip(CTextureDib& strip, int count, bool horizontal) {
  for (int i = 0; i < count; ++i) {
    const BYTE index = (i % 2 == 0) ? 0 : 255;
    if (horizontal) strip.SetPixelByte(i, 0, index);
    else strip.SetPixelByte(0, i, index);
  }
}

// The index before noise of effects 7 to 14 at column x, stored row r.
int BaseIndex(int effect, int x, int r, int w, int h, int g) {
  switch (effect) {
    case 8: {
      const int s = (255 - 2 * g) / 2;
      return g + s * (w - x) / w + s * r / h;
    }
    case 9: return g + r * (255 - 2 * g) / h;
    case 10: return g + (255 - 2 * g) * (w - x) / w;
    case 11: return Cube(r * 255 / h - 127) * (128 - g) / 128 + 128;
    case 12: return Cube((w - x) * 255 / w - 127) * (128 - g) / 128 + 128;
    case 13: {
      const int ty = r * 255 / h - 127;
      const int tx = (w - x) * 255 / w - 127;
      int v = (Cube(tx) + Cube(ty)) * (128 - g) / 128 + 128;
      v = std::max(v, g);
      return std::min(v, 255 - g);
    }
    case 14: return Cube(r * 255 / h - 127) * (64 - g) * 2 / 128 + 128;
    default: return 128;
  }
}

void FillRows(StoredPixels& pixels, int effect, int w, int h, BYTE g) {
  const Noise noise(g);
  for (int r = 0; r < h; ++r) {
    for (int x = 0; x < w; ++x) {
      pixels.Set(x, r, BaseIndex(effect, x, r, w, h, g));
      pixels.Add(x, r, noise.Centred());
    }
  }
}

// Dark band at the right edge and light band at the left, N pixels wide at
// mid-height and vanishing at top and bottom; every pixel gets noise again.
void AddBevel(StoredPixels& pixels, int w, int h, BYTE g) {
  const Noise noise(g);
  const int n = std::min(w / 6, 16);
  const int d = std::max(h * h / 4, 1);  // a one-row texture would divide by 0
  for (int r = 0; r < h; ++r) {
    const int c = r - h / 2;
    const int o = n * c * c / d - n + w / 2;
    for (int x = 0; x < w; ++x) {
      const int dx = x - w / 2;
      // Without room for a band (narrower than six pixels) there is none.
      if (n > 0 && dx > o) pixels.Set(x, r, g + 128 * (w - x) / n);
      if (n > 0 && o + dx < 0) pixels.Set(x, r, (255 - g) - 128 * x / n);
      pixels.Add(x, r, noise.Centred());
    }
  }
}

// Quotient of a generator result by (32767 / extent); the divisor never
// drops to 0 so that very wide pictures cannot divide by zero.
int Scaled(int extent) { return crt::rand() / std::max(crt::RAND_MAX_VALUE / extent, 1); }

void DrawStrokes(CTextureDib& dib, int w, int h) {
  for (int stroke = 0; stroke < 200; ++stroke) {
    const int x = Scaled(w);
    const int y = Scaled(h);
    const int length = Scaled(std::min(w, h)) / 2;
    const BYTE index = static_cast<BYTE>(crt::rand() / 819);
    for (int j = 0; j < length; ++j) {
      if (x - j > 0 && y + j < h) dib.SetPixelByte(x - j, y + j, index);
      if (x + j < w && y - j > 0) dib.SetPixelByte(w - x + j, y - j, index);
    }
  }
}

void ShadeStrokes(StoredPixels& pixels, int w, int h, BYTE g) {
  const Noise noise(g);
  const int s = (255 - 2 * g - 40) / 2;
  for (int r = 0; r < h; ++r) {
    for (int x = 0; x < w; ++x) {
      pixels.Add(x, r, s * (w - x) / w + s * r / h);
      pixels.Add(x, r, noise.Raw());
    }
  }
}

void FillBackground(CTextureDib& dib, int w, int h, int effect, BYTE g) {
  StoredPixels pixels(dib);
  if (!pixels.Valid() || w <= 0 || h <= 0) return;
  if (effect == 15) {
    dib.Fill(0);
    DrawStrokes(dib, w, h);
    ShadeStrokes(pixels, w, h, g);
    return;
  }
  if (effect < 7 || effect > 14) return;
  FillRows(pixels, effect, w, h, g);
  if (effect == 14) AddBevel(pixels, w, h, g);
}

}  // namespace

void SetRampPalette(CTextureDib& dib, const TextureColours& c) {
  for (int i = 0; i <= 128; ++i) {
    dib.SetPaletteEntry(static_cast<BYTE>(i), Channel(GetRValue(c.dark), GetRValue(c.middle), i, 128),
                        Channel(GetGValue(c.dark), GetGValue(c.middle), i, 128),
                        Channel(GetBValue(c.dark), GetBValue(c.middle), i, 128));
  }
  for (int j = 1; j <= 128; ++j) {
    dib.SetPaletteEntry(static_cast<BYTE>(127 + j), Channel(GetRValue(c.middle), GetRValue(c.light), j, 128),
                        Channel(GetGValue(c.middle), GetGValue(c.light), j, 128),
                        Channel(GetBValue(c.middle), GetBValue(c.light), j, 128));
  }
}

void BuildTextureEffect(TextureTargets t, int width, int height, int effect, BYTE granularity,
                        UINT tintPercent, COLORREF tint, const TextureColours& colours) {
  const int stripWidth = std::max(width, 1);
  const int stripHeight = std::max(height, 1);
  t.stripH.Create(stripWidth, 1, 8);
  t.stripV.Create(1, stripHeight, 8);
  t.background.Create(width, height, 8);
  SetRampPalette(t.stripH, colours);
  SetRampPalette(t.stripV, colours);
  SetRampPalette(t.background, colours);
  t.background.TintPalette(tint, tintPercent);
  FillStrip(t.stripH, stripWidth, true);
  FillStrip(t.stripV, stripHeight, false);
  FillBackground(t.background, width, height, effect, granularity);
}
