// RecordList: the ordered record numbers shown by one list window, held as 32-bit integers
// (4 bytes a record). Their text form, one decimal number per line with CR LF, is produced
// on demand.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorel {

using RecordList = std::vector<std::int32_t>;

// "0", "1", ... up to count - 1.
RecordList WholeBaseList(std::int32_t count);
// One decimal number per line, each line ended by CR LF.
std::string RecordListText(const RecordList& list);
// Parses the text form (CR LF or LF); lines that are not a whole decimal number are skipped.
RecordList ParseRecordListText(std::string_view text);
// Inserts r before the first entry >= r unless that entry equals r; appends it when there is
// none. Keeps an ascending list ascending and free of duplicates.
void InsertRecord(RecordList& list, std::int32_t r);

}  // namespace zorel
