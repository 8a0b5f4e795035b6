// RecordView: bounds-checked reads of one enterprise record of factory.dat. A record is a
// 70-byte head followed by nine variable fields delimited by the offset words w22..w38. Every
// read stays inside the record's own length; a field whose bounding offsets are out of order
// or past the record reads as empty, and head fields past a short record read as 0.
// The view does not own the bytes: they come from TIdxObject::Get. Everything is inline: the
// searches read fields of every record of the base.
#pragma once

#include <cstdint>
#include <string_view>

#include "data/bytes.h"

namespace zorel {

// The field codes by which searches name fields.
enum FieldCode : int {
  kFieldName = 0,
  kFieldOrgForm = 1,
  kFieldYear = 2,
  kFieldIndex = 3,
  kFieldCountry = 4,
  kFieldRegion = 5,
  kFieldStaff = 6,
  kFieldCityCode = 7,
  kFieldAddress = 8,
  kFieldHead = 9,
  kFieldFax = 10,
  kFieldPhones = 11,
  kFieldAdvert = 12,
  kFieldRemark = 13,
  kFieldEMail = 14,
  kFieldUrl = 15,
  kFieldProducts = 16,
};
inline constexpr int kFieldCount = 17;

// The nine variable fields in record order.
enum class VarField : int { Name, Address, Head, Fax, Phones, Advert, EMail, Url, Products };
inline constexpr int kVarFieldCount = 9;

// The first bytes of factory.dat.
inline constexpr const char* kFactoryMagic = "SDF63";

// Head layout.
inline constexpr int kRecordHeadSize = 70;
inline constexpr int kOffsetLength = 20;
inline constexpr int kOffsetW22 = 22;
inline constexpr int kOffsetOrgForm = 40;
inline constexpr int kOffsetYear = 41;
inline constexpr int kOffsetRegion = 43;
inline constexpr int kOffsetStaff = 45;
inline constexpr int kOffsetIndex = 49;
inline constexpr int kIndexSize = 6;
inline constexpr int kOffsetCityCode = 55;
inline constexpr int kCityCodeSize = 7;
inline constexpr int kOffsetReserved = 62;
inline constexpr int kReservedSize = 6;
inline constexpr int kOffsetCountry = 68;
inline constexpr int kProductEntrySize = 5;

struct ProductEntry {
  std::uint8_t kind;   // 1-based KindLabels position
  std::uint32_t item;  // 1-based item.dat position
};

class RecordView {
 public:
  RecordView() = default;
  // `bytes` points at the record's first byte; `length` is how many bytes of it may be read
  // (the record's length word, already checked to lie inside the file).
  RecordView(const std::uint8_t* bytes, std::uint32_t length) : p_(bytes), len_(length) {}
  // Over a record served by TIdxObject::Get (null gives an invalid view).
  static RecordView FromEntry(const std::uint8_t* entry) {
    if (entry == nullptr) return {};
    return RecordView(entry, LoadU16(entry + kOffsetLength));
  }

  bool valid() const { return p_ != nullptr; }
  const std::uint8_t* bytes() const { return p_; }
  std::uint32_t length() const { return len_; }

  // The signed 1-, 2- or 4-byte number at that offset of the head.
  std::int32_t HeadNumber(int offset, int size) const {
    if (p_ == nullptr || static_cast<std::uint32_t>(offset + size) > len_) return 0;
    if (size == 1) return static_cast<std::int8_t>(p_[offset]);
    return size == 2 ? LoadI16(p_ + offset) : LoadI32(p_ + offset);
  }
  // The `size` bytes of fixed-width text at that offset of the head.
  std::string_view HeadText(int offset, int size) const {
    if (p_ == nullptr || static_cast<std::uint32_t>(offset + size) > len_) return {};
    return {reinterpret_cast<const char*>(p_ + offset), static_cast<std::size_t>(size)};
  }

  std::int8_t OrgForm() const { return static_cast<std::int8_t>(HeadNumber(kOffsetOrgForm, 1)); }
  std::int16_t Year() const { return static_cast<std::int16_t>(HeadNumber(kOffsetYear, 2)); }
  std::int16_t Region() const { return static_cast<std::int16_t>(HeadNumber(kOffsetRegion, 2)); }
  std::int16_t Country() const { return static_cast<std::int16_t>(HeadNumber(kOffsetCountry, 2)); }
  std::int32_t Staff() const { return HeadNumber(kOffsetStaff, 4); }
  // The 6 bytes of the postal index and the 7 of the city telephone code.
  std::string_view IndexRaw() const { return HeadText(kOffsetIndex, kIndexSize); }
  std::string_view CityCodeRaw() const { return HeadText(kOffsetCityCode, kCityCodeSize); }

  // The field's bytes between its offset words; empty when its bounds are broken. Inline:
  // searches call it once per record and condition.
  std::string_view Field(VarField f) const {
    if (p_ == nullptr || len_ < kRecordHeadSize) return {};
    const int i = static_cast<int>(f);
    const std::uint32_t from = i == 0 ? kRecordHeadSize : Word(kOffsetW22 + 2 * (i - 1));
    const std::uint32_t to = Word(kOffsetW22 + 2 * i);
    if (from < kRecordHeadSize || from > to || to > len_) return {};
    return {reinterpret_cast<const char*>(p_ + from), to - from};
  }

  // Number of whole 5-byte product entries, and the i-th of them (i below the count).
  std::size_t ProductCount() const { return Field(VarField::Products).size() / kProductEntrySize; }
  ProductEntry Product(std::size_t i) const {
    const auto* e = AsBytes(Field(VarField::Products).data()) + i * kProductEntrySize;
    return ProductEntry{e[0], LoadU32(e + 1)};
  }

 private:
  std::uint16_t Word(int offset) const {
    if (p_ == nullptr || static_cast<std::uint32_t>(offset) + 2 > len_) return 0;
    return LoadU16(p_ + offset);
  }
  const std::uint8_t* p_ = nullptr;
  std::uint32_t len_ = 0;
};

}  // namespace zorel
