// The searches answered from the search file: each condition a column can answer is run over
// that column for the whole base at once (split among the cores), products through the posting
// lists, and only then is the caller's list walked, in its own order, reading records just for
// the conditions no column answers. Worth it when the list is a good part of the base.
#pragma once

#include <vector>

#include "data/condition_check.h"
#include "data/key_lookup.h"
#include "data/record_list.h"
#include "data/search_columns.h"

namespace zorel {

bool WorthColumns(const SearchColumns& columns, const RecordList& list);

// Keeps the records of the list that satisfy every check, as MatchConditions does.
void KeepByColumns(const Tdm& dm, const SearchColumns& columns, RecordList& list,
                   std::vector<ConditionCheck>& checks);
// Keeps the records of the list that reference a key, as MatchProducts does.
void KeepByPostings(const SearchColumns& columns, RecordList& list, const KeyLookup& lookup);

}  // namespace zorel
