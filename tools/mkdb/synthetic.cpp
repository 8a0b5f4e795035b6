// The side files of the synthetic base and the enterprise stream.
#include "mkdb/synthetic.h"

#include "mkdb/day_number.h"
#include "mkdb/gen_text.h"

namespace zorel::mkdb {

SyntheticBase::SyntheticBase(std::int64_t count, std::uint64_t seed)
    : count_(count), catalog_(BuildCatalog()), maker_(catalog_, words_, seed) {
  side_.baseDay = static_cast<std::int32_t>(DayNumber(2003, 5, 15));
  side_.kindSeparator = '-';
  side_.edition = "2003";
  side_.kindLabels = {Cp("пр-во"), Cp("опт  "), Cp("торг ")};
  side_.regions = words_.regions;
  side_.orgForms = words_.forms;
  side_.countries = words_.countries;
  side_.branches = catalog_.branches;
  side_.items = catalog_.items;
  side_.classes = catalog_.classes;
  const std::string capital = Cp("Минск");
  while (words_.cities[capital_].name != capital) ++capital_;

  ListSource city;
  city.name = "Предприятия Минска";
  city.header = DefaultListHeader();
  ListSource branch;
  branch.name = "Машиностроение";
  branch.header = DefaultListHeader();
  branch.header.advertShown = false;
  branch.header.lowerHeight = 240;
  branch.header.windowWidth = 760;
  branch.header.windowHeight = 520;
  lists_ = {std::move(city), std::move(branch)};
}

bool SyntheticBase::Next(EnterpriseSource& e) {
  if (produced_ >= count_) return false;
  Drawn drawn;
  maker_.Make(e, drawn);
  if (drawn.city == capital_) lists_[0].records.push_back(produced_);
  if (catalog_.subBranches[drawn.subBranch].branch == 0) lists_[1].records.push_back(produced_);
  ++produced_;
  return true;
}

}  // namespace zorel::mkdb
