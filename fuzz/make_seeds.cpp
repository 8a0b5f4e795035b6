// Writes the seed corpora of the fuzz targets: inputs in each target's layout made from bases,
// remark files and list files that the project's own writers produce, plus a few with the
// damage the targets look for (offsets out of place, cut files, a leftover temporary file).
// Usage: zorel-fuzz-seeds OUT_DIR — writes OUT_DIR/<target>/seed-N for every target.
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "data/bytes.h"
#include "dbwriter/db_writer.h"
#include "form_seeds.h"
#include "fuzz_base.h"
#include "support/sample_base.h"

namespace zorel::fuzz {
namespace {

using test_support::SampleBase;
using test_support::W;

class Corpus {
 public:
  Corpus(const std::string& root, const std::string& target) : dir_(root + "/" + target) {
    std::filesystem::create_directories(dir_);
  }
  void Add(const InputWriter& input) {
    WriteBytes(dir_ + "/seed-" + std::to_string(next_++), input.bytes());
  }

 private:
  std::string dir_;
  int next_ = 0;
};

// The sample base with remarks and a wider classification and more records, so that the
// seeds reach every field, several levels and the dictionaries' ends.
BaseSource RichBase() {
  BaseSource b = SampleBase();
  b.remarks = std::vector<std::pair<std::int32_t, std::string>>{
      {0, W("надёжный поставщик")}, {2, "  call back  "}, {7, W("вне базы")}};
  for (int i = 0; i < 12; ++i) {
    EnterpriseSource e = b.enterprises[static_cast<std::size_t>(i % 3)];
    e.name += " " + std::to_string(i);
    e.orgForm = static_cast<std::int8_t>(i % 6);
    e.region = static_cast<std::int16_t>(i % 5 - 1);
    e.country = static_cast<std::int16_t>(i % 4);
    e.year = static_cast<std::int16_t>(1980 + i);
    e.products.push_back({static_cast<std::uint8_t>(i % 4), static_cast<std::uint32_t>(i % 10)});
    b.enterprises.push_back(e);
  }
  b.classes.push_back({9, 3, {2, 4, 5, 0, 0}, 1, 2});
  b.classes.push_back({10, 0, {3, 0, 0, 0, 0}, 2, 0});
  b.classes.push_back({11, 99, {3, 1, 0, 0, 0}, 1, 1});
  return b;
}

std::string Offsets(const std::vector<std::int32_t>& offsets) {
  std::string bytes;
  for (const std::int32_t o : offsets) PutU32(bytes, static_cast<std::uint32_t>(o));
  return bytes;
}

void DatabaseSeeds(Corpus& corpus) {
  std::vector<DatabaseFiles> bases = {
      DatabaseFiles::FromBase(SampleBase(), 0),
      DatabaseFiles::FromBase(SampleBase(), kSupplyFactoryIdx | kSupplyItemIdx),
      DatabaseFiles::FromBase(RichBase(), 0),
      DatabaseFiles::FromBase(RichBase(), kSupplyFactoryIdx | kSupplyItemIdx),
  };
  // Index offsets past the file, backwards, into the middle of records and items.
  DatabaseFiles hostile = DatabaseFiles::FromBase(SampleBase(), kSupplyFactoryIdx | kSupplyItemIdx);
  const auto start = static_cast<std::int32_t>(hostile.factoryHeader.size());
  hostile.factoryIdx = Offsets({start, 1 << 20, -4, start + 30, start, 0, 2147483647});
  hostile.itemIdx = Offsets({0, 3, 1000, -1, 0});
  bases.push_back(hostile);
  // A record cut by the end of the file, a remark file in the older layout, a leftover
  // temporary file.
  DatabaseFiles cut = DatabaseFiles::FromBase(RichBase(), kSupplyRemarkTemp);
  cut.factoryRecords.resize(cut.factoryRecords.size() - 7);
  cut.remarks = std::string(200, ' ') + "old remark" + std::string(190, ' ');
  cut.remarkTemp = EncodeRemarks({{1, "left over"}});
  bases.push_back(cut);
  for (const DatabaseFiles& files : bases) {
    InputWriter input;
    files.Write(input);
    input.Byte(0xA5);  // which tree nodes to open
    corpus.Add(input);
  }
}

std::string RemarkEntries(const std::vector<std::tuple<std::int32_t, std::string, bool>>& entries) {
  std::string bytes;
  for (const auto& [record, text, deleted] : entries) {
    PutU16(bytes, static_cast<std::uint16_t>(text.size() + 7));
    PutU32(bytes, static_cast<std::uint32_t>(record));
    PutU8(bytes, deleted ? 1 : 0);
    bytes += text;
  }
  return bytes;
}

void RemarkSeeds(Corpus& corpus) {
  struct Seed {
    std::uint8_t flags;
    std::uint16_t count;
    std::string file, temp;
  };
  const std::string entries = RemarkEntries({{0, "first", false},
                                             {3, W("примечание"), true},
                                             {3, W("новое примечание"), false},
                                             {50, "outside", false},
                                             {-2, "negative", false},
                                             {1, "", false}});
  std::string slots = "abc" + std::string(197, ' ') + std::string(200, ' ') + "\t x \r\n" +
                      std::string(194, ' ') + "cut";
  const Seed seeds[] = {
      {1, 10, entries, ""},
      {1, 4, entries + "\x03\x00\x01", ""},  // an entry too short to be one
      {0, 10, slots, ""},
      {0, 1, slots, ""},
      {4, 10, EncodeRemarks({{2, "kept"}}), EncodeRemarks({{2, "stale"}})},
      {6, 10, "", EncodeRemarks({{2, "moved aside"}})},
      {2, 10, "", ""},
  };
  for (const Seed& s : seeds) {
    InputWriter input;
    input.Byte(s.flags);
    input.U16(s.count);
    input.Piece(s.file);
    input.Piece(s.temp);
    const struct {
      std::uint8_t op;
      std::uint16_t record;
      std::string text;
    } ops[] = {{0, 4, W("текст")}, {0, 4, W("текст")}, {1, 1, ""},    {2, 2, ""},
               {3, 0, ""},         {0, 1, "again"},    {0, 999, "x"}, {3, 0, ""}};
    for (const auto& op : ops) {
      input.Byte(op.op);
      input.U16(op.record);
      if (op.op < 2) input.Piece(op.text);
    }
    corpus.Add(input);
  }
}

std::string ListBytes(std::uint8_t flags, const std::vector<std::int32_t>& numbers) {
  std::string bytes = "ISLA";
  PutU8(bytes, flags);
  for (const std::int16_t v : {120, 200, 640, -480}) PutU16(bytes, static_cast<std::uint16_t>(v));
  for (const std::int32_t n : numbers) PutU32(bytes, static_cast<std::uint32_t>(n));
  return bytes;
}

void ListSeeds(Corpus& corpus) {
  const struct {
    std::uint8_t options;
    std::uint16_t count;
    std::string first, second;
    std::vector<std::int32_t> list;
    std::string text;
  } seeds[] = {
      {0,
       100,
       ListBytes(7, {5, 3, 99, 100, -1, 3}),
       ListBytes(1, {2, 4, 6}),
       {1, 3, 5},
       "1\r\n2\r\n"},
      {2,
       100,
       ListBytes(0, {}),
       ListBytes(2, {3, 4, 5, 0}),
       {5, 4, 3, 2, 1, 0, 200, -7},
       "7\n-1\nx\n"},
      {0, 10, "ISL", "ISLA" + std::string(9, '\0') + "\x01\x00\x00", {}, ""},
      {1, 5, ListBytes(4, {0, 1}), "XXXX" + std::string(20, '\0'), {0}, "2147483648\r\n"},
  };
  for (const auto& s : seeds) {
    InputWriter input;
    input.Byte(s.options);
    input.U16(s.count);
    input.Piece(s.first);
    input.Piece(s.second);
    std::string numbers;
    for (const std::int32_t n : s.list) PutU32(numbers, static_cast<std::uint32_t>(n));
    input.Piece(numbers);
    input.Byte(5);
    for (const std::uint16_t v : {300, 250, 800, 600}) input.U16(v);
    input.Piece(s.text);
    input.U32(4);
    corpus.Add(input);
  }
}

void MatchingSeeds(Corpus& corpus) {
  using Row = std::array<std::string, 5>;
  const std::vector<std::vector<Row>> tables = {
      {{"0", "1", "0", W("завод"), "0"}},
      {{"0", "1", "0", W("завод"), "1"}, {"2", "0", "3", "1990", "1"}},
      {{"1", "1", "1", W("ОАО"), "0"}, {"5", "0", "2", "", "0"}, {"4", "1", "0", W("бел"), "0"}},
      {{"16", "1", "0", W("станок"), "0"}, {"13", "0", "0", "  ", "0"}},
      {{"16", "0", "0", W("станок"), "0"}, {"6", "1", "6", "100", "0"}},
      {{"3", "1", "1", "220000", "1"}, {"7", "1", "0", "01", "0"}, {"14", "1", "0", "@", "0"}},
      {{"8", "1", "0", "1", "0"}, {"9", "0", "2", "", "1"}, {"12", "1", "0", W("станки"), "0"}},
      {{"17", "1", "0", "x", "0"}},
      {{"2", "1", "0", "x", "0"}},
  };
  const std::vector<std::vector<std::string>> keys = {
      {"    017", "    3017"}, {"    1", "    21", "    31"}, {"   -1", "  2551", "x"}, {}};
  const std::vector<std::vector<std::int32_t>> lists = {{}, {7, 2, 5, 0, 1}, {-1, 3, 1000000, 2}};
  const std::vector<std::vector<std::string>> fragments = {
      {W("станок")}, {W("бол"), ""}, {W("а"), W("ц")}, {}};
  const DatabaseFiles bases[] = {DatabaseFiles::FromBase(RichBase(), 0),
                                 DatabaseFiles::FromBase(SampleBase(), 0)};
  std::size_t n = 0;
  for (const auto& table : tables) {
    InputWriter input;
    bases[n % 2].Write(input);
    input.Byte(static_cast<std::uint8_t>(table.size()));
    for (const Row& row : table) {
      for (const std::string& cell : row) input.Piece(cell);
    }
    const auto& k = keys[n % keys.size()];
    input.Byte(static_cast<std::uint8_t>(k.size()));
    for (const std::string& key : k) input.Piece(key);
    std::string numbers;
    for (const std::int32_t r : lists[n % lists.size()])
      PutU32(numbers, static_cast<std::uint32_t>(r));
    input.Piece(numbers);
    const auto& f = fragments[n % fragments.size()];
    input.Byte(static_cast<std::uint8_t>(f.size()));
    for (const std::string& fragment : f) input.Piece(fragment);
    // Every third seed damages the search file the data module builds.
    if (n % 3 == 2) input.Piece(std::string("\x10\x00\xff\x7f\x80\x01\xfe", 7));
    corpus.Add(input);
    ++n;
  }
}

// The sound search file under each mix of forged guards, with a few picks of searches.
void SearchFileSeeds(Corpus& corpus) {
  const std::string file = SoundSearchFile();
  for (const std::uint8_t forge : {0, 3, 7}) {
    for (const std::uint8_t pick : {0, 5, 77}) {
      InputWriter in;
      in.Byte(forge);
      in.Byte(pick);
      in.Piece(file);
      corpus.Add(in);
    }
  }
}

// A sound conversation, plain and with STARTTLS offered, and one reply cut in the middle.
void SmtpSeeds(Corpus& corpus) {
  const std::pair<std::uint8_t, std::string> talks[] = {
      {0, "220 hi\r\n250 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n250 ok\r\n221 bye\r\n"},
      {1, "220 hi\r\n250-there\r\n250-SIZE 1000\r\n250 STARTTLS\r\n220 go\r\n"},
      {0, "220-a\r\n220 b\r\n250 ok\r\n55"},
  };
  for (const auto& [security, talk] : talks) {
    InputWriter in;
    in.Byte(security);
    for (const char c : talk) in.Byte(static_cast<std::uint8_t>(c));
    corpus.Add(in);
  }
}

}  // namespace
}  // namespace zorel::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
    return 2;
  }
  using namespace zorel::fuzz;
  const std::string root = argv[1];
  Corpus database(root, "database");
  DatabaseSeeds(database);
  Corpus remarks(root, "remarks");
  RemarkSeeds(remarks);
  Corpus lists(root, "lists");
  ListSeeds(lists);
  Corpus matching(root, "matching");
  MatchingSeeds(matching);
  Corpus searchFile(root, "search_file");
  SearchFileSeeds(searchFile);
  Corpus smtp(root, "smtp");
  SmtpSeeds(smtp);
  FormSeeds(root + "/forms");
  return 0;
}
