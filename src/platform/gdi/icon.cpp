#include "platform/gdi/icon.h"

#include "platform/gdi/bitmap.h"

namespace {
// Icons made and not yet destroyed, so that tests can see who forgets one.
std::size_t g_liveIcons = 0;
}  // namespace

HICON CreateIconFromImage(const QImage& image) {
  if (image.isNull()) return nullptr;
  ++g_liveIcons;
  auto* icon = new IconData;
  icon->image = image.convertToFormat(QImage::Format_ARGB32);
  icon->xHotspot = static_cast<DWORD>(icon->image.width() / 2);
  icon->yHotspot = static_cast<DWORD>(icon->image.height() / 2);
  return icon;
}

// A white mask pixel lets the destination show through.
HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info || !info->hbmColor || !info->hbmMask) return nullptr;
  QImage pixels = info->hbmColor->Snapshot().convertToFormat(QImage::Format_ARGB32);
  const QImage mask = info->hbmMask->Snapshot();
  for (int y = 0; y < pixels.height(); ++y) {
    for (int x = 0; x < pixels.width(); ++x) {
      const bool see = x < mask.width() && y < mask.height() && qGray(mask.pixel(x, y)) > 127;
      if (see) pixels.setPixel(x, y, qRgba(0, 0, 0, 0));
    }
  }
  ++g_liveIcons;
  auto* icon = new IconData;
  icon->image = pixels;
  icon->xHotspot = info->fIcon ? static_cast<DWORD>(pixels.width() / 2) : info->xHotspot;
  icon->yHotspot = info->fIcon ? static_cast<DWORD>(pixels.height() / 2) : info->yHotspot;
  return icon;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  if (!icon || !info) return FALSE;
  QImage colour = icon->image.convertToFormat(QImage::Format_RGB32);
  QImage mask(icon->image.size(), QImage::Format_RGB32);
  for (int y = 0; y < mask.height(); ++y) {
    for (int x = 0; x < mask.width(); ++x) {
      const bool see = qAlpha(icon->image.pixel(x, y)) < 128;
      mask.setPixel(x, y, see ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
      if (see) colour.setPixel(x, y, qRgb(0, 0, 0));
    }
  }
  info->fIcon = TRUE;
  info->xHotspot = icon->xHotspot;
  info->yHotspot = icon->yHotspot;
  info->hbmMask = CreateBitmapFromImage(mask);
  info->hbmColor = CreateBitmapFromImage(colour);
  return TRUE;
}

BOOL DestroyIcon(HICON icon) {
  if (!icon) return FALSE;
  --g_liveIcons;
  delete icon;
  return TRUE;
}

HICON CopyIcon(HICON icon) {
  if (!icon) return nullptr;
  ++g_liveIcons;
  return new IconData(*icon);
}

std::size_t LiveIconCount() { return g_liveIcons; }
