// Icons: a picture with a mask. The mask is kept as the alpha channel, so
// masked-out pixels leave the destination as it was.
#pragma once

#include <cstddef>

#include "platform/gdi/handles.h"

HICON CreateIconFromImage(const QImage& image);
HICON CreateIconIndirect(const ICONINFO* info);
// Fills the info with new mask and colour bitmaps that the caller deletes.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
BOOL DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);
// How many icons exist: made (or copied) and not yet destroyed.
std::size_t LiveIconCount();
