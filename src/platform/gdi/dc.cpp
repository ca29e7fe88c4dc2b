// The device context's state: targets, selection, modes, saving and
// clipping. Drawing operations live in dc_figures.cpp, dc_text.cpp and
// dc_blit.cpp.
#include "platform/gdi/dc.h"

#include "platform/gdi/gdi_api.h"

CDC::CDC() {
  SelectDefaults();
  Retain(m_state);
}

CDC::~CDC() {
  DeleteDC();
  while (!m_saved.empty()) {
    Release(m_saved.back());
    m_saved.pop_back();
  }
  Release(m_state);
}

void CDC::SelectDefaults() {
  m_state.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  m_state.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  m_state.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  m_state.bitmap = nullptr;
}

void CDC::Retain(const State& state) {
  for (HGDIOBJ object : {HGDIOBJ(state.pen), HGDIOBJ(state.brush), HGDIOBJ(state.font),
                         HGDIOBJ(state.bitmap)}) {
    if (object) ++object->selectCount;
  }
}

// Objects deleted while selected go once the last DC lets them go.
void CDC::Release(const State& state) {
  for (HGDIOBJ object : {HGDIOBJ(state.pen), HGDIOBJ(state.brush), HGDIOBJ(state.font),
                         HGDIOBJ(state.bitmap)}) {
    if (!object) continue;
    if (--object->selectCount == 0 && object->deletePending) ::DeleteObject(object);
  }
}

BOOL CDC::CreateCompatibleDC(CDC*) {
  if (m_hDC) return FALSE;
  m_bMemoryDC = true;
  m_defaultBitmap = CreateCompatibleBitmap(nullptr, 1, 1);
  m_defaultBitmap->stock = true;  // owned by this DC, freed in DeleteDC
  Release(m_state);
  m_state.bitmap = m_defaultBitmap;
  Retain(m_state);
  m_hDC = this;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  while (!m_saved.empty()) {
    Release(m_saved.back());
    m_saved.pop_back();
  }
  Release(m_state);
  m_state = State();
  SelectDefaults();
  Retain(m_state);
  if (m_defaultBitmap) {
    delete m_defaultBitmap;
    m_defaultBitmap = nullptr;
  }
  m_targetImage = nullptr;
  m_targetPainter = nullptr;
  m_bMemoryDC = false;
  m_hDC = nullptr;
  return TRUE;
}

void CDC::AttachImage(QImage* image) {
  m_targetImage = image;
  m_targetPainter = nullptr;
  m_hDC = image ? this : nullptr;
}

void CDC::AttachPainter(QPainter* painter) {
  m_targetPainter = painter;
  m_targetImage = nullptr;
  m_hDC = painter ? this : nullptr;
}

void CDC::DetachTarget() {
  m_targetImage = nullptr;
  m_targetPainter = nullptr;
  if (!m_bMemoryDC) m_hDC = nullptr;
}

HGDIOBJ CDC::Swap(HGDIOBJ next) {
  if (!next) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (next->Kind()) {
    case GdiKind::Pen: slot = reinterpret_cast<HGDIOBJ*>(&m_state.pen); break;
    case GdiKind::Brush: slot = reinterpret_cast<HGDIOBJ*>(&m_state.brush); break;
    case GdiKind::Font: slot = reinterpret_cast<HGDIOBJ*>(&m_state.font); break;
    case GdiKind::Bitmap:
      if (!m_bMemoryDC) return nullptr;  // only memory DCs hold bitmaps
      slot = reinterpret_cast<HGDIOBJ*>(&m_state.bitmap);
      break;
    case GdiKind::Region: return nullptr;
  }
  HGDIOBJ previous = *slot;
  ++next->selectCount;
  *slot = next;
  if (previous && --previous->selectCount == 0 && previous->deletePending) {
    ::DeleteObject(previous);
    return nullptr;
  }
  return previous;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
  if (object && object->Kind() == GdiKind::Region) {
    SelectClipRgn(static_cast<CRgn*>(CGdiObject::FromHandle(object)));
    return nullptr;
  }
  return Swap(object);
}

CPen* CDC::SelectObject(CPen* pen) {
  return pen ? CPen::FromHandle(static_cast<HPEN>(Swap(pen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  return brush ? CBrush::FromHandle(static_cast<HBRUSH>(Swap(brush->m_hObject))) : nullptr;
}

CFont* CDC::SelectObject(CFont* font) {
  return font ? CFont::FromHandle(static_cast<HFONT>(Swap(font->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(Swap(bitmap->m_hObject))) : nullptr;
}

int CDC::SelectObject(CRgn* region) { return SelectClipRgn(region); }

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  return object ? CGdiObject::FromHandle(SelectObject(object->m_hObject)) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) {
  return CGdiObject::FromHandle(SelectObject(GetStockObject(index)));
}

COLORREF CDC::SetTextColor(COLORREF color) {
  return std::exchange(m_state.textColor, color & 0xFFFFFF);
}

COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(m_state.bkColor, color & 0xFFFFFF); }

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return std::exchange(m_state.bkMode, mode);
}

int CDC::SetROP2(int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return 0;
  return std::exchange(m_state.rop2, mode);
}

CPoint CDC::SetViewportOrg(int x, int y) {
  return std::exchange(m_state.viewportOrg, CPoint(x, y));
}

int CDC::SaveDC() {
  m_saved.push_back(m_state);
  Retain(m_state);
  return static_cast<int>(m_saved.size());
}

BOOL CDC::RestoreDC(int savedDC) {
  const int count = static_cast<int>(m_saved.size());
  const int level = savedDC < 0 ? count + 1 + savedDC : savedDC;
  if (level < 1 || level > count) return FALSE;
  while (static_cast<int>(m_saved.size()) > level) {
    Release(m_saved.back());
    m_saved.pop_back();
  }
  Release(m_state);
  m_state = m_saved.back();  // the saved references pass to the state
  m_saved.pop_back();
  return TRUE;
}

// Clip regions are given in device coordinates, as in Windows.
int CDC::SelectClipRgn(CRgn* region) { return SelectClipRgn(region, RGN_COPY); }

int CDC::SelectClipRgn(CRgn* region, int mode) {
  if (!region || !region->m_hObject) {
    if (mode != RGN_COPY) return ERROR;
    m_state.hasClip = false;
    m_state.clip = QRegion();
    return SIMPLEREGION;
  }
  const QRegion& given = region->Region();
  const QRegion current =
      m_state.hasClip ? m_state.clip : QRegion(QRect(QPoint(0, 0), SurfaceSize()));
  switch (mode) {
    case RGN_COPY: m_state.clip = given; break;
    case RGN_AND: m_state.clip = current & given; break;
    case RGN_OR: m_state.clip = current | given; break;
    case RGN_XOR: m_state.clip = current ^ given; break;
    case RGN_DIFF: m_state.clip = current - given; break;
    default: return ERROR;
  }
  m_state.hasClip = true;
  return RegionType(m_state.clip);
}

int CDC::GetClipBox(LPRECT rect) const {
  if (!rect) return ERROR;
  const QRegion visible = m_state.hasClip ? m_state.clip : QRegion(QRect(QPoint(0, 0), SurfaceSize()));
  const QRect box = visible.boundingRect().translated(-m_state.viewportOrg.x, -m_state.viewportOrg.y);
  *rect = visible.isEmpty() ? RECT{} : RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
  return RegionType(visible);
}

QImage CDC::SurfaceImage() const {
  if (m_targetImage) return *m_targetImage;
  if (m_targetPainter) {
    QPaintDevice* device = m_targetPainter->device();
    if (device && device->devType() == QInternal::Image) return *static_cast<QImage*>(device);
    return {};
  }
  return m_state.bitmap ? m_state.bitmap->Snapshot() : QImage();
}

QSize CDC::SurfaceSize() const {
  if (m_targetImage) return m_targetImage->size();
  if (m_targetPainter) {
    QPaintDevice* device = m_targetPainter->device();
    return device ? QSize(device->width(), device->height()) : QSize();
  }
  return m_state.bitmap ? m_state.bitmap->image.size() : QSize();
}

QImage CDC::ReadPixels(const QRect& deviceRect) const {
  const QImage surface = SurfaceImage();
  if (surface.isNull()) {
    QImage blank(deviceRect.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
  }
  return surface.copy(deviceRect).convertToFormat(QImage::Format_RGB32);
}

namespace {

void PreparePainter(QPainter& painter, bool hasClip, const QRegion& clip, CPoint origin) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (hasClip) painter.setClipRegion(clip, Qt::IntersectClip);
  painter.translate(origin.x, origin.y);
}

}  // namespace

bool CDC::Paint(const PaintStep& step) {
  if (m_targetPainter) {
    m_targetPainter->save();
    PreparePainter(*m_targetPainter, m_state.hasClip, m_state.clip, m_state.viewportOrg);
    step(*m_targetPainter);
    m_targetPainter->restore();
    return true;
  }
  if (m_targetImage) {
    QPainter painter(m_targetImage);
    PreparePainter(painter, m_state.hasClip, m_state.clip, m_state.viewportOrg);
    step(painter);
    return true;
  }
  HBITMAP bitmap = m_state.bitmap;
  if (!bitmap) return false;
  if (!bitmap->isDib) {
    QPainter painter(&bitmap->image);
    PreparePainter(painter, m_state.hasClip, m_state.clip, m_state.viewportOrg);
    step(painter);
    return true;
  }
  if (bitmap->dibBitCount != 24 && bitmap->dibBitCount != 32) return false;
  QImage pixels = bitmap->Snapshot();
  {
    QPainter painter(&pixels);
    PreparePainter(painter, m_state.hasClip, m_state.clip, m_state.viewportOrg);
    step(painter);
  }
  bitmap->StoreBack(pixels);
  return true;
}
