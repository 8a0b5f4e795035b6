// The word and place tables of the synthetic base converted once to Windows-1251, with the
// weights by which cities are drawn.
#pragma once

#include <string>
#include <vector>

#include "mkdb/gen_places.h"
#include "mkdb/rng.h"

namespace zorel::mkdb {

struct City {
  const CityInfo* info;
  std::string name, adjectiveStem, compound;
};

// A text with one hole: prefix, the filled-in part, suffix.
struct Frame {
  std::string prefix, suffix;
};

struct Vocabulary {
  Vocabulary();

  std::vector<std::string> countries, regions, forms, streets;
  std::vector<std::string> countryDomains;
  std::vector<City> cities;
  WeightedTable cityWeights;
  std::vector<std::string> maleSurnames, femaleSurnames;  // same order
  std::vector<std::string> maleNames, patronymicStems, femaleNames;
  std::vector<std::string> brands, brandHeads, brandTails, mailboxes;
  std::vector<Frame> tradeFrames, advertOpenings;
  std::vector<std::string> advertSentences;
};

}  // namespace zorel::mkdb
