#include "reportui/design_geometry.h"

#include <algorithm>
#include <cmath>

namespace zorel {

DragRect RectOf(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

std::array<QPoint, kHandleCount> HandleOrigins(const DragRect& b) {
  const int l = b.left, t = b.top, w = b.Width(), h = b.Height();
  const int w2 = w / 2, h2 = h / 2;  // toward zero
  constexpr int c = kHandleSize / 2;
  return {{{l - c, t - c},
           {l + w2 - c, t - c},
           {l + w - c, t - c},
           {l - c, t + h2 - c},
           {l + w - c, t + h2 - c},
           {l - c, t + h - c},
           {l + w2 - c, t + h - c},
           {l + w - c, t + h - c}}};
}

DragRect ResizedRect(int handle, const DragRect& b, QPoint d) {
  DragRect r = b;
  const int dx = d.x(), dy = d.y();
  switch (handle) {
    case 1:
      r.left += dx;
      r.top += dy;
      break;
    case 2:
      r.top += dy;
      break;
    case 3:
      r.top += dy;
      r.right += dx;
      break;
    case 4:
      r.left += dx;
      break;
    case 5:
      r.right += dx;
      break;
    case 6:
      r.left += dx;
      r.bottom += dy;
      break;
    case 7:
      r.bottom += dy;
      break;
    case 8:
      r.right += dx;
      r.bottom += dy;
      break;
    default:
      break;
  }
  return r;
}

DragRect MovedRect(const DragRect& bounds, QPoint delta) { return bounds.Shifted(delta); }

DragRect Normalized(const DragRect& r) {
  DragRect n{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
             std::max(r.top, r.bottom)};
  n.right = std::max(n.right, n.left + 1);
  n.bottom = std::max(n.bottom, n.top + 1);
  return n;
}

double TenthsPerUnit(GridUnit unit) {
  switch (unit) {
    case GridUnit::Millimetres:
      return 10;
    case GridUnit::Inches:
      return 254;
    case GridUnit::Pixels:
      return 254.0 / 96.0;
    case GridUnit::Native:
      return 1;
  }
  return 1;
}

double SnapToGrid(double value, GridUnit unit) {
  const double steps = unit == GridUnit::Millimetres ? 1.0 : 40.0;
  return std::nearbyint(value * steps) / steps;
}

std::array<QLine, 8> CornerMarkLines(int w, int h) {
  return {{{0, 4, 0, 0},
           {0, 0, 4, 0},
           {0, h - 5, 0, h - 1},
           {0, h - 1, 4, h - 1},
           {w - 5, 0, w - 1, 0},
           {w - 1, 0, w - 1, 4},
           {w - 5, h - 1, w - 1, h - 1},
           {w - 1, h - 1, w - 1, h - 5}}};
}

}  // namespace zorel
