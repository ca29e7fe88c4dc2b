#include "tooltip/tip_resources.h"

#include <map>
#include <vector>

#include "platform/gdi/gdi_api.h"
#include "platform/ui/win_app.h"
#include "tooltip/glint_tooltip.h"

namespace {

struct Resources {
  std::map<UINT, std::vector<HICON>> icons;
  std::map<UINT, HBITMAP> bitmaps;

  ~Resources() { Clear(); }
  void Clear() {
    for (auto& [id, group] : icons)
      for (HICON icon : group) DestroyIcon(icon);
    for (auto& [id, bitmap] : bitmaps) DeleteObject(bitmap);
    icons.clear();
    bitmaps.clear();
  }
};

Resources& Registry() {
  static Resources resources;
  return resources;
}

CSize BitmapSize(HBITMAP bitmap) {
  BITMAP info;
  if (GetObject(bitmap, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

HBITMAP CopyStretched(HBITMAP source, CSize from, CSize to) {
  CDC sourceDC;
  sourceDC.CreateCompatibleDC(nullptr);
  HGDIOBJ previousSource = sourceDC.SelectObject(static_cast<HGDIOBJ>(source));
  CDC targetDC;
  targetDC.CreateCompatibleDC(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(targetDC.GetSafeHdc(), to.cx, to.cy);
  HGDIOBJ previousTarget = targetDC.SelectObject(static_cast<HGDIOBJ>(copy));
  if (from == to) targetDC.BitBlt(0, 0, to.cx, to.cy, &sourceDC, 0, 0, SRCCOPY);
  else targetDC.StretchBlt(0, 0, to.cx, to.cy, &sourceDC, 0, 0, from.cx, from.cy, SRCCOPY);
  targetDC.SelectObject(previousTarget);
  sourceDC.SelectObject(previousSource);
  return copy;
}

HICON StretchIcon(HICON icon, CSize to) {
  ICONINFO info;
  if (!GetIconInfo(icon, &info)) return nullptr;
  const CSize from = BitmapSize(info.hbmColor);
  ICONINFO scaled;
  scaled.fIcon = TRUE;
  scaled.hbmColor = CopyStretched(info.hbmColor, from, to);
  scaled.hbmMask = CopyStretched(info.hbmMask, from, to);
  HICON result = CreateIconIndirect(&scaled);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DeleteObject(scaled.hbmColor);
  DeleteObject(scaled.hbmMask);
  return result;
}

// The icons compiled into the program (its own and the tip icon), for
// numbers nobody registered; the application object holds them.
HICON LoadProgramIcon(UINT nID, int cx, int cy) {
  const CWinApp* app = AfxGetApp();
  if (app == nullptr) return nullptr;
  if (cx == cy) return app->LoadIcon(nID, cx);  // 0: the icon's own size
  HICON own = app->LoadIcon(nID, 0);
  if (own == nullptr) return nullptr;
  const CSize ownSize = CGlintTooltip::GetIconSize(own);
  HICON sized = StretchIcon(own, CSize(cx != 0 ? cx : ownSize.cx, cy != 0 ? cy : ownSize.cy));
  DestroyIcon(own);
  return sized;
}

}  // namespace

void RegisterIconResource(UINT nID, HICON hIcon) {
  if (hIcon == nullptr) return;
  Registry().icons[nID & 0xFFFF].push_back(CopyIcon(hIcon));
}

void RegisterBitmapResource(UINT nID, HBITMAP hBitmap) {
  if (hBitmap == nullptr) return;
  const CSize size = BitmapSize(hBitmap);
  HBITMAP& slot = Registry().bitmaps[nID & 0xFFFF];
  if (slot != nullptr) DeleteObject(slot);
  slot = CopyStretched(hBitmap, size, size);
}

void RemoveAllResources() { Registry().Clear(); }

HICON LoadIconFromResources(UINT nID, int cx, int cy) {
  const auto found = Registry().icons.find(nID & 0xFFFF);
  if (found == Registry().icons.end() || found->second.empty())
    return LoadProgramIcon(nID & 0xFFFF, cx, cy);
  const std::vector<HICON>& group = found->second;
  HICON first = group.front();
  const CSize own = CGlintTooltip::GetIconSize(first);
  const CSize wanted(cx != 0 ? cx : own.cx, cy != 0 ? cy : own.cy);
  for (HICON image : group)
    if (CGlintTooltip::GetIconSize(image) == wanted) return CopyIcon(image);
  return StretchIcon(first, wanted);
}

HBITMAP LoadBitmapFromResources(UINT nID) {
  const auto found = Registry().bitmaps.find(nID & 0xFFFF);
  if (found == Registry().bitmaps.end()) return nullptr;
  const CSize size = BitmapSize(found->second);
  return CopyStretched(found->second, size, size);
}
