// The program's icon and bitmap resources, found by resource number: the
// icons compiled into the program (128, 129) and whatever pictures are
// registered here (registered ones come first). The tooltip loads fresh
// copies from here whenever markup or a tool asks.
#pragma once

#include "platform/gdi/handles.h"

// One image of an icon group; a group may hold several sizes. The registry
// keeps its own copy.
void RegisterIconResource(UINT nID, HICON hIcon);
// The registry keeps its own copy of the bitmap.
void RegisterBitmapResource(UINT nID, HBITMAP hBitmap);
void RemoveAllResources();

// New objects the caller destroys, nullptr when there is no such resource.
// An icon of cx × cy is the group's image of that size, else its first
// image stretched to it; 0 takes the image's own extent.
HICON LoadIconFromResources(UINT nID, int cx, int cy);
HBITMAP LoadBitmapFromResources(UINT nID);
