// The one function that paints a generated page onto any QPainter: the preview's page image,
// the printer and PDF files all call PaintPage. Coordinates are the device's pixels; fx and fy
// are its pixels per tenth of a millimetre (on screen they include the zoom). Frames follow
// the report's frame rule: whole-pixel lines growing inward from each edge.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>

#include "report/page_generator.h"
#include "report/report.h"

class QPainter;

namespace zorel {

// origin: where the paper's top left corner lies on the device.
void PaintPage(QPainter& painter, const TReport& report, const GeneratedPage& page, double fx,
               double fy, QPoint origin = {});

// The thickness in device pixels of a frame line of width points at f pixels per tenth of a
// millimetre: at least 1 for a positive width, 1 for -1 (the thinnest line), 0 for 0.
int FrameThickness(double f, int width);
// The frame of the rectangle with left l, top t, right r and bottom b in device pixels.
void DrawFrame(QPainter& painter, const TRepFrame& frame, int l, int t, int r, int b, double fx,
               double fy);

QColor ToQColor(RepColor color);
// The report font at the device's size: Height is pixels at 96 per inch.
QFont DeviceFont(const ReportFont& font, double fy);

}  // namespace zorel
