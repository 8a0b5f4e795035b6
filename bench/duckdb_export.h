// The enterprises as the DuckDB peer loads them: CSV files in a folder beside the base, with
// the texts as hex of their UTF-8 bytes so that no name can break a line or a field, and a
// stamp of the base they came from, so that a regenerated base is exported anew.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace zorel {
class Tdm;
}

namespace zorel::bench {

// Writes dir/firm.csv (rec, staff, lower-cased name), dir/product.csv (rec, kind, item) and
// dir/item.csv (id, lower-cased name) unless dir/stamp already names this base; the stamp is
// written last, each file through a new temporary renamed over it. Tells `progress` when it
// writes them.
void ExportForDuckDb(const Tdm& dm, const std::string& dir, std::ostream& progress);

// A Windows-1251 text as the files and the DuckDB script carry it: hex of its UTF-8 bytes.
std::string HexUtf8(std::string_view cp1251);

}  // namespace zorel::bench
