// CTextureDib: a small device-independent bitmap held in one heap block
// (header, palette, bottom-up pixel rows), filled byte by byte and shown
// through a DIB section. The tooltip builds its background textures in it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gdi/handles.h"

class CDC;

class CTextureDib {
 public:
  CTextureDib();
  virtual ~CTextureDib();
  CTextureDib(const CTextureDib&) = delete;
  CTextureDib& operator=(const CTextureDib&) = delete;

  void Destroy();
  // Returns the block (usable as a BITMAPINFO) or nullptr when it could not
  // be allocated; the header then still describes the requested size.
  BYTE* Create(int width, int height, WORD bitCount);

  DWORD GetTotalSize() const;
  DWORD GetPaletteSize() const { return static_cast<DWORD>(m_nColors) * 4; }
  BYTE* GetBits() const;
  const BYTE* GetInfo() const { return m_pInfo; }

  int GetWidth() const { return m_bih.biWidth; }
  int GetHeight() const { return m_bih.biHeight; }
  int GetStride() const { return m_nStride; }
  WORD GetColorCount() const { return m_nColors; }
  const BITMAPINFOHEADER& GetHeader() const { return m_bih; }

  void SetPaletteEntry(BYTE index, BYTE red, BYTE green, BYTE blue);
  // Palette entry as COLORREF (0x00BBGGRR); 0 when there is no such entry.
  COLORREF GetPaletteEntry(int index) const;
  void TintPalette(COLORREF colour, UINT percent);
  void Fill(BYTE value);
  // y = 0 is the picture's top row (stored last in the block).
  void SetPixelByte(int x, int y, BYTE index);
  BYTE GetPixelByte(int x, int y) const;

  BOOL Draw(CDC* pDC, int x, int y);

 private:
  BYTE* Palette() const;
  bool HasPalette() const { return m_pInfo != nullptr && m_nColors != 0; }
  bool HasBytePixels() const;
  bool MakeSection(CDC* pDC);

  BYTE* m_pInfo = nullptr;
  BITMAPINFOHEADER m_bih{};
  int m_nStride = 0;
  WORD m_nColors = 0;
  HBITMAP m_hBitmap = nullptr;      // DIB section made at the first Draw
  std::unique_ptr<CDC> m_pMemDC;    // memory DC made at the first Draw
  void* m_pBits = nullptr;          // pixel memory of the section
};
