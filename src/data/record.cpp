#include "data/record.h"

#include "data/bytes.h"

namespace zorel {

RecordView RecordView::FromEntry(const std::uint8_t* entry) {
  if (entry == nullptr) return {};
  return RecordView(entry, LoadU16(entry + kOffsetLength));
}

std::uint16_t RecordView::Word(int offset) const {
  if (p_ == nullptr || static_cast<std::uint32_t>(offset) + 2 > len_) return 0;
  return LoadU16(p_ + offset);
}

std::int8_t RecordView::OrgForm() const {
  if (p_ == nullptr || kOffsetOrgForm + 1u > len_) return 0;
  return static_cast<std::int8_t>(p_[kOffsetOrgForm]);
}
std::int16_t RecordView::Year() const { return static_cast<std::int16_t>(Word(kOffsetYear)); }
std::int16_t RecordView::Region() const { return static_cast<std::int16_t>(Word(kOffsetRegion)); }
std::int16_t RecordView::Country() const {
  return static_cast<std::int16_t>(Word(kOffsetCountry));
}
std::int32_t RecordView::Staff() const {
  if (p_ == nullptr || kOffsetStaff + 4u > len_) return 0;
  return LoadI32(p_ + kOffsetStaff);
}

std::string_view RecordView::IndexRaw() const {
  if (p_ == nullptr || kOffsetIndex + kIndexSize > static_cast<int>(len_)) return {};
  return {reinterpret_cast<const char*>(p_ + kOffsetIndex), kIndexSize};
}

std::string_view RecordView::CityCodeRaw() const {
  if (p_ == nullptr || kOffsetCityCode + kCityCodeSize > static_cast<int>(len_)) return {};
  return {reinterpret_cast<const char*>(p_ + kOffsetCityCode), kCityCodeSize};
}

std::string_view RecordView::Field(VarField f) const {
  if (p_ == nullptr || len_ < kRecordHeadSize) return {};
  const int i = static_cast<int>(f);
  const std::uint32_t from = i == 0 ? kRecordHeadSize : Word(kOffsetW22 + 2 * (i - 1));
  const std::uint32_t to = Word(kOffsetW22 + 2 * i);
  if (from < kRecordHeadSize || from > to || to > len_) return {};
  return {reinterpret_cast<const char*>(p_ + from), to - from};
}

std::size_t RecordView::ProductCount() const {
  return Field(VarField::Products).size() / kProductEntrySize;
}

ProductEntry RecordView::Product(std::size_t i) const {
  const auto* e = AsBytes(Field(VarField::Products).data()) + i * kProductEntrySize;
  return ProductEntry{e[0], LoadU32(e + 1)};
}

}  // namespace zorel
