#include "report/report.h"

#include <algorithm>
#include <cmath>

namespace zorel {
namespace {

constexpr double kPixelsPerTenth = 96.0 / 254.0;

}  // namespace

int TenthsToPixels(double tenths) {
  return static_cast<int>(std::nearbyint(tenths * kPixelsPerTenth));
}

double PixelsToTenths(int pixels) { return pixels / kPixelsPerTenth; }

TRepLabel::TRepLabel(QString name) : Name(std::move(name)) {}

void TRepLabel::SetBounds(int left, int top, int width, int height) {
  Size.Left = PixelsToTenths(left);
  Size.Top = PixelsToTenths(top);
  Size.Width = PixelsToTenths(width);
  Size.Height = PixelsToTenths(height);
}

void TRepLabel::KeepWithinFileBounds() {
  Size.Left = std::clamp(Size.Left, -kMaxMeasureTenths, kMaxMeasureTenths);
  Size.Top = std::clamp(Size.Top, -kMaxMeasureTenths, kMaxMeasureTenths);
  Size.Width = std::clamp(Size.Width, 0.0, kMaxMeasureTenths);
  Size.Height = std::clamp(Size.Height, 0.0, kMaxMeasureTenths);
}

TReport* TRepLabel::Report() const { return parent_ ? parent_->Parent() : nullptr; }

TRepPrnLabel::TRepPrnLabel(QString name) : TRepLabel(std::move(name)) {
  OnPrint = [](const TRepLabel& label, QString& value) {
    const TReport* report = label.Report();
    if (report && report->SupplyLabelText) report->SupplyLabelText(label, value);
  };
}

TRepLabel& TRepBand::AddLabel(std::unique_ptr<TRepLabel> label) {
  label->parent_ = this;
  labels_.push_back(std::move(label));
  return *labels_.back();
}

bool TRepBand::RemoveLabel(const TRepLabel* label) {
  const auto it = std::find_if(labels_.begin(), labels_.end(),
                               [label](const auto& own) { return own.get() == label; });
  if (it == labels_.end()) return false;
  labels_.erase(it);
  return true;
}

TRepBand& TReport::CreateBand(QString name) {
  band_ = std::make_unique<TRepBand>(std::move(name));
  band_->parent_ = this;
  return *band_;
}

bool TReport::HasComponentNamed(const QString& name) const {
  if (!band_) return false;
  if (band_->Name.compare(name, Qt::CaseInsensitive) == 0) return true;
  return std::any_of(band_->Labels().begin(), band_->Labels().end(), [&name](const auto& l) {
    return l->Name.compare(name, Qt::CaseInsensitive) == 0;
  });
}

QString TReport::UniqueElementName(QChar letter) const {
  for (int n = 1;; ++n) {
    const QString name = QString(letter) + QString::number(n);
    if (!HasComponentNamed(name)) return name;
  }
}

}  // namespace zorel
