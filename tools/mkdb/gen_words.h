// Words for the synthetic base (UTF-8): people's names, ownership forms, brand names, the
// frames of enterprise names and the sentences of advertising texts.
#pragma once

#include <vector>

namespace zorel::mkdb {

struct MaleName {
  const char* name;
  const char* patronymicStem;  // + "ич" for a son, + "на" for a daughter
};

// Surnames in the male form; the female form follows from the ending (-ов/-ев/-ин + "а",
// -ий to -ая, others unchanged).
const std::vector<const char*>& SurnameTable();
const std::vector<MaleName>& MaleNameTable();
const std::vector<const char*>& FemaleNameTable();

// The ownership forms in dictionary order.
const std::vector<const char*>& OrgFormTable();

const std::vector<const char*>& BrandTable();
const std::vector<const char*>& BrandHeadTable();  // "Техно" + "лит"
const std::vector<const char*>& BrandTailTable();
// Frames around a brand for trading and small enterprises: "Торговый дом «%»".
const std::vector<const char*>& TradeFrameTable();

const std::vector<const char*>& MailboxTable();  // "info", "office", ...

// Advertising: an opening that takes a list of products, and closing sentences.
const std::vector<const char*>& AdvertOpeningTable();  // "%" stands for the products
const std::vector<const char*>& AdvertSentenceTable();

}  // namespace zorel::mkdb
