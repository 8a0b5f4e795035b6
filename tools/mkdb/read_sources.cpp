// Reads a sources folder into the base model, file by file.
#include "mkdb/source_readers.h"

namespace zorel::mkdb {

ListFileHeader DefaultListHeader() {
  ListFileHeader h;
  h.lowerHeight = kDefaultLowerHeight;
  h.advertWidth = kDefaultAdvertWidth;
  h.windowWidth = kDefaultWindowWidth;
  h.windowHeight = kDefaultWindowHeight;
  return h;
}

Sources ReadSources(const std::string& dir, Diagnostics& diag) {
  Sources s;
  ReadSettings(dir, s.base, diag);
  Dictionaries dicts = ReadDictionaries(dir, diag);
  const ItemIds items = ReadItems(dir, s.base, diag);
  ReadClasses(dir, dicts.kinds, items, s.base, diag);
  const auto records = ReadEnterprises(dir, dicts, items, s.base, diag);
  s.base.orgForms = std::move(dicts.forms.entries);
  s.base.regions = std::move(dicts.regions.entries);
  s.base.countries = std::move(dicts.countries.entries);
  s.base.branches = std::move(dicts.branches.entries);
  s.base.kindLabels = std::move(dicts.kinds.entries);
  s.lists = ReadListSources(dir, records, diag);
  return s;
}

}  // namespace zorel::mkdb
