// Display texts of a record's fields, as the detail panels, the exports and the print forms
// show them (Windows-1251). Every reader that turns a field into text goes through FieldText.
#pragma once

#include <cstdint>
#include <string>

#include "data/record.h"

namespace zorel {

class Tdm;

// Every field of a record as the detail panels show it.
struct RecordDetails {
  std::int32_t record = 0;
  std::string name, orgform, year, staff, index, location, address, head, code, fax, phones, email,
      url, advert, products, remark;
  bool hasAdvert = false;
};

RecordDetails GetDetails(const Tdm& dm, std::int32_t record);

// The text of one field of a record read through `view` (the products numbered, one a line;
// the remark as stored): variable and fixed texts cut at a zero byte, dictionary entries by
// their 1-based position, the year empty when 0, the staff number also when 0.
std::string FieldText(const Tdm& dm, const RecordView& view, std::int32_t record, int code);

// The trimmed kind label, a blank, the separator, a blank and the item name (0-based).
std::string ProductText(const Tdm& dm, int kind, std::int64_t item);
// The numbered product text of the detail panel: "1. text" lines ended by CR LF.
std::string ProductsText(const Tdm& dm, const RecordView& view);
// The entries' texts joined by "; ", the last followed by "."; empty without products.
std::string JoinedProductsText(const Tdm& dm, const RecordView& view);
// The country, ", " when it is not empty, and the region.
std::string LocationText(const Tdm& dm, const RecordView& view);

// Windows-1251 text of a print field (field_table.h) for that record: the detail panels' text of
// the field, the products joined as "entry; entry." and the user field's fixed "Строка
// пользователя". Empty for a record or a field out of range.
std::string PrintFieldText(const Tdm& dm, std::int32_t record, int field);
// The same over a record already fetched (view of that record; valid as GetRecordView says).
std::string PrintFieldText(const Tdm& dm, const RecordView& view, std::int32_t record, int field);

}  // namespace zorel
