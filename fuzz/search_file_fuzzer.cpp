// Fuzz target: the search file reader. The input's piece stands as factory.search beside a sound
// base (the sample base with more records); its first byte says which guards to forge on it, as
// someone who knows the format would: the data files' stamps, the index hashes and counts, the
// checksum. Whatever the bytes, opening never fails, and every search over the whole base keeps
// what the plain forms of the rules keep, unless the checksum was forged: then only the
// structure stands between the bytes and the searches, which must stay inside the file and the
// list, and end.
#include <memory>

#include "data/bytes.h"
#include "data/checksum.h"
#include "data/conditions.h"
#include "data/data_module.h"
#include "data/file_util.h"
#include "data/matcher.h"
#include "data/search_columns.h"
#include "data/source_stamp.h"
#include "fuzz_base.h"
#include "fuzz_check.h"
#include "reference_matcher.h"

namespace zorel::fuzz {
namespace {

enum Forge : std::uint8_t { kStamps = 1, kIndexes = 2, kChecksum = 4 };

// The base, placed once; each input only replaces the search file beside it.
const SearchStamp& SoundBase() {
  static const SearchStamp stamp = [] {
    DatabaseFiles::FromBase(SearchFileBase(), 0).Place(DatabaseFolder());
    const Tdm dm(DatabaseFolder());
    FUZZ_CHECK(dm.Columns() != nullptr);
    return dm.Columns()->Stamp();
  }();
  return stamp;
}

void Forged(std::string& bytes, std::uint8_t forge) {
  if (bytes.size() < kSearchHeaderSize) return;
  auto* p = reinterpret_cast<std::uint8_t*>(bytes.data());
  const SearchStamp& sound = SoundBase();
  if (forge & kStamps) {
    const auto now =
        SourceStamp::Take(DatabaseFolder() + "/factory.dat", DatabaseFolder() + "/item.dat");
    FUZZ_CHECK(now.has_value());
    const SearchStamp stamp{*now, 0, 0, 0, 0};
    const std::string header = SearchColumns::Header(stamp, 0, 0, 0, 0);
    bytes.replace(8, 80, header, 8, 80);
  }
  if (forge & kIndexes) {
    StoreU64(p + 88, sound.factoryOffsets);
    StoreU64(p + 96, sound.itemOffsets);
    StoreU32(p + 104, static_cast<std::uint32_t>(sound.records));
    StoreU32(p + 108, static_cast<std::uint32_t>(sound.items));
  }
  const std::int32_t records = LoadI32(p + 104);
  const std::int32_t items = LoadI32(p + 108);
  if ((forge & kChecksum) && records >= 0 && items >= 0) {
    const auto layout = SearchColumns::LayoutFor(records, items, LoadU32(p + 116), LoadU32(p + 120),
                                                 LoadU32(p + 124));
    if (layout.trailer + kSearchTrailerSize == bytes.size())
      StoreU64(p + layout.trailer, Checksum::Of(p, layout.trailer));
  }
}

ConditionRow Row(int field, int op, const std::string& value) {
  return {std::to_string(field), "1", std::to_string(op), value, "0"};
}

void Search(const Tdm& dm, bool exact, std::uint8_t pick) {
  RecordList whole;
  dm.FillAllRecords(whole);
  const auto check = [&](const RecordList& got, const RecordList& expected) {
    if (exact) {
      FUZZ_CHECK(got == expected);
      return;
    }
    FUZZ_CHECK(got.size() <= whole.size());
    for (std::size_t i = 1; i < got.size(); ++i) FUZZ_CHECK(got[i - 1] < got[i]);
  };
  const ConditionTable tables[] = {
      {Row(kFieldStaff, kOpGreater, std::to_string(pick % 64 * 20))},
      {Row(kFieldName, kOpContains, std::string(1, static_cast<char>('0' + pick % 10)))},
      {Row(kFieldYear, kOpEquals, std::to_string(1990 + pick % 16))},
  };
  for (const ConditionTable& table : tables) {
    RecordList got = whole;
    MatchConditions(dm, got, table);
    check(got, ReferenceMatchConditions(dm, whole, ParseConditions(table)));
  }
  const std::vector<ProductKey> keys{{0, pick % 9},
                                     {static_cast<std::uint8_t>(pick % 3), (pick / 9) % 9}};
  RecordList got = whole;
  MatchProducts(dm, got, keys);
  check(got, ReferenceMatchProducts(dm, whole, keys));
}

}  // namespace
}  // namespace zorel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorel;
  using namespace zorel::fuzz;
  SoundBase();
  InputReader in(data, size);
  const std::uint8_t forge = in.Byte();
  const std::uint8_t pick = in.Byte();
  std::string bytes = in.Piece();
  Forged(bytes, forge);
  PutFile(DatabaseFolder() + "/factory.search", bytes);
  Tdm dm(DatabaseFolder());
  const bool forged = (forge & kChecksum) != 0;
  if (!forged) FUZZ_CHECK(dm.TakeNotices().empty());
  Search(dm, !forged, pick);
  return 0;
}
