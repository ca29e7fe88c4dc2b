// A small image list: images of one size kept as icons, added from
// bitmaps (optionally with one colour made transparent) or from icons.
#pragma once

#include <vector>

#include "platform/gdi/handles.h"

struct ImageListData {
  int cx = 0;
  int cy = 0;
  std::vector<HICON> images;  // owned
};
using HIMAGELIST = ImageListData*;

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR32 = 0x0020;
constexpr UINT ILD_NORMAL = 0x0000;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
// A bitmap wider than one image adds one image per image width. Return the
// index of the first image added, -1 when nothing could be added.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask);
int ImageList_Add(HIMAGELIST list, HBITMAP bitmap, HBITMAP mask);
int ImageList_AddIcon(HIMAGELIST list, HICON icon);
// A new icon the caller destroys; nullptr for a bad index.
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
