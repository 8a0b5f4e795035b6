// Converting the UTF-8 tables of the generator.
#include "mkdb/vocabulary.h"

#include "mkdb/gen_text.h"
#include "mkdb/gen_words.h"

namespace zorel::mkdb {
namespace {

std::vector<Frame> Frames(const std::vector<const char*>& utf8) {
  std::vector<Frame> out;
  for (const char* s : utf8) {
    const std::string text = Cp(s);
    const std::size_t hole = text.find('%');
    out.push_back({text.substr(0, hole), text.substr(hole + 1)});
  }
  return out;
}

// The female form of a surname: -ов/-ев/-ин/-ын + "а", -ий to -ая, others unchanged.
std::string FemaleSurname(const std::string& male) {
  const std::string tail = male.size() >= 2 ? male.substr(male.size() - 2) : male;
  if (tail == Cp("ов") || tail == Cp("ев") || tail == Cp("ин") || tail == Cp("ын")) {
    return male + Cp("а");
  }
  if (tail == Cp("ий")) return male.substr(0, male.size() - 2) + Cp("ая");
  return male;
}

}  // namespace

Vocabulary::Vocabulary() {
  for (const auto& c : CountryTable()) {
    countries.push_back(Cp(c.name));
    countryDomains.push_back(c.domain);
  }
  regions = Cp(RegionTable());
  forms = Cp(OrgFormTable());
  streets = Cp(StreetTable());
  std::vector<int> weights;
  for (const auto& c : CityTable()) {
    const char* compound = c.compound ? c.compound : CountryTable()[c.country - 1].compound;
    cities.push_back({&c, Cp(c.name), Cp(c.adjectiveStem), Cp(compound)});
    weights.push_back(c.weight);
  }
  cityWeights = WeightedTable(weights);
  maleSurnames = Cp(SurnameTable());
  for (const auto& s : maleSurnames) femaleSurnames.push_back(FemaleSurname(s));
  for (const auto& n : MaleNameTable()) {
    maleNames.push_back(Cp(n.name));
    patronymicStems.push_back(Cp(n.patronymicStem));
  }
  femaleNames = Cp(FemaleNameTable());
  brands = Cp(BrandTable());
  brandHeads = Cp(BrandHeadTable());
  brandTails = Cp(BrandTailTable());
  mailboxes = Cp(MailboxTable());
  tradeFrames = Frames(TradeFrameTable());
  advertOpenings = Frames(AdvertOpeningTable());
  advertSentences = Cp(AdvertSentenceTable());
}

}  // namespace zorel::mkdb
