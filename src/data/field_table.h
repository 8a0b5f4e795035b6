// The seventeen record fields by code, in one table: how each is stored, which dictionary
// decodes it, how the requisites search names and matches it. The matcher, the condition
// checks, the search dialog and the print fields all read this table, so a new search field is
// one row here. The eighteen print fields of the form editor are the record fields plus a user
// field; their texts are the detail panels' (PrintFieldText in record_details.h).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "data/record.h"

namespace zorel {

enum class FieldStorage : std::uint8_t {
  Variable,    // text between two offset words of the head
  FixedText,   // fixed-width text in the head
  Number,      // signed integer in the head
  Dictionary,  // signed integer in the head: 1-based position in a dictionary, 0 or less none
  Remark,      // the user's remark, kept in remark.dat under the record number
  Products,    // the product list; matched by the item names
};

enum class FieldDictionary : std::uint8_t { None, OrgForms, Countries, Regions };

// Text fields take the operators содержит, равно, пусто; numeric fields равно, >, <, >=, <=.
enum class FieldKind : std::uint8_t { Text, Number };

struct FieldInfo {
  FieldCode code;
  const char* searchName;  // UTF-8 name in the requisites search; null where it is not offered
  const char* printName;   // UTF-8 chooser text of the print form editor
  FieldStorage storage;
  VarField var = VarField::Name;  // Variable and Products
  int offset = 0;                 // FixedText, Number and Dictionary: where in the head
  int size = 0;                   // and how many bytes
  FieldDictionary dictionary = FieldDictionary::None;

  constexpr FieldKind kind() const {
    return storage == FieldStorage::Number ? FieldKind::Number : FieldKind::Text;
  }
};

// Indexed by field code.
inline constexpr std::array<FieldInfo, kFieldCount> kFields = {{
    {kFieldName, "Наименование предприятия", "Наименование предприятия", FieldStorage::Variable,
     VarField::Name},
    {kFieldOrgForm, "Форма собственности", "Форма собственности", FieldStorage::Dictionary,
     VarField::Name, kOffsetOrgForm, 1, FieldDictionary::OrgForms},
    {kFieldYear, "Год основания", "Год основания", FieldStorage::Number, VarField::Name,
     kOffsetYear, 2},
    {kFieldIndex, "Почтовый индекс", "Почтовый индекс", FieldStorage::FixedText, VarField::Name,
     kOffsetIndex, kIndexSize},
    {kFieldCountry, "Страна", "Страна", FieldStorage::Dictionary, VarField::Name, kOffsetCountry, 2,
     FieldDictionary::Countries},
    {kFieldRegion, "Регион", "Регион", FieldStorage::Dictionary, VarField::Name, kOffsetRegion, 2,
     FieldDictionary::Regions},
    {kFieldStaff, "Численность", "Численность", FieldStorage::Number, VarField::Name, kOffsetStaff,
     4},
    {kFieldCityCode, "Телефонный код города", "Телефонный код города", FieldStorage::FixedText,
     VarField::Name, kOffsetCityCode, kCityCodeSize},
    {kFieldAddress, "Адрес", "Адрес", FieldStorage::Variable, VarField::Address},
    {kFieldHead, "Руководитель", "Руководитель", FieldStorage::Variable, VarField::Head},
    {kFieldFax, "Факс", "Факс", FieldStorage::Variable, VarField::Fax},
    {kFieldPhones, "Телефон", "Все контактные телефоны", FieldStorage::Variable, VarField::Phones},
    {kFieldAdvert, "Реклама", "Реклама", FieldStorage::Variable, VarField::Advert},
    {kFieldRemark, "Примечание", "Примечания", FieldStorage::Remark},
    {kFieldEMail, "Электронный адрес", "Электронный адрес", FieldStorage::Variable,
     VarField::EMail},
    {kFieldUrl, "Адрес в интернет", "Адрес в интернет", FieldStorage::Variable, VarField::Url},
    {kFieldProducts, nullptr, "Наименование продукции", FieldStorage::Products, VarField::Products},
}};

constexpr bool IsFieldCode(int code) { return code >= 0 && code < kFieldCount; }
// The row of a valid field code.
constexpr const FieldInfo& FieldOf(int code) { return kFields[static_cast<std::size_t>(code)]; }

// Print fields: 0-16 are the record fields by code, 17 a line of the user's own text.
inline constexpr int kPrintFieldCount = 18;
inline constexpr int kPrintUserField = 17;
constexpr bool IsPrintField(int field) { return field >= 0 && field < kPrintFieldCount; }
// UTF-8 chooser text; empty out of range.
std::string_view PrintFieldCaption(int field);
// The letter that starts the name of every form element showing the field: 'a' + field.
char PrintFieldLetter(int field);

}  // namespace zorel
