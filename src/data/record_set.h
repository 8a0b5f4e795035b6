// RecordSet: one bit per record number of the base, for searches that find their records by
// column or posting list before they walk the caller's list. A million records take 125 KB.
#pragma once

#include <cstdint>
#include <vector>

namespace zorel {

class RecordSet {
 public:
  static constexpr std::int32_t kWordBits = 64;

  explicit RecordSet(std::int32_t records)
      : records_(records),
        words_((static_cast<std::size_t>(records) + kWordBits - 1) / kWordBits) {}

  std::int32_t Records() const { return records_; }
  // `record` must lie in 0 .. Records() - 1.
  bool Has(std::int32_t record) const {
    return (words_[static_cast<std::size_t>(record) / kWordBits] >> (record % kWordBits)) & 1u;
  }
  // A record outside the base is left out.
  void Add(std::int32_t record) {
    if (static_cast<std::uint32_t>(record) >= static_cast<std::uint32_t>(records_)) return;
    words_[static_cast<std::size_t>(record) / kWordBits] |= std::uint64_t{1}
                                                            << (record % kWordBits);
  }
  // Add(record) when `add` holds, without a branch on it: scans call it for entries whose
  // outcome the processor cannot guess.
  void AddIf(std::int32_t record, bool add) {
    const bool inside = static_cast<std::uint32_t>(record) < static_cast<std::uint32_t>(records_);
    const std::int32_t at = inside ? record : 0;
    words_[static_cast<std::size_t>(at) / kWordBits] |= static_cast<std::uint64_t>(add && inside)
                                                        << (at % kWordBits);
  }
  std::uint64_t* Words() { return words_.data(); }
  const std::uint64_t* Words() const { return words_.data(); }

 private:
  std::int32_t records_;
  std::vector<std::uint64_t> words_;
};

}  // namespace zorel
