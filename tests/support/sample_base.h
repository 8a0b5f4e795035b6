// A small, fully known base for tests: a few enterprises whose every field is set on purpose,
// a short item list, a five-level classification fragment and three kind labels. Texts are
// given in UTF-8 here and stored in Windows-1251.
#pragma once

#include <string>
#include <vector>

#include "data/data_module.h"
#include "dbwriter/db_writer.h"

namespace zorel::test_support {

// UTF-8 to Windows-1251 for test literals; throws on characters without a code page form.
std::string W(const std::string& utf8);

BaseSource SampleBase();

// A record's display texts in UTF-8, in the detail panels' order (name, form, year, staff,
// index, location, address, head, code, fax, phones, e-mail, web address, advert, products,
// remark), joined by "|": one comparison for a whole record.
std::string DetailsText(const Tdm& dm, std::int32_t record);

// The sample base with one enterprise, "Firm <i>", for each e-mail address.
BaseSource BaseWithAddresses(const std::vector<std::string>& addresses);

}  // namespace zorel::test_support
