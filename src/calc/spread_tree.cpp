#include "calc/spread_tree.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t kLeafSize = 8;

// Distance of the range [lo, hi] from 0, and its largest magnitude.
int64_t DistanceFromZero(int64_t lo, int64_t hi) { return lo > 0 ? lo : (hi < 0 ? -hi : 0); }
int64_t LargestMagnitude(int64_t lo, int64_t hi) { return std::max(lo < 0 ? -lo : lo, hi < 0 ? -hi : hi); }

}  // namespace

SpreadTree::SpreadTree(std::vector<HalfAssignment> points) : m_points(std::move(points)) {
  if (!m_points.empty()) {
    // Leaves hold between half and all of kLeafSize points.
    m_nodes.reserve(4 * m_points.size() / kLeafSize + 2);
    m_root = Build(0, static_cast<int32_t>(m_points.size()), 0);
  }
}

// Splits at the median of x and y in turn; a node's bounds are those of its
// children, so every point is looked at once.
int32_t SpreadTree::Build(int32_t first, int32_t last, int depth) {
  const auto id = static_cast<int32_t>(m_nodes.size());
  m_nodes.push_back(Node{});
  if (last - first <= kLeafSize) {
    m_nodes[static_cast<size_t>(id)] = LeafOver(first, last);
    return id;
  }
  const int32_t middle = first + (last - first) / 2;
  const bool byX = depth % 2 == 0;
  auto begin = m_points.begin();
  std::nth_element(begin + first, begin + middle, begin + last,
                   [byX](const HalfAssignment& a, const HalfAssignment& b) { return byX ? a.x < b.x : a.y < b.y; });
  const int32_t left = Build(first, middle, depth + 1);
  const int32_t right = Build(middle, last, depth + 1);
  const Node& l = m_nodes[static_cast<size_t>(left)];
  const Node& r = m_nodes[static_cast<size_t>(right)];
  Node node;
  node.xMin = std::min(l.xMin, r.xMin);
  node.xMax = std::max(l.xMax, r.xMax);
  node.yMin = std::min(l.yMin, r.yMin);
  node.yMax = std::max(l.yMax, r.yMax);
  node.zMin = std::min(l.zMin, r.zMin);
  node.zMax = std::max(l.zMax, r.zMax);
  node.indexMin = std::min(l.indexMin, r.indexMin);
  node.indexMax = std::max(l.indexMax, r.indexMax);
  node.first = first;
  node.last = last;
  node.left = left;
  node.right = right;
  m_nodes[static_cast<size_t>(id)] = node;
  return id;
}

SpreadTree::Node SpreadTree::LeafOver(int32_t first, int32_t last) const {
  Node node;
  node.xMin = node.yMin = node.zMin = std::numeric_limits<int64_t>::max();
  node.xMax = node.yMax = node.zMax = std::numeric_limits<int64_t>::min();
  node.indexMin = std::numeric_limits<uint32_t>::max();
  node.indexMax = 0;
  for (int32_t i = first; i < last; ++i) {
    const HalfAssignment& p = m_points[static_cast<size_t>(i)];
    node.xMin = std::min(node.xMin, p.x);
    node.xMax = std::max(node.xMax, p.x);
    node.yMin = std::min(node.yMin, p.y);
    node.yMax = std::max(node.yMax, p.y);
    node.zMin = std::min(node.zMin, p.y - p.x);
    node.zMax = std::max(node.zMax, p.y - p.x);
    node.indexMin = std::min(node.indexMin, p.index);
    node.indexMax = std::max(node.indexMax, p.index);
  }
  node.first = first;
  node.last = last;
  return node;
}

int64_t SpreadTree::LowerBound(const Node& node, Offset o) const {
  const int64_t dx = DistanceFromZero(node.xMin + o.bx, node.xMax + o.bx);
  const int64_t dy = DistanceFromZero(node.yMin + o.by, node.yMax + o.by);
  const int64_t dz = DistanceFromZero(node.zMin + o.by - o.bx, node.zMax + o.by - o.bx);
  return std::max({dx, dy, dz});
}

int64_t SpreadTree::UpperBound(const Node& node, Offset o) const {
  const int64_t mx = LargestMagnitude(node.xMin + o.bx, node.xMax + o.bx);
  const int64_t my = LargestMagnitude(node.yMin + o.by, node.yMax + o.by);
  const int64_t mz = LargestMagnitude(node.zMin + o.by - o.bx, node.zMax + o.by - o.bx);
  return std::max({mx, my, mz});
}

int64_t SpreadTree::SmallestSpread(int64_t bx, int64_t by, int64_t bound) const {
  int64_t best = bound;
  if (m_root >= 0) Nearest(m_root, Offset{bx, by}, best);
  return best;
}

void SpreadTree::Nearest(int32_t id, Offset o, int64_t& best) const {
  const Node& node = m_nodes[static_cast<size_t>(id)];
  if (node.left < 0) {
    for (int32_t i = node.first; i < node.last; ++i) {
      const HalfAssignment& p = m_points[static_cast<size_t>(i)];
      best = std::min(best, JoinedSpread(p.x, p.y, o.bx, o.by));
    }
    return;
  }
  const int64_t leftBound = LowerBound(m_nodes[static_cast<size_t>(node.left)], o);
  const int64_t rightBound = LowerBound(m_nodes[static_cast<size_t>(node.right)], o);
  const bool leftFirst = leftBound <= rightBound;
  const int32_t near = leftFirst ? node.left : node.right;
  const int32_t far = leftFirst ? node.right : node.left;
  if (std::min(leftBound, rightBound) < best) Nearest(near, o, best);
  if (std::max(leftBound, rightBound) < best) Nearest(far, o, best);
}

void SpreadTree::Farthest(int32_t id, Offset o, int64_t& best) const {
  const Node& node = m_nodes[static_cast<size_t>(id)];
  if (node.left < 0) {
    for (int32_t i = node.first; i < node.last; ++i) {
      const HalfAssignment& p = m_points[static_cast<size_t>(i)];
      best = std::max(best, JoinedSpread(p.x, p.y, o.bx, o.by));
    }
    return;
  }
  const int64_t leftBound = UpperBound(m_nodes[static_cast<size_t>(node.left)], o);
  const int64_t rightBound = UpperBound(m_nodes[static_cast<size_t>(node.right)], o);
  const bool leftFirst = leftBound >= rightBound;
  const int32_t near = leftFirst ? node.left : node.right;
  const int32_t far = leftFirst ? node.right : node.left;
  if (std::max(leftBound, rightBound) > best) Farthest(near, o, best);
  if (std::min(leftBound, rightBound) > best) Farthest(far, o, best);
}

int64_t SpreadTree::LargestSpread(int64_t bx, int64_t by, int64_t bound) const {
  int64_t best = bound;
  if (m_root >= 0) Farthest(m_root, Offset{bx, by}, best);
  return best;
}

bool SpreadTree::NoneIn(const Node& node, Offset o, Range range) const {
  return range.atLeast ? UpperBound(node, o) < range.limit : LowerBound(node, o) > range.limit;
}

bool SpreadTree::AllIn(const Node& node, Offset o, Range range) const {
  return range.atLeast ? LowerBound(node, o) >= range.limit : UpperBound(node, o) <= range.limit;
}

namespace {
bool SpreadIn(int64_t spread, int64_t limit, bool atLeast) { return atLeast ? spread >= limit : spread <= limit; }
}  // namespace

int64_t SpreadTree::SmallestIndexWithin(int64_t bx, int64_t by, int64_t limit) const {
  int64_t best = std::numeric_limits<int64_t>::max();
  if (m_root >= 0) SmallestIndex(m_root, Offset{bx, by}, Range{limit, false}, best);
  return best == std::numeric_limits<int64_t>::max() ? -1 : best;
}

int64_t SpreadTree::SmallestIndexAtLeast(int64_t bx, int64_t by, int64_t limit) const {
  int64_t best = std::numeric_limits<int64_t>::max();
  if (m_root >= 0) SmallestIndex(m_root, Offset{bx, by}, Range{limit, true}, best);
  return best == std::numeric_limits<int64_t>::max() ? -1 : best;
}

void SpreadTree::SmallestIndex(int32_t id, Offset o, Range range, int64_t& best) const {
  const Node& node = m_nodes[static_cast<size_t>(id)];
  if (node.indexMin >= best || NoneIn(node, o, range)) return;
  if (AllIn(node, o, range)) {
    best = node.indexMin;
    return;
  }
  if (node.left < 0) {
    for (int32_t i = node.first; i < node.last; ++i) {
      const HalfAssignment& p = m_points[static_cast<size_t>(i)];
      if (p.index < best && SpreadIn(JoinedSpread(p.x, p.y, o.bx, o.by), range.limit, range.atLeast)) best = p.index;
    }
    return;
  }
  const Node& left = m_nodes[static_cast<size_t>(node.left)];
  const Node& right = m_nodes[static_cast<size_t>(node.right)];
  const bool leftFirst = left.indexMin <= right.indexMin;
  SmallestIndex(leftFirst ? node.left : node.right, o, range, best);
  SmallestIndex(leftFirst ? node.right : node.left, o, range, best);
}

int64_t SpreadTree::LargestIndexWithin(int64_t bx, int64_t by, int64_t limit) const {
  int64_t best = -1;
  if (m_root >= 0) LargestIndex(m_root, Offset{bx, by}, Range{limit, false}, best);
  return best;
}

int64_t SpreadTree::LargestIndexAtLeast(int64_t bx, int64_t by, int64_t limit) const {
  int64_t best = -1;
  if (m_root >= 0) LargestIndex(m_root, Offset{bx, by}, Range{limit, true}, best);
  return best;
}

void SpreadTree::LargestIndex(int32_t id, Offset o, Range range, int64_t& best) const {
  const Node& node = m_nodes[static_cast<size_t>(id)];
  if (static_cast<int64_t>(node.indexMax) <= best || NoneIn(node, o, range)) return;
  if (AllIn(node, o, range)) {
    best = node.indexMax;
    return;
  }
  if (node.left < 0) {
    for (int32_t i = node.first; i < node.last; ++i) {
      const HalfAssignment& p = m_points[static_cast<size_t>(i)];
      if (static_cast<int64_t>(p.index) > best && SpreadIn(JoinedSpread(p.x, p.y, o.bx, o.by), range.limit, range.atLeast))
        best = p.index;
    }
    return;
  }
  const Node& left = m_nodes[static_cast<size_t>(node.left)];
  const Node& right = m_nodes[static_cast<size_t>(node.right)];
  const bool leftFirst = left.indexMax >= right.indexMax;
  LargestIndex(leftFirst ? node.left : node.right, o, range, best);
  LargestIndex(leftFirst ? node.right : node.left, o, range, best);
}
