// RecordView: bounds-checked reads of one enterprise record of factory.dat. A record is a
// 70-byte head followed by nine variable fields delimited by the offset words w22..w38. Every
// read stays inside the record's own length; a field whose bounding offsets are out of order
// or past the record reads as empty, and head fields past a short record read as 0.
// The view does not own the bytes: they come from TIdxObject::Get.
#pragma once

#include <cstdint>
#include <string_view>

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
  static RecordView FromEntry(const std::uint8_t* entry);

  bool valid() const { return p_ != nullptr; }
  const std::uint8_t* bytes() const { return p_; }
  std::uint32_t length() const { return len_; }

  std::int8_t OrgForm() const;
  std::int16_t Year() const;
  std::int16_t Region() const;
  std::int32_t Staff() const;
  std::int16_t Country() const;
  std::string_view IndexRaw() const;     // the 6 bytes of the postal index
  std::string_view CityCodeRaw() const;  // the 7 bytes of the city telephone code

  // The field's bytes between its offset words; empty when its bounds are broken.
  std::string_view Field(VarField f) const;

  // Number of whole 5-byte product entries, and the i-th of them (i below the count).
  std::size_t ProductCount() const;
  ProductEntry Product(std::size_t i) const;

 private:
  std::uint16_t Word(int offset) const;
  const std::uint8_t* p_ = nullptr;
  std::uint32_t len_ = 0;
};

}  // namespace zorel
