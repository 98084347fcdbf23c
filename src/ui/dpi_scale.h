// The one scaling point: every design size (pixels at 96 DPI) and every
// configured pixel or point size goes through DpiScale, so at 96 DPI each
// figure is exactly as given and at other DPIs the palette keeps its size on
// screen. Windowless, so the palette logic and its tests use it too.
#pragma once

#include <cstdint>
#include <limits>

namespace tabcard {

inline constexpr int kDesignDpi = 96;

// a * b / c rounded to the nearest, halves away from zero, as MulDiv does.
// A result beyond int saturates (MulDiv gives -1): a stored width of 2^30
// scaled to 192 DPI must stay a huge width, not wrap to a negative one.
constexpr int MulDivRound(int a, int b, int c) {
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::int64_t h = c / 2;
  const std::int64_t q = p >= 0 ? (p + h) / c : (p - h) / c;
  if (q > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (q < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(q);
}

class DpiScale {
 public:
  constexpr explicit DpiScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}
  constexpr int dpi() const { return dpi_; }
  // Design pixels to device pixels.
  constexpr int Px(int designPixels) const { return MulDivRound(designPixels, dpi_, kDesignDpi); }
  // A font size in points as a LOGFONT height (negative: character height).
  // Kept within -INT_MAX..INT_MAX, where the negation is defined.
  constexpr int FontHeight(int points) const {
    const int height = MulDivRound(points, dpi_, 72);
    return height == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -height;
  }
  // The other way: the points of a LOGFONT height of either sign.
  constexpr int Points(int height) const {
    const std::int64_t size = height < 0 ? -static_cast<std::int64_t>(height) : height;
    return MulDivRound(static_cast<int>(size > std::numeric_limits<int>::max()
                                            ? std::numeric_limits<int>::max()
                                            : size),
                       72, dpi_);
  }

 private:
  int dpi_;
};

}  // namespace tabcard
