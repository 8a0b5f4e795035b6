// What a search command does once its dialog has closed with a search result: filter a copy
// of the source list through the data module and caption the new list window. QtCore only,
// so the main window's three commands share it and tests can run it without widgets.
#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "data/conditions.h"
#include "data/product_key.h"
#include "data/record_list.h"

namespace zorel {

class Tdm;

enum class SearchKind { Requisites, Products, Branches };

// A dialog's output: the condition table for the requisites search, the product keys (in
// order) for the product and branch searches.
struct SearchRequest {
  SearchKind kind = SearchKind::Requisites;
  ConditionTable conditions;
  std::vector<ProductKey> keys;
};

// The records of source that pass the request, in source order; source itself is untouched.
// Throws what the data module throws (BadInput for a bad table).
RecordList RunSearch(Tdm& dm, const RecordList& source, const SearchRequest& request);

// "Поиск (", "Поиск по продукции (" or "Поиск по рубрикатору (", then the date and time as
// dd.MM.yyyy HH:mm:ss, then ")".
QString SearchCaption(SearchKind kind, const QDateTime& when);

}  // namespace zorel
