// What a GDI handle points at. Handles are pointers to these records; a
// record lives from its Create... call to DeleteObject (stock objects live
// for the whole run). Pixels are held in QImage, regions in QRegion.
#pragma once

#include <QImage>
#include <QRegion>
#include <memory>
#include <vector>

#include "platform/gdi/gdi_types.h"

class CGdiObject;
class CDC;

enum class GdiKind { Pen, Brush, Font, Bitmap, Region };

struct GdiObjectData {
  virtual ~GdiObjectData();
  virtual GdiKind Kind() const = 0;
  bool stock = false;  // stock objects are never deleted
  // A DC still holding the object delays its deletion until it lets go,
  // so that no DC ever draws with a deleted object.
  int selectCount = 0;
  bool deletePending = false;
  // Non-owning wrapper handed out by the FromHandle functions.
  std::unique_ptr<CGdiObject> tempWrapper;
};

struct PenData : GdiObjectData {
  GdiKind Kind() const override { return GdiKind::Pen; }
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushData : GdiObjectData {
  GdiKind Kind() const override { return GdiKind::Brush; }
  bool hollow = false;
  COLORREF color = 0;
};

struct FontData : GdiObjectData {
  GdiKind Kind() const override { return GdiKind::Font; }
  LOGFONT logFont;
};

// A device-dependent bitmap keeps its pixels in `image` (RGB32). A DIB
// section keeps them in `dibBits`, laid out as Windows lays them out (rows
// padded to 4 bytes, bottom-up when the height is positive, palette indexes
// for 8 bits), because the program writes those bytes directly.
struct BitmapData : GdiObjectData {
  GdiKind Kind() const override { return GdiKind::Bitmap; }
  QImage image;
  bool isDib = false;
  int dibBitCount = 0;
  bool dibBottomUp = true;
  int dibStride = 0;
  std::vector<RGBQUAD> dibPalette;
  std::vector<BYTE> dibBits;
  int Width() const;
  int Height() const;
  // The pixels as an image, also for DIB sections.
  QImage Snapshot() const;
  // Writes an image of the same size back (DIB sections of 24 or 32 bits).
  void StoreBack(const QImage& pixels);
};

struct RgnData : GdiObjectData {
  GdiKind Kind() const override { return GdiKind::Region; }
  QRegion region;
};

using HGDIOBJ = GdiObjectData*;
using HPEN = PenData*;
using HBRUSH = BrushData*;
using HFONT = FontData*;
using HBITMAP = BitmapData*;
using HRGN = RgnData*;
using HDC = CDC*;

// An icon: colour pixels with the mask folded into the alpha channel.
struct IconData {
  QImage image;  // ARGB32
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
};
using HICON = IconData*;

struct ICONINFO {
  BOOL fIcon = TRUE;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;
  HBITMAP hbmColor = nullptr;
};
