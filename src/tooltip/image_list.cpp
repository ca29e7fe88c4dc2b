#include "tooltip/image_list.h"

#include "platform/gdi/gdi_api.h"

namespace {

// Copies part of a bitmap into a new bitmap of the list's image size.
HBITMAP Slice(CDC& source, int x, int cx, int cy) {
  CDC target;
  target.CreateCompatibleDC(&source);
  HBITMAP slice = CreateCompatibleBitmap(source.GetSafeHdc(), cx, cy);
  HGDIOBJ previous = target.SelectObject(static_cast<HGDIOBJ>(slice));
  target.BitBlt(0, 0, cx, cy, &source, x, 0, SRCCOPY);
  target.SelectObject(previous);
  return slice;
}

// White where the colour is the mask colour (the destination shows
// through), black elsewhere.
HBITMAP MaskOf(HBITMAP colour, COLORREF maskColour, int cx, int cy) {
  CDC source;
  source.CreateCompatibleDC(nullptr);
  HGDIOBJ previousSource = source.SelectObject(static_cast<HGDIOBJ>(colour));
  CDC target;
  target.CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateCompatibleBitmap(target.GetSafeHdc(), cx, cy);
  HGDIOBJ previousTarget = target.SelectObject(static_cast<HGDIOBJ>(mask));
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      target.SetPixel(x, y, source.GetPixel(x, y) == maskColour ? RGB(255, 255, 255) : RGB(0, 0, 0));
  target.SelectObject(previousTarget);
  source.SelectObject(previousSource);
  return mask;
}

HBITMAP Opaque(int cx, int cy) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateCompatibleBitmap(dc.GetSafeHdc(), cx, cy);
  HGDIOBJ previous = dc.SelectObject(static_cast<HGDIOBJ>(mask));
  dc.FillSolidRect(0, 0, cx, cy, RGB(0, 0, 0));
  dc.SelectObject(previous);
  return mask;
}

int AddSlices(HIMAGELIST list, HBITMAP bitmap, bool masked, COLORREF maskColour, HBITMAP mask) {
  if (list == nullptr || bitmap == nullptr || list->cx <= 0 || list->cy <= 0) return -1;
  BITMAP info;
  if (GetObject(bitmap, sizeof info, &info) == 0) return -1;
  const int count = info.bmWidth / list->cx;
  if (count <= 0) return -1;
  const int first = static_cast<int>(list->images.size());
  CDC source;
  source.CreateCompatibleDC(nullptr);
  CDC maskSource;
  maskSource.CreateCompatibleDC(nullptr);
  HGDIOBJ previous = source.SelectObject(static_cast<HGDIOBJ>(bitmap));
  HGDIOBJ previousMask = mask ? maskSource.SelectObject(static_cast<HGDIOBJ>(mask)) : nullptr;
  for (int i = 0; i < count; ++i) {
    ICONINFO icon;
    icon.fIcon = TRUE;
    icon.hbmColor = Slice(source, i * list->cx, list->cx, list->cy);
    if (masked) icon.hbmMask = MaskOf(icon.hbmColor, maskColour, list->cx, list->cy);
    else if (mask) icon.hbmMask = Slice(maskSource, i * list->cx, list->cx, list->cy);
    else icon.hbmMask = Opaque(list->cx, list->cy);
    HICON image = CreateIconIndirect(&icon);
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);
    if (image != nullptr) list->images.push_back(image);
  }
  source.SelectObject(previous);
  if (mask) maskSource.SelectObject(previousMask);
  return static_cast<int>(list->images.size()) > first ? first : -1;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto* list = new ImageListData;
  list->cx = cx;
  list->cy = cy;
  return list;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  if (list == nullptr) return FALSE;
  for (HICON icon : list->images) DestroyIcon(icon);
  delete list;
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  return list ? static_cast<int>(list->images.size()) : 0;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask) {
  return AddSlices(list, bitmap, true, mask, nullptr);
}

int ImageList_Add(HIMAGELIST list, HBITMAP bitmap, HBITMAP mask) {
  return AddSlices(list, bitmap, false, 0, mask);
}

int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
  if (list == nullptr || icon == nullptr) return -1;
  list->images.push_back(CopyIcon(icon));
  return static_cast<int>(list->images.size()) - 1;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
  if (list == nullptr || index < 0 || index >= ImageList_GetImageCount(list)) return nullptr;
  return CopyIcon(list->images[index]);
}
