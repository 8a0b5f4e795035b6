// RecordReadahead: lets a scan over a record list ask the processor to start loading the
// records it will read a few steps later, so a pass over a large base keeps many memory reads
// in flight instead of waiting for each record in turn. Only a hint: it reads nothing that
// affects a result, and records outside the index are skipped. The index and the list must
// outlive the object. Inline, since it runs once per record of every scan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/idx_object.h"
#include "data/record.h"
#include "data/record_list.h"

namespace zorel {

class RecordReadahead {
 public:
  // `fields`: the variable fields the scan reads besides the record's head and name.
  RecordReadahead(const TIdxObject& index, const RecordList& list, std::vector<VarField> fields)
      : index_(index), list_(list), fields_(std::move(fields)) {}

  // Call before reading list[i].
  void Before(std::size_t i) const {
    if (const std::uint8_t* head = Entry(i + kHeadDistance)) {
      // Every line of the record's first 128 bytes: the head and most names.
      __builtin_prefetch(head);
      __builtin_prefetch(head + kLine);
      __builtin_prefetch(head + 2 * kLine - 1);
    }
    if (fields_.empty() || i + kFieldDistance >= list_.size()) return;
    const RecordView view = RecordView::FromEntry(index_.Get(list_[i + kFieldDistance]));
    for (const VarField f : fields_) {
      const auto bytes = view.Field(f);
      if (bytes.empty()) continue;
      __builtin_prefetch(bytes.data());
      __builtin_prefetch(bytes.data() + bytes.size() - 1);
    }
  }

 private:
  // How many records ahead the head is requested, and how many ahead the fields are (by then
  // the head, which locates them, has arrived).
  static constexpr std::size_t kHeadDistance = 16;
  static constexpr std::size_t kFieldDistance = 8;
  static constexpr std::size_t kLine = 64;

  const std::uint8_t* Entry(std::size_t i) const {
    if (i >= list_.size()) return nullptr;
    const std::int32_t record = list_[i];
    const auto offsets = index_.Offsets();
    if (record < 0 || static_cast<std::size_t>(record) >= offsets.size()) return nullptr;
    const std::int32_t offset = offsets[static_cast<std::size_t>(record)];
    if (offset < 0 || static_cast<std::size_t>(offset) >= index_.Data().size()) return nullptr;
    return index_.Data().data() + offset;
  }

  const TIdxObject& index_;
  const RecordList& list_;
  std::vector<VarField> fields_;
};

}  // namespace zorel
