// The designer's geometry as plain functions: where the eight grab handles sit around a
// selection, the rectangle a handle drag or a move makes, how a band takes such a rectangle,
// the snapping of a moved element to the grid and the corner marks of an element at design
// time. Pixels of the design surface throughout; rectangles may turn inside out.
#pragma once

#include <QLine>
#include <QPoint>
#include <QRect>
#include <array>

namespace zorel {

inline constexpr int kHandleCount = 8;
inline constexpr int kHandleSize = 4;

// Left, top, right and bottom as dragged; right and bottom lie one past the last pixel.
struct DragRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  DragRect Shifted(QPoint by) const {
    return {left + by.x(), top + by.y(), right + by.x(), bottom + by.y()};
  }
  bool operator==(const DragRect&) const = default;
};

// The bounds left, top, width and height as a drag rectangle.
DragRect RectOf(int left, int top, int width, int height);

// Top-left corners of handles 1..8 (index 0..7) around a selection, each 4 x 4 handle centred
// on its corner or edge midpoint.
std::array<QPoint, kHandleCount> HandleOrigins(const DragRect& bounds);

// The rectangle after dragging handle 1..8 by delta from the selection's bounds.
DragRect ResizedRect(int handle, const DragRect& bounds, QPoint delta);
// The rectangle after dragging the object's body by delta.
DragRect MovedRect(const DragRect& bounds, QPoint delta);

// The rectangle turned right side out, at least one pixel wide and high: what an element
// takes when a drag ends, so that it never becomes invisible or unprintable.
DragRect Normalized(const DragRect& rect);

// Units of the report's grid; Native is the form file's tenth of a millimetre.
enum class GridUnit { Millimetres, Inches, Pixels, Native };
// Tenths of a millimetre in one unit.
double TenthsPerUnit(GridUnit unit);
// The value, in units, rounded to the grid: the nearest whole millimetre, or the nearest 1/40
// of the other units; a half goes to the even neighbour.
double SnapToGrid(double value, GridUnit unit);

// The eight corner-mark lines of an element of width w and height h, two per corner, each arm
// five pixels long.
std::array<QLine, 8> CornerMarkLines(int w, int h);

}  // namespace zorel
