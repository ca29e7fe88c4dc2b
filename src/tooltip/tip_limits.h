// Bounds on everything a tip measures and draws. Markup may ask for any
// number; a tip larger than these cannot be seen anyway, and keeping every
// coordinate within them means no sum or product of two of them overflows
// and no bitmap grows beyond what a screen can show.
#pragma once

#include <algorithm>
#include <cstdint>

// Any coordinate or size of a tip's layout, in pixels.
constexpr int kMaxTipExtent = 32767;
// The width or height of one image in a tip: images are loaded, scaled and
// masked whole for every measurement and paint, so they get a tighter bound
// of their own, far above any icon yet quick to draw.
constexpr int kMaxTipImageExtent = 1024;

// `value` held within [-kMaxTipExtent, kMaxTipExtent].
constexpr int ClampTipExtent(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, -kMaxTipExtent, kMaxTipExtent));
}

// An image size asked for by markup: 0 (the image's own size) stays 0.
constexpr int ClampTipImageExtent(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, 0, kMaxTipImageExtent));
}
