#include "tooltip/texture_dib.h"

#include <cstdlib>
#include <cstring>

#include "platform/gdi/dc.h"

namespace {

constexpr DWORD kHeaderSize = sizeof(BITMAPINFOHEADER);
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the packed bitmap header is 40 bytes");

WORD PaletteColours(WORD bitCount) {
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

BYTE Mix(BYTE tint, BYTE entry, UINT percent) {
  return static_cast<BYTE>((tint * percent + entry * (100 - percent)) / 100);
}

}  // namespace

CTextureDib::CTextureDib() { Destroy(); }

CTextureDib::~CTextureDib() { Destroy(); }

void CTextureDib::Destroy() {
  if (m_pMemDC) m_pMemDC->DeleteDC();
  m_pMemDC.reset();
  if (m_hBitmap != nullptr) CGdiObject::FromHandle(m_hBitmap)->DeleteObject();
  m_hBitmap = nullptr;
  m_pBits = nullptr;
  std::free(m_pInfo);
  m_pInfo = nullptr;
  m_bih = BITMAPINFOHEADER{};
}

BYTE* CTextureDib::Create(int width, int height, WORD bitCount) {
  Destroy();
  m_nColors = PaletteColours(bitCount);
  m_nStride = static_cast<int>(((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4);
  m_bih.biSize = kHeaderSize;
  m_bih.biWidth = width;
  m_bih.biHeight = height;
  m_bih.biPlanes = 1;
  m_bih.biBitCount = bitCount;
  m_bih.biCompression = BI_RGB;
  const int64_t image = static_cast<int64_t>(m_nStride) * height;
  if (width < 0 || height < 0 || image > INT32_MAX) return nullptr;
  m_bih.biSizeImage = static_cast<DWORD>(image);
  // calloc so that a bitmap nobody filled shows the palette's first colour
  // rather than leftover heap bytes.
  m_pInfo = static_cast<BYTE*>(std::calloc(1, GetTotalSize()));
  if (m_pInfo == nullptr) return nullptr;
  std::memcpy(m_pInfo, &m_bih, kHeaderSize);
  return m_pInfo;
}

DWORD CTextureDib::GetTotalSize() const {
  return kHeaderSize + GetPaletteSize() + m_bih.biSizeImage;
}

BYTE* CTextureDib::Palette() const { return m_pInfo + kHeaderSize; }

BYTE* CTextureDib::GetBits() const {
  if (m_pInfo == nullptr) return nullptr;
  DWORD headerSize = 0;
  std::memcpy(&headerSize, m_pInfo, sizeof headerSize);
  return m_pInfo + headerSize + GetPaletteSize();
}

void CTextureDib::SetPaletteEntry(BYTE index, BYTE red, BYTE green, BYTE blue) {
  if (!HasPalette() || index >= m_nColors) return;
  BYTE* entry = Palette() + index * 4;
  entry[0] = blue;
  entry[1] = green;
  entry[2] = red;
  entry[3] = 0;
}

COLORREF CTextureDib::GetPaletteEntry(int index) const {
  if (!HasPalette() || index < 0 || index >= m_nColors) return 0;
  const BYTE* entry = Palette() + index * 4;
  return RGB(entry[2], entry[1], entry[0]);
}

void CTextureDib::TintPalette(COLORREF colour, UINT percent) {
  if (!HasPalette()) return;
  if (percent > 100) percent = 100;
  for (int i = 0; i < m_nColors; ++i) {
    BYTE* entry = Palette() + i * 4;
    entry[0] = Mix(GetBValue(colour), entry[0], percent);
    entry[1] = Mix(GetGValue(colour), entry[1], percent);
    entry[2] = Mix(GetRValue(colour), entry[2], percent);
  }
}

void CTextureDib::Fill(BYTE value) {
  if (m_pInfo == nullptr) return;
  std::memset(GetBits(), value, m_bih.biSizeImage);
}

// One byte per pixel is the 8-bit form; at 1 or 4 bits a byte per x would
// run past the end of the row, so those depths are left alone.
bool CTextureDib::HasBytePixels() const { return HasPalette() && m_bih.biBitCount == 8; }

void CTextureDib::SetPixelByte(int x, int y, BYTE index) {
  if (!HasBytePixels()) return;
  if (x < 0 || x >= m_bih.biWidth || y < 0 || y >= m_bih.biHeight) return;
  GetBits()[(m_bih.biHeight - 1 - y) * m_nStride + x] = index;
}

BYTE CTextureDib::GetPixelByte(int x, int y) const {
  if (!HasBytePixels()) return 0;
  if (x < 0 || x >= m_bih.biWidth || y < 0 || y >= m_bih.biHeight) return 0;
  return GetBits()[(m_bih.biHeight - 1 - y) * m_nStride + x];
}

bool CTextureDib::MakeSection(CDC* pDC) {
  void* bits = nullptr;
  m_hBitmap = CreateDIBSection(pDC ? pDC->GetSafeHdc() : nullptr,
                               reinterpret_cast<const BITMAPINFO*>(m_pInfo), DIB_RGB_COLORS, &bits,
                               nullptr, 0);
  if (m_hBitmap == nullptr) return false;
  if (bits == nullptr) {
    CGdiObject::FromHandle(m_hBitmap)->DeleteObject();
    m_hBitmap = nullptr;
    return false;
  }
  m_pBits = bits;
  return true;
}

BOOL CTextureDib::Draw(CDC* pDC, int x, int y) {
  if (m_pInfo == nullptr || pDC == nullptr) return FALSE;
  if (m_hBitmap == nullptr && !MakeSection(pDC)) return FALSE;
  // Copied at every draw, so that pixel changes always show.
  std::memcpy(m_pBits, GetBits(), m_bih.biSizeImage);
  if (!m_pMemDC) {
    auto memDC = std::make_unique<CDC>();
    if (!memDC->CreateCompatibleDC(pDC)) return FALSE;
    m_pMemDC = std::move(memDC);
  }
  HGDIOBJ previous = m_pMemDC->SelectObject(static_cast<HGDIOBJ>(m_hBitmap));
  const BOOL drawn = pDC->BitBlt(x, y, m_bih.biWidth, m_bih.biHeight, m_pMemDC.get(), 0, 0, SRCCOPY);
  m_pMemDC->SelectObject(previous);
  return drawn;
}
