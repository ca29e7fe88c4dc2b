#include "platform/gdi/icon.h"

#include <algorithm>

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
  const QImage mask = info->hbmMask->Snapshot().convertToFormat(QImage::Format_RGB32);
  // Row by row through the raw lines: icons may be large.
  const int width = std::min(pixels.width(), mask.width());
  const int height = std::min(pixels.height(), mask.height());
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
    const auto* maskLine = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    for (int x = 0; x < width; ++x)
      if (qGray(maskLine[x]) > 127) line[x] = qRgba(0, 0, 0, 0);
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
  const QImage image = icon->image.convertToFormat(QImage::Format_ARGB32);
  QImage colour = image.convertToFormat(QImage::Format_RGB32);
  QImage mask(image.size(), QImage::Format_RGB32);
  for (int y = 0; y < mask.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    auto* maskLine = reinterpret_cast<QRgb*>(mask.scanLine(y));
    auto* colourLine = reinterpret_cast<QRgb*>(colour.scanLine(y));
    for (int x = 0; x < mask.width(); ++x) {
      const bool see = qAlpha(source[x]) < 128;
      maskLine[x] = see ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
      if (see) colourLine[x] = qRgb(0, 0, 0);
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
