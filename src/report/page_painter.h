// Painting onto any QPainter: the preview's page image, the printer and PDF files call
// PaintPage, and it and the design surface draw every label with PaintLabel. Coordinates are
// the device's pixels; fx and fy are its pixels per tenth of a millimetre (on screen they
// include the zoom). A label's text is laid out in units of the page, never of the device, so
// its lines break at the same words on screen, paper and PDF. Frames follow the report's frame
// rule: whole-pixel lines growing inward from each edge, their dots and dashes measured on
// the page; the text starts inside the lines.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include "report/page_generator.h"
#include "report/report.h"

class QPainter;

namespace zorel {

// origin: where the paper's top left corner lies on the device.
void PaintPage(QPainter& painter, const TReport& report, const GeneratedPage& page, double fx,
               double fy, QPoint origin = {});

// A label's frame and its text (as printed: wrapped at words unless AutoSize, a word longer
// than the label cut at its edge) in the device rectangle rect.
void PaintLabel(QPainter& painter, const TRepLabel& label, const QString& text, QRect rect,
                double fx, double fy);
// Whether text fits label: no word runs past its width and no line below its height.
bool LabelTextFits(const TRepLabel& label, const QString& text);

// The thickness in device pixels of a frame line of width points at f pixels per tenth of a
// millimetre: at least 1 for a positive width, 1 for -1 (the thinnest line), 0 for 0.
int FrameThickness(double f, int width);
// The frame of the rectangle with left l, top t, right r and bottom b in device pixels.
void DrawFrame(QPainter& painter, const TRepFrame& frame, int l, int t, int r, int b, double fx,
               double fy);

QColor ToQColor(RepColor color);

}  // namespace zorel
