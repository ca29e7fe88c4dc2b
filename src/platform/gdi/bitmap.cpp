#include "platform/gdi/bitmap.h"

#include <cstring>

#include "platform/gdi/dc.h"

namespace {

int StrideFor(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

QRgb PaletteColour(const std::vector<RGBQUAD>& palette, int index) {
  if (index < 0 || index >= static_cast<int>(palette.size())) return qRgb(0, 0, 0);
  const RGBQUAD& q = palette[index];
  return qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

QRgb DecodePixel(const BitmapData& dib, const BYTE* row, int x) {
  switch (dib.dibBitCount) {
    case 1: return PaletteColour(dib.dibPalette, (row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return PaletteColour(dib.dibPalette, (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F);
    case 8: return PaletteColour(dib.dibPalette, row[x]);
    case 16: {
      const int v = row[2 * x] | (row[2 * x + 1] << 8);
      return qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
    }
    case 24: return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case 32: return qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    default: return qRgb(0, 0, 0);
  }
}

int StoredRow(const BitmapData& dib, int y) { return dib.dibBottomUp ? dib.Height() - 1 - y : y; }

bool SupportedBitCount(int bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
         bitCount == 32;
}

}  // namespace

int BitmapData::Width() const { return image.width(); }
int BitmapData::Height() const { return image.height(); }

QImage BitmapData::Snapshot() const {
  if (!isDib) return image;
  QImage pixels(image.size(), QImage::Format_RGB32);
  for (int y = 0; y < pixels.height(); ++y) {
    const BYTE* row = dibBits.data() + static_cast<size_t>(StoredRow(*this, y)) * dibStride;
    auto* out = reinterpret_cast<QRgb*>(pixels.scanLine(y));
    for (int x = 0; x < pixels.width(); ++x) out[x] = DecodePixel(*this, row, x);
  }
  return pixels;
}

// Palette pictures cannot take arbitrary colours back; only the true-colour
// sections are drawing targets.
void BitmapData::StoreBack(const QImage& pixels) {
  if (!isDib) {
    image = pixels.convertToFormat(QImage::Format_RGB32);
    return;
  }
  if (dibBitCount != 24 && dibBitCount != 32) return;
  if (pixels.size() != image.size()) return;
  const QImage source = pixels.convertToFormat(QImage::Format_RGB32);
  const int bytes = dibBitCount / 8;
  for (int y = 0; y < source.height(); ++y) {
    BYTE* row = dibBits.data() + static_cast<size_t>(StoredRow(*this, y)) * dibStride;
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    for (int x = 0; x < source.width(); ++x) {
      row[bytes * x] = static_cast<BYTE>(qBlue(in[x]));
      row[bytes * x + 1] = static_cast<BYTE>(qGreen(in[x]));
      row[bytes * x + 2] = static_cast<BYTE>(qRed(in[x]));
    }
  }
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  auto* bitmap = new BitmapData;
  bitmap->image = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  if (bitmap->image.isNull()) {
    delete bitmap;
    return nullptr;
  }
  bitmap->image.fill(Qt::black);
  return bitmap;
}

HBITMAP CreateBitmapFromImage(const QImage& image) {
  if (image.isNull()) return nullptr;
  auto* bitmap = new BitmapData;
  bitmap->image = image.convertToFormat(QImage::Format_RGB32);
  return bitmap;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits, void*, DWORD) {
  if (bits) *bits = nullptr;
  if (!info) return nullptr;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const int bitCount = header.biBitCount;
  const int width = header.biWidth;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (width <= 0 || height <= 0 || !SupportedBitCount(bitCount) || header.biCompression != BI_RGB)
    return nullptr;
  auto* dib = new BitmapData;
  dib->isDib = true;
  dib->dibBitCount = bitCount;
  dib->dibBottomUp = header.biHeight > 0;
  dib->dibStride = StrideFor(width, bitCount);
  dib->image = QImage(width, height, QImage::Format_RGB32);  // carries the size only
  dib->dibBits.assign(static_cast<size_t>(dib->dibStride) * height, 0);
  if (bitCount <= 8) {
    const int colours = header.biClrUsed ? static_cast<int>(header.biClrUsed) : 1 << bitCount;
    dib->dibPalette.assign(info->bmiColors, info->bmiColors + std::min(colours, 1 << bitCount));
  }
  if (bits) *bits = dib->dibBits.data();
  return dib;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc ? dc->GetSafeHdc() : nullptr, width, height));
}

int CBitmap::GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }

CBitmap* CBitmap::FromHandle(HBITMAP handle) {
  return static_cast<CBitmap*>(CGdiObject::FromHandle(handle));
}
