// Points, sizes, rectangles and colours of the toolkit. Rectangles are
// half-open like Win32 RECT: right and bottom are one past the last pixel.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tk {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Point Center() const { return {left + Width() / 2, top + Height() / 2}; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  // Shrinks by the four distances of `inset` (left, top, right, bottom).
  Rect Deflate(const Rect& inset) const {
    return {left + inset.left, top + inset.top, right - inset.right, bottom - inset.bottom};
  }
  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    if (r.IsEmpty()) return {r.left, r.top, r.left, r.top};
    return r;
  }
  Rect Union(const Rect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// 0xAARRGGBB. Alpha 0 with all other bits 0 means "no colour" (not drawn).
using Color = std::uint32_t;
constexpr Color kNoColor = 0;
constexpr std::uint8_t ColorAlpha(Color c) { return static_cast<std::uint8_t>(c >> 24); }
constexpr std::uint8_t ColorRed(Color c) { return static_cast<std::uint8_t>(c >> 16); }
constexpr std::uint8_t ColorGreen(Color c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t ColorBlue(Color c) { return static_cast<std::uint8_t>(c); }

}  // namespace tk
