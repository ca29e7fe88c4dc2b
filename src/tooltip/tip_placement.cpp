#include "tooltip/tip_placement.h"

#include <algorithm>

namespace {
bool ExtendsRight(int direction) { return direction == 1 || direction == 3; }
bool IsBelow(int direction) { return direction == 2 || direction == 3; }
}  // namespace

bool CalcHorzPos(int direction, int x, int width, int screenWidth, int anchorMargin, RECT& rect) {
  int left = 0;
  int right = 0;
  if (ExtendsRight(direction)) {
    // Too close to the left edge for the anchor margin: start at the edge.
    left = x < anchorMargin ? 0 : x - anchorMargin;
    right = left + width;
  } else {
    right = std::min(x + anchorMargin, screenWidth);
    left = right - width;
  }
  if (left < 0 || right > screenWidth) return false;
  rect.left = left;
  rect.right = right;
  return true;
}

bool CalcVertPos(int direction, int y, int height, int screenHeight, RECT& rect) {
  const int top = IsBelow(direction) ? y : y - height;
  const int bottom = top + height;
  if (top < 0 || bottom > screenHeight) return false;
  rect.top = top;
  rect.bottom = bottom;
  return true;
}

int FlipHorz(int direction) {
  switch (direction) {
    case 0: return 1;
    case 1: return 0;
    case 2: return 3;
    case 3: return 2;
    default: return direction;
  }
}

int FlipVert(int direction) {
  switch (direction) {
    case 0: return 2;
    case 2: return 0;
    case 1: return 3;
    case 3: return 1;
    default: return direction;
  }
}

TipPlacement CalcTipPlacement(const TipPlacementInput& in) {
  TipPlacement out{CRect(0, 0, in.tipSize.cx, in.tipSize.cy), in.direction};
  const int width = in.tipSize.cx;
  const int height = in.tipSize.cy;
  if (!CalcHorzPos(out.direction, in.cursor.x, width, in.screen.cx, in.anchorMargin, out.rect)) {
    out.direction = FlipHorz(out.direction);
    CalcHorzPos(out.direction, in.cursor.x, width, in.screen.cx, in.anchorMargin, out.rect);
  }
  if (!CalcVertPos(out.direction, in.cursor.y, height, in.screen.cy, out.rect)) {
    out.direction = FlipVert(out.direction);
    CalcVertPos(out.direction, in.cursor.y, height, in.screen.cy, out.rect);
  }
  // The shadow widens the window at its right and heightens it at its
  // bottom. A left-extending tip measures its anchor from the body's right
  // end, so it moves right by the shadow's width; above the cursor it also
  // moves down by the shadow's height, so that its body ends where the
  // anchor begins. Below the cursor the anchor starts at the window's top
  // edge: moving down would take its point off the cursor and cut it off.
  if (in.shadow && !ExtendsRight(out.direction)) {
    const int down = IsBelow(out.direction) ? 0 : in.shadowOffset.cy;
    out.rect.OffsetRect(in.shadowOffset.cx, down);
  }
  return out;
}
