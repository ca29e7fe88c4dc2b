// Points of one half of a phase assignment, searched by the spread of the
// whole assignment. A half with phase sums a0, a1, a2 is the point
// (a0 − a1, a0 − a2); joined with another half's offset (b0 − b1, b0 − b2) the
// three phase sums spread by max(|X|, |Y|, |X − Y|), X and Y the coordinates
// added. All sums are whole multiples of one unit, so integers are exact.
#pragma once

#include <cstdint>
#include <algorithm>
#include <vector>

struct HalfAssignment {
  int64_t x = 0;       // a0 − a1
  int64_t y = 0;       // a0 − a2
  uint32_t index = 0;  // the half's counter value
};

class SpreadTree {
 public:
  explicit SpreadTree(std::vector<HalfAssignment> points);

  // The smallest spread of any point joined with the offset, when it is
  // below `bound`; `bound` otherwise.
  int64_t SmallestSpread(int64_t bx, int64_t by, int64_t bound) const;
  // The smallest / largest index of a point whose spread with the offset is
  // at most `limit`; -1 when there is none.
  int64_t SmallestIndexWithin(int64_t bx, int64_t by, int64_t limit) const;
  int64_t LargestIndexWithin(int64_t bx, int64_t by, int64_t limit) const;

  // The same towards large spreads (boards whose total is negative rank
  // assignments by the largest spread): the largest spread when it is
  // above `bound`, `bound` otherwise; indices of points whose spread is at
  // least `limit`.
  int64_t LargestSpread(int64_t bx, int64_t by, int64_t bound) const;
  int64_t SmallestIndexAtLeast(int64_t bx, int64_t by, int64_t limit) const;
  int64_t LargestIndexAtLeast(int64_t bx, int64_t by, int64_t limit) const;

 private:
  struct Node {
    int64_t xMin = 0, xMax = 0, yMin = 0, yMax = 0, zMin = 0, zMax = 0;  // z = y − x
    uint32_t indexMin = 0, indexMax = 0;
    int32_t first = 0, last = 0;  // points [first, last)
    int32_t left = -1, right = -1;
  };
  struct Offset {
    int64_t bx, by;
  };
  // Which spreads an index query accepts: at most or at least `limit`.
  struct Range {
    int64_t limit;
    bool atLeast;
  };

  int32_t Build(int32_t first, int32_t last, int depth);
  Node LeafOver(int32_t first, int32_t last) const;
  int64_t LowerBound(const Node& node, Offset offset) const;
  int64_t UpperBound(const Node& node, Offset offset) const;
  void Nearest(int32_t node, Offset offset, int64_t& best) const;
  void Farthest(int32_t node, Offset offset, int64_t& best) const;
  bool NoneIn(const Node& node, Offset offset, Range range) const;
  bool AllIn(const Node& node, Offset offset, Range range) const;
  void SmallestIndex(int32_t node, Offset offset, Range range, int64_t& best) const;
  void LargestIndex(int32_t node, Offset offset, Range range, int64_t& best) const;

  std::vector<HalfAssignment> m_points;
  std::vector<Node> m_nodes;
  int32_t m_root = -1;
};

// Spread of the phase sums of a half at (x, y) joined with offset (bx, by).
inline int64_t JoinedSpread(int64_t x, int64_t y, int64_t bx, int64_t by) {
  const int64_t X = x + bx;
  const int64_t Y = y + by;
  const int64_t D = Y - X;
  int64_t spread = X < 0 ? -X : X;
  spread = std::max(spread, Y < 0 ? -Y : Y);
  return std::max(spread, D < 0 ? -D : D);
}
