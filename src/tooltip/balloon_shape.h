// The balloon's outline: a plain or rounded body and a triangular anchor
// whose tip sits on the cursor, and the 64-band gradients of the background.
#pragma once

#include <vector>

#include "platform/gdi/geometry.h"

struct BalloonShapeInput {
  int width = 0;        // window size less the shadow offsets
  int height = 0;
  CPoint anchor;        // cursor in the tip's client coordinates
  int direction = 3;
  bool withAnchor = true;
  bool rounded = true;
  int anchorWidth = 0;
  int anchorHeight = 0;
  int anchorMargin = 0;
};

struct BalloonShape {
  CRect body;              // anchor height taken off the anchor's side
  bool hasAnchor = false;
  POINT triangle[3] = {};  // cursor, then the two base points
};

BalloonShape CalcBalloonShape(const BalloonShapeInput& in);

struct GradientBand {
  CRect rect;
  COLORREF colour;
};

// Up to 64 bands across the width (horizontal) or height; band i has the
// colour from + i·(to − from)/64, so the last stops one step short of `to`.
std::vector<GradientBand> CalcGradientBands(const RECT& rect, COLORREF from, COLORREF to,
                                            bool horizontal);
