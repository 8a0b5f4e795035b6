#include "report/print_loop.h"

#include <algorithm>

#include "data/data_module.h"
#include "data/field_table.h"
#include "data/record_details.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

constexpr std::int32_t kRecordsBetweenReleases = 25000;

}  // namespace

void ListPrintLoop::SetAllRecords() {
  first_ = 0;
  last_ = static_cast<std::int32_t>(list_.size()) - 1;
}

void ListPrintLoop::SetRange(std::int64_t from, std::int64_t to) {
  const auto count = static_cast<std::int64_t>(list_.size());
  first_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(from - 1, 0, count));
  last_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(to - 1, -1, count - 1));
}

void ListPrintLoop::Check() const {
  if (Mode != PrintMode::Single) return;
  if (list_.empty()) throw PrintRangeError("Список пуст: печатать нечего");
  if (!InList(CurrentIndex)) {
    throw PrintRangeError("В списке нет записи с номером " + std::to_string(CurrentIndex + 1) +
                          " (в списке " + std::to_string(list_.size()) + ")");
  }
}

int ListPrintLoop::ExpectedBands() const {
  if (Mode == PrintMode::Single) return InList(CurrentIndex) ? 1 : 0;
  return std::max(
      0, std::min<std::int32_t>(last_, static_cast<std::int32_t>(list_.size()) - 1) - first_ + 1);
}

void ListPrintLoop::Attach(TReport& report) {
  report.BeforePrint = [this](TReport&, bool& print) {
    print = Mode != PrintMode::Single || InList(CurrentIndex);
    printIndex_ =
        static_cast<std::int32_t>((Mode == PrintMode::Single ? CurrentIndex : first_) - 1);
  };
  report.OnNeedData = [this](TReport&, bool& more) {
    ++printIndex_;
    // A long run reads the whole base: its pages go back now and then, so that memory stays
    // bounded whatever the length of the list.
    if ((printIndex_ - first_) % kRecordsBetweenReleases == 0) dm_.ReleaseResidentRecords();
    const std::int64_t last = Mode == PrintMode::Single ? CurrentIndex : last_;
    more = printIndex_ <= last && InList(printIndex_);
  };
  report.SupplyLabelText = [this](const TRepLabel& label, QString& value) {
    SupplyLabelText(label, value);
  };
}

QString ListPrintLoop::FieldText(std::int32_t position, int field) const {
  if (!InList(position)) return {};
  return FromCp(PrintFieldText(dm_, list_[static_cast<std::size_t>(position)], field));
}

void ListPrintLoop::SupplyLabelText(const TRepLabel& label, QString& value) const {
  value = LabelText(label, printIndex_);
}

QString ListPrintLoop::LabelText(const TRepLabel& label, std::int32_t position) const {
  const int field = label.Name.isEmpty() ? -1 : label.Name.at(0).unicode() - 'a';
  if (field < 0 || field >= kPrintFieldCount || field == kPrintUserField) return label.Caption;
  return FieldText(position, field);
}

}  // namespace zorel
