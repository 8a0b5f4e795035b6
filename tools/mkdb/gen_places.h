// Places for the synthetic base (UTF-8): countries, regions, cities with their postal
// indexes and telephone codes, streets. Country and region numbers are 1-based positions in
// the lists, as the base stores them (0 = none).
#pragma once

#include <vector>

namespace zorel::mkdb {

struct CountryInfo {
  const char* name;
  const char* domain;    // top-level domain of its web addresses
  const char* compound;  // first part of compound enterprise names ("Бел" + "станкомаш")
};

struct CityInfo {
  const char* name;
  const char* adjectiveStem;  // + "ий", "ая", "ое"
  const char* compound;       // first part of compound names, or null for the country's
  int country;
  int region;
  const char* indexPrefix;
  int indexDigits;
  int indexBase;
  int indexSpan;
  const char* phoneCode;
  int phoneDigits;  // 5, 6 or 7
  int weight;
};

const std::vector<CountryInfo>& CountryTable();
const std::vector<const char*>& RegionTable();
const std::vector<CityInfo>& CityTable();
const std::vector<const char*>& StreetTable();  // with its kind: "ул. Ленина"

}  // namespace zorel::mkdb
