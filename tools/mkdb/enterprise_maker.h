// Draws one believable enterprise after another: its industry (a sub-branch of the catalog)
// decides the name and the products, its city the postal index, region, country, telephone
// code and address. Strings of the record are reused from call to call, so a long run does
// little allocation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dbwriter/db_writer.h"
#include "mkdb/catalog.h"
#include "mkdb/rng.h"
#include "mkdb/vocabulary.h"

namespace zorel::mkdb {

// What was drawn for the record besides its fields (for the sample lists).
struct Drawn {
  std::size_t city = 0;       // position in CityTable
  std::size_t subBranch = 0;  // position in Catalog::subBranches
};

class EnterpriseMaker {
 public:
  EnterpriseMaker(const Catalog& catalog, const Vocabulary& words, std::uint64_t seed);
  void Make(EnterpriseSource& e, Drawn& drawn);

 private:
  enum Pattern { kCityIndustry, kIndustryBrand, kCompound, kTrade };

  void Name(EnterpriseSource& e, Pattern p, const SubBranch& sub, const City& city);
  // A brand from the table, or (for trading firms) also a made-up one like "Техноснаб".
  void Brand(std::string& out, bool madeUp);
  void Person(std::string& out);
  void Phone(std::string& out, int digits);
  void Address(std::string& out, const City& city, Pattern p);
  void Mail(EnterpriseSource& e, Pattern p, const City& city);
  void Advert(std::string& out, const SubBranch& sub, const EnterpriseSource& e);
  void Products(EnterpriseSource& e, const SubBranch& sub, Pattern p);
  int Staff(Pattern p);
  std::int16_t Year(Pattern p);

  const Catalog& catalog_;
  const Vocabulary& w_;
  Rng rng_;
  WeightedTable patterns_;
  std::vector<WeightedTable> formWeights_;
  std::vector<std::vector<int>> formValues_;
  std::string brand_;  // the brand of the current name, empty when it has none
  std::string latin_;
  std::vector<std::uint32_t> picked_;
  // Windows-1251 pieces used on every record.
  std::string cityPrefix_, office_, block_, phoneIntro_, and_;
};

}  // namespace zorel::mkdb
