#include "tooltip/balloon_shape.h"

namespace {

bool IsAbove(int direction) { return direction == 0 || direction == 1; }
bool ExtendsLeft(int direction) { return direction == 0 || direction == 2; }

int Step(int from, int to, int i) { return (64 * from + i * (to - from)) / 64; }

COLORREF BandColour(COLORREF from, COLORREF to, int i) {
  return RGB(Step(GetRValue(from), GetRValue(to), i), Step(GetGValue(from), GetGValue(to), i),
             Step(GetBValue(from), GetBValue(to), i));
}

}  // namespace

BalloonShape CalcBalloonShape(const BalloonShapeInput& in) {
  BalloonShape shape;
  shape.body = CRect(0, 0, in.width, in.height);
  int baseLine = 0;
  // The anchor's height is reserved even when the anchor is not drawn.
  if (IsAbove(in.direction)) {
    shape.body.bottom -= in.anchorHeight;
    baseLine = shape.body.bottom;
  } else {
    shape.body.top += in.anchorHeight;
    baseLine = shape.body.top;
  }
  shape.hasAnchor = in.withAnchor;
  if (!shape.hasAnchor) return shape;
  int x1 = 0;
  int x2 = 0;
  if (ExtendsLeft(in.direction)) {
    x1 = shape.body.right - in.anchorMargin;
    x2 = x1 - in.anchorWidth;
  } else {
    x1 = shape.body.left + in.anchorMargin;
    x2 = x1 + in.anchorWidth;
  }
  shape.triangle[0] = in.anchor;
  shape.triangle[1] = POINT{x1, baseLine};
  shape.triangle[2] = POINT{x2, baseLine};
  return shape;
}

std::vector<GradientBand> CalcGradientBands(const RECT& rect, COLORREF from, COLORREF to,
                                            bool horizontal) {
  std::vector<GradientBand> bands;
  const int start = horizontal ? rect.left : rect.top;
  const int extent = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
  for (int i = 0; i < 64; ++i) {
    const int begin = start + ((extent * i) >> 6);
    const int end = start + ((extent * (i + 1)) >> 6);
    if (end <= begin) continue;
    CRect band(rect);
    if (horizontal) {
      band.left = begin;
      band.right = end;
    } else {
      band.top = begin;
      band.bottom = end;
    }
    bands.push_back({band, BandColour(from, to, i)});
  }
  return bands;
}
