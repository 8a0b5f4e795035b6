// TRepDesigner: selects, moves and resizes the detail band and the labels of a report shown on
// a ReportSurface. A press on a label or the band selects it and starts a move; the eight grab
// handles (TControlHandle) around the selection resize it. A dotted rectangle follows the
// mouse and the new bounds apply when the button is released; a band only ever changes its
// height. A press on the page outside the band selects the report. Delete frees the selected
// label; the arrow keys move it by a grid step (with Shift they resize it).
//
// Every change the designer makes to the form is bracketed by AboutToChange and Changed, so
// that its owner can keep an undo history. The surface and its report must outlive the
// attachment (Detach, or attach to another surface, before they go).
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>

#include "reportui/design_geometry.h"
#include "reportui/design_object.h"

namespace zorel {

class ReportSurface;
class TRepDesigner;

// A 4 x 4 black grab handle with its index (1..8) and the size cursor of that index.
class TControlHandle : public QWidget {
  Q_OBJECT

 public:
  TControlHandle(TRepDesigner& designer, int index, QWidget* parent);
  int Index() const { return index_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TRepDesigner& designer_;
  int index_;
};

class TRepDesigner : public QObject {
  Q_OBJECT

 public:
  explicit TRepDesigner(QObject* owner = nullptr);
  ~TRepDesigner() override;

  // Detaches from any previous surface, makes the handles and selects the report.
  void Attach(ReportSurface& surface);
  void Detach();
  bool Attached() const { return surface_ != nullptr; }
  ReportSurface* Surface() const { return surface_; }

  DesignObject Selection() const { return selection_; }
  // Hides the handles, tells SelectComponent and remembers the object.
  void Select(const DesignObject& object);

  // Moved labels snap their left and top to the grid.
  bool SnapToGrid = true;
  GridUnit Unit = GridUnit::Millimetres;

  // The dotted rectangle on the surface, while a move or a resize is under way.
  std::optional<DragRect> FocusRect() const { return focus_; }
  bool Dragging() const { return dragHandle_ != 0; }
  const TControlHandle* Handle(int index) const { return handles_[index - 1]; }

  // From the surface, positions in its coordinates.
  void ObjectPress(const DesignObject& object, QPoint pos, Qt::MouseButton button);
  void ObjectMove(QPoint pos);
  void ObjectRelease(QPoint pos, Qt::MouseButton button);
  // From a handle, positions in the surface's coordinates.
  void HandlePress(int index, QPoint pos, Qt::MouseButton button);
  void HandleMove(QPoint pos);
  void HandleRelease(QPoint pos, Qt::MouseButton button);

  // Frees the selected label and selects the report; nothing for any other selection.
  void DeleteSelection();
  // Moves the selected label by dx, dy grid steps (one millimetre), or resizes it.
  void NudgeSelection(int dx, int dy, bool resize);

 signals:
  void SelectComponent(zorel::DesignObject object);
  void AboutToChange();
  void Changed();

 private:
  void PlaceHandles();
  void ShowHandles(bool show);
  void SetFocus(std::optional<DragRect> rect);
  // Applies a rectangle on the surface to the selection.
  void ApplyRect(const DragRect& rect, bool snap);

  QPointer<ReportSurface> surface_;
  DesignObject selection_;
  std::array<TControlHandle*, kHandleCount> handles_{};
  int dragHandle_ = 0;
  bool moving_ = false;
  QPoint dragStart_;
  std::optional<DragRect> focus_;
};

}  // namespace zorel
