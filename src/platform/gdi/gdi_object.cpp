#include "platform/gdi/gdi_object.h"

#include <cstring>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi_api.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/rgn.h"

GdiObjectData::~GdiObjectData() = default;

namespace {

std::unique_ptr<CGdiObject> NewWrapper(GdiKind kind) {
  switch (kind) {
    case GdiKind::Pen: return std::make_unique<CPen>();
    case GdiKind::Brush: return std::make_unique<CBrush>();
    case GdiKind::Font: return std::make_unique<CFont>();
    case GdiKind::Bitmap: return std::make_unique<CBitmap>();
    case GdiKind::Region: return std::make_unique<CRgn>();
  }
  return std::make_unique<CGdiObject>();
}

HGDIOBJ MakeStockPen(int style, COLORREF color) {
  auto* pen = new PenData;
  pen->style = style;
  pen->color = color;
  pen->stock = true;
  return pen;
}

HGDIOBJ MakeStockBrush(bool hollow, COLORREF color) {
  auto* brush = new BrushData;
  brush->hollow = hollow;
  brush->color = color;
  brush->stock = true;
  return brush;
}

HGDIOBJ MakeStockFont() {
  auto* font = new FontData;
  font->logFont = DefaultGuiLogFont();
  font->stock = true;
  return font;
}

}  // namespace

CGdiObject* WrapperFor(HGDIOBJ handle) {
  if (!handle) return nullptr;
  if (!handle->tempWrapper) {
    handle->tempWrapper = NewWrapper(handle->Kind());
    handle->tempWrapper->m_hObject = handle;
    handle->tempWrapper->m_bOwns = false;
  }
  return handle->tempWrapper.get();
}

CGdiObject::~CGdiObject() {
  if (m_bOwns) DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
  if (!handle || m_hObject) return FALSE;
  m_hObject = handle;
  m_bOwns = true;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ handle = m_hObject;
  m_hObject = nullptr;
  return handle;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  HGDIOBJ handle = Detach();
  return ::DeleteObject(handle);
}

BOOL CGdiObject::CreateStockObject(int index) {
  return Attach(GetStockObject(index));
}

int CGdiObject::GetObject(int size, void* buffer) const {
  return ::GetObject(m_hObject, size, buffer);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) { return WrapperFor(handle); }

HGDIOBJ GetStockObject(int index) {
  static HGDIOBJ white = MakeStockBrush(false, RGB(255, 255, 255));
  static HGDIOBJ ltgray = MakeStockBrush(false, RGB(192, 192, 192));
  static HGDIOBJ gray = MakeStockBrush(false, RGB(128, 128, 128));
  static HGDIOBJ dkgray = MakeStockBrush(false, RGB(64, 64, 64));
  static HGDIOBJ black = MakeStockBrush(false, RGB(0, 0, 0));
  static HGDIOBJ hollow = MakeStockBrush(true, 0);
  static HGDIOBJ whitePen = MakeStockPen(PS_SOLID, RGB(255, 255, 255));
  static HGDIOBJ blackPen = MakeStockPen(PS_SOLID, RGB(0, 0, 0));
  static HGDIOBJ nullPen = MakeStockPen(PS_NULL, 0);
  static HGDIOBJ font = MakeStockFont();
  switch (index) {
    case WHITE_BRUSH: return white;
    case LTGRAY_BRUSH: return ltgray;
    case GRAY_BRUSH: return gray;
    case DKGRAY_BRUSH: return dkgray;
    case BLACK_BRUSH: return black;
    case NULL_BRUSH: return hollow;
    case WHITE_PEN: return whitePen;
    case BLACK_PEN: return blackPen;
    case NULL_PEN: return nullPen;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: return font;
    default: return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  if (!object) return FALSE;
  if (object->stock) return TRUE;
  if (object->selectCount > 0) {
    object->deletePending = true;
    return TRUE;
  }
  delete object;
  return TRUE;
}

namespace {

template <typename T>
int CopyOut(const T& value, int size, void* buffer) {
  if (!buffer) return static_cast<int>(sizeof(T));
  if (size < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(buffer, &value, sizeof(T));
  return static_cast<int>(sizeof(T));
}

BITMAP DescribeBitmap(const BitmapData& bitmap) {
  BITMAP info;
  info.bmWidth = bitmap.Width();
  info.bmHeight = bitmap.Height();
  info.bmPlanes = 1;
  if (bitmap.isDib) {
    info.bmBitsPixel = static_cast<WORD>(bitmap.dibBitCount);
    info.bmWidthBytes = bitmap.dibStride;
    info.bmBits = const_cast<BYTE*>(bitmap.dibBits.data());
  } else {
    info.bmBitsPixel = 32;
    info.bmWidthBytes = info.bmWidth * 4;
  }
  return info;
}

}  // namespace

int GetObject(HGDIOBJ object, int size, void* buffer) {
  if (!object) return 0;
  switch (object->Kind()) {
    case GdiKind::Bitmap:
      return CopyOut(DescribeBitmap(*static_cast<BitmapData*>(object)), size, buffer);
    case GdiKind::Font:
      return CopyOut(static_cast<FontData*>(object)->logFont, size, buffer);
    case GdiKind::Pen: {
      auto* pen = static_cast<PenData*>(object);
      LOGPEN logPen{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color};
      return CopyOut(logPen, size, buffer);
    }
    case GdiKind::Brush: {
      auto* brush = static_cast<BrushData*>(object);
      LOGBRUSH logBrush{brush->hollow ? BS_NULL : BS_SOLID, brush->color, 0};
      return CopyOut(logBrush, size, buffer);
    }
    case GdiKind::Region: return 0;
  }
  return 0;
}
