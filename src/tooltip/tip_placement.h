// Where a tip goes: beside the cursor in its preferred direction, flipped
// to the other side of the cursor on an axis where it would leave the screen.
#pragma once

#include "platform/gdi/geometry.h"

// Left-extending directions (0, 2) keep their right end near the cursor,
// right-extending ones (1, 3) their left end; on failure nothing is stored.
bool CalcHorzPos(int direction, int x, int width, int screenWidth, int anchorMargin, RECT& rect);
// Above (0, 1) ends at the cursor, below (2, 3) starts at it.
bool CalcVertPos(int direction, int y, int height, int screenHeight, RECT& rect);
int FlipHorz(int direction);
int FlipVert(int direction);

struct TipPlacementInput {
  CPoint cursor;       // screen coordinates
  CSize tipSize;       // balloon plus shadow
  int direction = 3;   // the preferred one
  CSize screen;
  int anchorMargin = 0;
  bool shadow = false;
  CSize shadowOffset;
};

struct TipPlacement {
  CRect rect;          // screen coordinates
  int direction = 3;   // the one used
};

TipPlacement CalcTipPlacement(const TipPlacementInput& in);
