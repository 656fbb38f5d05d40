// The paint list: what a window looks like, as a flat list of drawing
// operations in painting order. The core walks the control tree once and
// fills the list; a backend only draws the operations (the headless
// backend keeps them for tests). Coordinates are client coordinates of the
// window; image paths are absolute and already resolved.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/win32.h"

namespace tk {

class CControlUI;

struct FontSpec {
  std::u16string family;  // e.g. "WenQuanYi Micro Hei"
  int size = 13;          // pixel height of the em box
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class DrawKind : std::uint8_t {
  kFill,      // rect filled with color; `round` gives the corner radii
  kBorder,    // rect outlined with color, `width` pixels inside the rect; `round` radii
  kImage,     // image file drawn into rect; `source` part of it, `corner` nine-patch edges
  kText,      // text drawn in rect with font, color and DT_* format
  kLine,      // a line from (rect.left, rect.top) to (rect.right, rect.bottom), `width` pixels
  kPushClip,  // from here on draw only inside rect (intersected with the enclosing clip); `round` radii
  kPopClip,   // ends the innermost kPushClip
  kCaret,     // text caret: a thin bar filling rect
};

struct DrawOp {
  DrawKind kind = DrawKind::kFill;
  Rect rect;
  Color color = kNoColor;
  int width = 0;
  Size round;
  // kText
  std::u16string text;
  int font = -1;        // index into PaintList::fonts; -1 for the default font
  UINT format = 0;      // DT_LEFT/DT_CENTER/DT_RIGHT, DT_TOP/DT_VCENTER/DT_BOTTOM, DT_SINGLELINE, DT_WORDBREAK, DT_END_ELLIPSIS
  // kImage
  std::u16string image; // absolute file path
  Rect source;          // empty: the whole image
  Rect corner;          // distances from the image edges that are not stretched
  std::uint8_t fade = 255;
  const CControlUI* control = nullptr;  // the control that produced the operation
};

struct PaintList {
  std::vector<FontSpec> fonts;  // fonts[0] is the default font
  std::vector<DrawOp> ops;
  Color background = 0xFFFFFFFF;  // window background under everything
  void Clear() { ops.clear(); }
  // Adds `rect` filled with `color`, corners rounded by `round`.
  void AddFill(const CControlUI* control, const Rect& rect, Color color, Size round = {}) {
    DrawOp op;
    op.kind = DrawKind::kFill;
    op.rect = rect;
    op.color = color;
    op.round = round;
    op.control = control;
    ops.push_back(std::move(op));
  }
  // Adds an outline of `rect`, `width` pixels inside it.
  void AddBorder(const CControlUI* control, const Rect& rect, Color color, int width, Size round = {}) {
    DrawOp op;
    op.kind = DrawKind::kBorder;
    op.rect = rect;
    op.color = color;
    op.width = width;
    op.round = round;
    op.control = control;
    ops.push_back(std::move(op));
  }
  const FontSpec& Font(int index) const {
    static const FontSpec kFallback;
    if (index >= 0 && index < static_cast<int>(fonts.size())) return fonts[index];
    return fonts.empty() ? kFallback : fonts[0];
  }
};

}  // namespace tk
