// The five-level product classification of the synthetic base, built from CatalogText:
// branches (level 1) and sub-branches (level 2) are capitalised headings, which the product
// scan skips; product groups (level 3), their variants (level 4) and details (level 5)
// are lower-case names. Every fifth two-word group also gets a hidden synonym (its words
// swapped, same code, count 0). Every entry has kind 1 and its own item.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dbwriter/db_writer.h"

namespace zorel::mkdb {

struct SubBranch {
  std::size_t branch = 0;                             // 0-based
  std::vector<std::pair<std::string, char>> phrases;  // enterprise name phrase and its gender
  std::vector<std::string> stems;                     // of compound names
  std::vector<std::string> groups;                    // level-3 names
  std::vector<std::uint32_t> products;                // 1-based items of levels 3 to 5
};

struct Catalog {
  std::vector<std::string> items;  // Windows-1251, in class order
  std::vector<ClassSource> classes;
  std::vector<std::string> branches;  // level-1 headings
  std::vector<SubBranch> subBranches;
};

const char* CatalogText();

Catalog BuildCatalog();

}  // namespace zorel::mkdb
