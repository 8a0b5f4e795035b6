#include "reportui/rep_designer.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "report/report.h"
#include "reportui/report_surface.h"

namespace zorel {
namespace {

Qt::CursorShape HandleCursor(int index) {
  switch (index) {
    case 1:
    case 8:
      return Qt::SizeFDiagCursor;
    case 3:
    case 6:
      return Qt::SizeBDiagCursor;
    case 2:
    case 7:
      return Qt::SizeVerCursor;
    default:
      return Qt::SizeHorCursor;
  }
}

// A label's left or top in tenths after a move to pixel p from old (its tenths at pixel
// oldP, kept when it did not move), snapped when asked.
double MovedTenths(int p, int oldP, double old, bool snap, GridUnit unit) {
  const double tenths = p == oldP ? old : PixelsToTenths(p);
  if (!snap) return tenths;
  const double per = TenthsPerUnit(unit);
  return SnapToGrid(tenths / per, unit) * per;
}

}  // namespace

TControlHandle::TControlHandle(TRepDesigner& designer, int index, QWidget* parent)
    : QWidget(parent), designer_(designer), index_(index) {
  setObjectName(QStringLiteral("Handle%1").arg(index));
  setFixedSize(kHandleSize, kHandleSize);
  setCursor(HandleCursor(index));
  hide();
}

void TControlHandle::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), Qt::black); }

void TControlHandle::mousePressEvent(QMouseEvent* event) {
  designer_.HandlePress(index_, mapToParent(event->position().toPoint()), event->button());
}

void TControlHandle::mouseMoveEvent(QMouseEvent* event) {
  designer_.HandleMove(mapToParent(event->position().toPoint()));
}

void TControlHandle::mouseReleaseEvent(QMouseEvent* event) {
  designer_.HandleRelease(mapToParent(event->position().toPoint()), event->button());
}

TRepDesigner::TRepDesigner(QObject* owner) : QObject(owner) {}

TRepDesigner::~TRepDesigner() { Detach(); }

void TRepDesigner::Attach(ReportSurface& surface) {
  Detach();
  surface_ = &surface;
  for (int i = 0; i < kHandleCount; ++i) handles_[i] = new TControlHandle(*this, i + 1, &surface);
  surface.SetDesigner(this);
  Select(DesignObject::Report());
}

void TRepDesigner::Detach() {
  if (surface_) {
    surface_->SetDesigner(nullptr);
    surface_->update();
  }
  for (TControlHandle*& h : handles_) {
    delete h;
    h = nullptr;
  }
  surface_ = nullptr;
  selection_ = {};
  dragHandle_ = 0;
  moving_ = false;
  focus_.reset();
}

void TRepDesigner::Select(const DesignObject& object) {
  ShowHandles(false);
  emit SelectComponent(object);
  selection_ = object;
  if (surface_) surface_->update();
}

void TRepDesigner::ObjectPress(const DesignObject& object, QPoint pos, Qt::MouseButton button) {
  if (!surface_ || button != Qt::LeftButton || Dragging() || moving_) return;
  if (object.kind == DesignObject::Kind::None) return;
  Select(object);
  if (object.kind == DesignObject::Kind::Report) return;
  moving_ = true;
  dragStart_ = pos;
  SetFocus(surface_->BoundsOf(object));
}

void TRepDesigner::ObjectMove(QPoint pos) {
  if (!moving_) return;
  SetFocus(MovedRect(surface_->BoundsOf(selection_), pos - dragStart_));
}

void TRepDesigner::ObjectRelease(QPoint pos, Qt::MouseButton button) {
  if (!moving_ || button != Qt::LeftButton) return;
  ObjectMove(pos);
  moving_ = false;
  const DragRect rect = *focus_;
  SetFocus(std::nullopt);
  ApplyRect(rect, SnapToGrid);
  PlaceHandles();
  ShowHandles(true);
}

void TRepDesigner::HandlePress(int index, QPoint pos, Qt::MouseButton button) {
  if (!surface_ || button != Qt::LeftButton || Dragging() || moving_) return;
  dragHandle_ = index;
  dragStart_ = pos;
  ShowHandles(false);
  surface_->grabMouse();
  SetFocus(surface_->BoundsOf(selection_));
}

void TRepDesigner::HandleMove(QPoint pos) {
  if (!Dragging()) return;
  SetFocus(ResizedRect(dragHandle_, surface_->BoundsOf(selection_), pos - dragStart_));
}

void TRepDesigner::HandleRelease(QPoint pos, Qt::MouseButton button) {
  if (!Dragging() || button != Qt::LeftButton) return;
  HandleMove(pos);
  surface_->releaseMouse();
  const DragRect rect = *focus_;
  SetFocus(std::nullopt);
  dragHandle_ = 0;
  ApplyRect(rect, false);
  PlaceHandles();
  ShowHandles(true);
}

void TRepDesigner::ApplyRect(const DragRect& rect, bool snap) {
  TReport* report = surface_->Report();
  if (!report || !report->HasDetail()) return;
  const DragRect band = surface_->BandRect();
  if (selection_.kind == DesignObject::Kind::Band) {
    const int height = std::max(1, std::abs(rect.Height()));
    if (height == band.Height()) return;
    emit AboutToChange();
    report->DetailBand()->HeightTenths = std::min(PixelsToTenths(height), kMaxMeasureTenths);
  } else if (selection_.kind == DesignObject::Kind::Label) {
    TRepLabel& label = *selection_.label;
    const DragRect r = Normalized(rect).Shifted({-band.left, -band.top});
    const DragRect old = ReportSurface::LabelRect(label);
    // Only the measures that changed are taken from pixels, so the others keep their tenths;
    // a move snaps both left and top, also when the mouse came back where it was pressed.
    TRepLabel::Measures m = label.Size;
    if (r.left != old.left || snap) m.Left = MovedTenths(r.left, old.left, m.Left, snap, Unit);
    if (r.top != old.top || snap) m.Top = MovedTenths(r.top, old.top, m.Top, snap, Unit);
    if (r.Width() != old.Width()) m.Width = PixelsToTenths(r.Width());
    if (r.Height() != old.Height()) m.Height = PixelsToTenths(r.Height());
    if (m == label.Size) return;
    emit AboutToChange();
    label.Size = m;
    label.KeepWithinFileBounds();
  } else {
    return;
  }
  surface_->update();
  emit Changed();
}

void TRepDesigner::DeleteSelection() {
  if (!surface_ || selection_.kind != DesignObject::Kind::Label || Dragging() || moving_) return;
  TReport* report = surface_->Report();
  TRepLabel* label = selection_.label;
  emit AboutToChange();
  ShowHandles(false);
  selection_ = DesignObject::None();
  report->DetailBand()->RemoveLabel(label);
  Select(DesignObject::Report());
  emit Changed();
}

void TRepDesigner::NudgeSelection(int dx, int dy, bool resize) {
  if (!surface_ || Dragging() || moving_) return;
  const double step = TenthsPerUnit(GridUnit::Millimetres);
  if (selection_.kind == DesignObject::Kind::Label) {
    TRepLabel::Measures& m = selection_.label->Size;
    emit AboutToChange();
    if (resize) {
      m.Width = std::max(step, m.Width + dx * step);
      m.Height = std::max(step, m.Height + dy * step);
    } else {
      m.Left += dx * step;
      m.Top += dy * step;
    }
    selection_.label->KeepWithinFileBounds();
  } else if (selection_.kind == DesignObject::Kind::Band && resize && dy != 0) {
    TRepBand& band = *surface_->Report()->DetailBand();
    emit AboutToChange();
    band.HeightTenths = std::clamp(band.HeightTenths + dy * step, step, kMaxMeasureTenths);
  } else {
    return;
  }
  surface_->update();
  PlaceHandles();
  ShowHandles(true);
  emit Changed();
}

void TRepDesigner::PlaceHandles() {
  if (!surface_) return;
  const auto origins = HandleOrigins(surface_->BoundsOf(selection_));
  for (int i = 0; i < kHandleCount; ++i) handles_[i]->move(origins[i]);
}

void TRepDesigner::ShowHandles(bool show) {
  const bool any =
      selection_.kind == DesignObject::Kind::Band || selection_.kind == DesignObject::Kind::Label;
  for (TControlHandle* h : handles_) {
    if (!h) continue;
    h->setVisible(show && any);
    if (show && any) h->raise();
  }
}

void TRepDesigner::SetFocus(std::optional<DragRect> rect) {
  focus_ = rect;
  if (surface_) surface_->update();
}

}  // namespace zorel
