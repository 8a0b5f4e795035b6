// Fuzz target: the searches on a database cut from the input (as the database target does)
// with a condition table, product keys, a record list (numbers outside the base included) and
// product-name fragments from the input. A table the parser refuses must leave the list as it
// was; otherwise every search must keep exactly the records the plain forms of the rules keep,
// with the search file the opening built and again with that file damaged.
#include <memory>

#include "data/bytes.h"
#include "data/conditions.h"
#include "data/data_module.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/item_scan.h"
#include "data/matcher.h"
#include "data/search_columns.h"
#include "fuzz_base.h"
#include "fuzz_check.h"
#include "reference_matcher.h"

namespace zorel::fuzz {
namespace {

struct Searches {
  ConditionTable table;
  std::vector<std::string> keys;
  RecordList list;
  bool wholeBase = false;
  std::vector<std::string> fragments;

  static Searches Read(InputReader& in) {
    Searches s;
    s.table.resize(in.Byte() % 6);
    for (ConditionRow& row : s.table) {
      for (std::string& cell : row) cell = in.Piece();
    }
    s.keys.resize(in.Byte() % 48);  // more kinds than the lookup has bits for
    for (std::string& key : s.keys) key = in.Piece();
    const std::string numbers = in.Piece();
    for (std::size_t pos = 0; pos + 4 <= numbers.size(); pos += 4) {
      s.list.push_back(LoadI32(AsBytes(numbers.data() + pos)));
    }
    s.wholeBase = s.list.empty();
    s.fragments.resize(in.Byte() % 4);
    for (std::string& f : s.fragments) f = in.Piece();
    return s;
  }
};

void CheckConditions(Tdm& dm, const RecordList& list, const ConditionTable& table) {
  std::vector<Condition> conditions;
  bool refused = false;
  try {
    conditions = ParseConditions(table);
  } catch (const BadInput&) {
    refused = true;
  }
  RecordList result = list;
  try {
    MatchConditions(dm, result, table);
    FUZZ_CHECK(!refused);
  } catch (const BadInput&) {
    FUZZ_CHECK(refused);
    FUZZ_CHECK(result == list);
    return;
  }
  FUZZ_CHECK(result == ReferenceMatchConditions(dm, list, conditions));
}

void CheckProducts(Tdm& dm, const RecordList& list, const std::vector<std::string>& texts) {
  std::vector<ProductKey> keys;
  for (const std::string& text : texts) {
    try {
      const ProductKey key = ParseProductKey(text);
      keys.push_back(key);
    } catch (const BadInput&) {
      // Keys the dialogs could not have made are refused one by one.
    }
  }
  RecordList result = list;
  MatchProducts(dm, result, keys);
  FUZZ_CHECK(result == ReferenceMatchProducts(dm, list, keys));
}

void CheckItemScan(Tdm& dm, const std::vector<std::string>& fragments) {
  const ItemScanResult got = ScanItemNames(dm, fragments);
  const ItemScanResult expected = ReferenceScanItemNames(dm, fragments);
  FUZZ_CHECK(got.items == expected.items);
  FUZZ_CHECK(got.limitReached == expected.limitReached);
}

// Overwrites bytes after the header of the search file the data module built, from the place the
// damage's first two bytes name, XORing in the rest; false when there is nothing to damage.
bool DamageSearchFile(const std::string& damage) {
  const std::string path = DatabaseFolder() + "/factory.search";
  auto bytes = ReadWholeFile(path);
  if (!bytes || bytes->size() <= kSearchHeaderSize || damage.size() < 3) return false;
  const std::size_t body = bytes->size() - kSearchHeaderSize;
  std::size_t at = LoadU16(AsBytes(damage.data())) % body;
  for (std::size_t i = 2; i < damage.size(); ++i, at = (at + 1) % body) {
    (*bytes)[kSearchHeaderSize + at] ^= damage[i];
  }
  PutFile(path, *bytes);
  return true;
}

}  // namespace
}  // namespace zorel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorel;
  using namespace zorel::fuzz;
  InputReader in(data, size);
  const DatabaseFiles files = DatabaseFiles::Read(in);
  Searches searches = Searches::Read(in);
  const InputFolder folder(DatabaseFolder());
  const std::unique_ptr<Tdm> dm = PlaceAndOpen(files);
  if (!dm) return 0;
  if (searches.wholeBase) dm->FillAllRecords(searches.list);
  CheckConditions(*dm, searches.list, searches.table);
  CheckProducts(*dm, searches.list, searches.keys);
  CheckItemScan(*dm, searches.fragments);
  if (DamageSearchFile(in.Piece())) {
    // Damage under an intact header (another program's writing, say) means a rebuild, so the
    // answers stay the plain rules' answers.
    Tdm again(DatabaseFolder());
    CheckConditions(again, searches.list, searches.table);
    CheckProducts(again, searches.list, searches.keys);
  }
  return 0;
}
