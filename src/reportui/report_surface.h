// ReportSurface: the design surface of a print form. It shows the report's page at 100 %
// (96 pixels per inch) with its margins, the detail band in the first column (the other
// columns outlined) and the band's labels in their design-time look: a white background,
// corner marks, the caption in the label's font and the frame as printed. While a designer is
// attached it passes mouse presses and keys to it and draws its dotted rectangle.
//
// The report is not owned and must outlive the surface or be replaced first.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "reportui/design_geometry.h"
#include "reportui/design_object.h"

namespace zorel {

class TReport;
class TRepLabel;
class TRepDesigner;

class ReportSurface : public QWidget {
  Q_OBJECT

 public:
  explicit ReportSurface(QWidget* parent = nullptr);

  void SetReport(TReport* report);
  TReport* Report() const { return report_; }

  // The text a label prints for the current record; its caption when unset.
  std::function<QString(const TRepLabel&)> printedText;
  // The names of the labels whose printed text does not fit them (cut on paper); each is
  // marked with a red corner on the surface.
  QStringList CutLabels() const;

  // Set by the designer while it is attached.
  void SetDesigner(TRepDesigner* designer) { designer_ = designer; }
  TRepDesigner* Designer() const { return designer_; }

  // Pixel bounds on the surface.
  DragRect PageRect() const;
  DragRect BandRect() const;
  // A label's bounds relative to its band.
  static DragRect LabelRect(const TRepLabel& label);
  // The selection's bounds on the surface; an empty rectangle for none or the report.
  DragRect BoundsOf(const DesignObject& object) const;
  // The band or label under a point of the surface (the label painted last wins), the report
  // elsewhere on the page, none outside it.
  DesignObject ObjectAt(QPoint pos) const;

  QSize sizeHint() const override;
  // Resizes the surface to the page after its size changed.
  void UpdateGeometry();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TReport* report_ = nullptr;
  TRepDesigner* designer_ = nullptr;
};

}  // namespace zorel
