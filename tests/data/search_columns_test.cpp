// The searches answered from the search file (factory.search) against the record scan, on a
// generated base large enough for both: the record scan's answer is the list searched in pieces
// too short for the column scans. Then the file's life: rebuilt when stale or damaged, left out
// when the folder cannot take it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "data/bytes.h"
#include "data/checksum.h"
#include "data/classification.h"
#include "data/conditions.h"
#include "data/data_module.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/matcher.h"
#include "data/text1251.h"
#include "dbwriter/db_writer.h"
#include "support/faulty_files.h"
#include "support/run_program.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

namespace fs = std::filesystem;
using test_support::TempDir;
using test_support::W;

constexpr int kRecords = 4000;

// One base for every test here; tests that change its files work on a copy.
const TempDir& Generated() {
  static const TempDir dir;
  static const bool made = [] {
    const auto r = test_support::RunProgram(
        {ZOREL_MKDB, "--synthetic", std::to_string(kRecords), "--seed", "7", dir / "base"});
    EXPECT_EQ(r.status, 0) << r.err;
    return true;
  }();
  (void)made;
  return dir;
}

std::string CopyOfBase(const TempDir& into) {
  fs::copy(Generated() / "base/db", into / "db", fs::copy_options::recursive);
  fs::remove(into / "db/factory.search");
  return into / "db";
}

using Search = std::function<void(const Tdm&, RecordList&)>;

// The list searched in pieces of at most 1/32 of the base, each short enough for the record
// scan; a search keeps records in order, so the pieces' answers joined are the whole answer.
RecordList ByRecords(const Tdm& dm, const RecordList& list, const Search& search) {
  RecordList answer;
  const std::size_t piece = static_cast<std::size_t>(dm.RecordCount()) / 32;
  for (std::size_t at = 0; at < list.size(); at += piece) {
    RecordList part(list.begin() + static_cast<std::ptrdiff_t>(at),
                    list.begin() + static_cast<std::ptrdiff_t>(std::min(list.size(), at + piece)));
    search(dm, part);
    answer.insert(answer.end(), part.begin(), part.end());
  }
  return answer;
}

RecordList ByColumns(const Tdm& dm, RecordList list, const Search& search) {
  search(dm, list);
  return list;
}

Search Conditions(ConditionTable table) {
  return [table](const Tdm& dm, RecordList& list) { MatchConditions(dm, list, table); };
}
Search Keys(std::vector<ProductKey> keys) {
  return [keys](const Tdm& dm, RecordList& list) { MatchProducts(dm, list, keys); };
}

ConditionRow Row(int field, bool asIs, int op, const std::string& value,
                 bool caseSensitive = false) {
  return {std::to_string(field), asIs ? "1" : "0", std::to_string(op), value,
          caseSensitive ? "1" : "0"};
}

struct Case {
  std::string what;
  Search search;
  bool findsSome = true;  // some records of the whole base, not all
};

std::vector<Case> Cases(Tdm& dm) {
  const std::string name = dm.GetFirmName(17).substr(0, 4);
  const std::string item = Lower1251(std::string(dm.ItemName(5))).substr(0, 3);
  const std::string region = dm.Regions().at(2);
  const std::string staff = std::to_string(dm.GetRecordView(40).Staff());
  const std::string year = std::to_string(dm.GetRecordView(41).Year());
  const auto kind = static_cast<std::uint8_t>(dm.GetRecordView(43).Product(0).kind);
  const auto someItem = static_cast<std::int64_t>(dm.GetRecordView(43).Product(0).item) - 1;
  return {
      {"name contains, any case",
       Conditions({Row(kFieldName, true, kOpContains, Lower1251(name))})},
      {"name does not contain", Conditions({Row(kFieldName, false, kOpContains, Lower1251(name))})},
      {"name contains, case (read from the records)",
       Conditions({Row(kFieldName, true, kOpContains, name, true)})},
      {"staff >", Conditions({Row(kFieldStaff, true, kOpGreater, staff)})},
      {"staff <=", Conditions({Row(kFieldStaff, true, kOpLessEq, staff)})},
      {"year =", Conditions({Row(kFieldYear, true, kOpEquals, year)})},
      {"region contains", Conditions({Row(kFieldRegion, true, kOpContains, region)})},
      {"region not equal", Conditions({Row(kFieldRegion, false, kOpEquals, region)})},
      {"organisation form contains", Conditions({Row(kFieldOrgForm, true, kOpContains, W("о"))})},
      {"products contain", Conditions({Row(kFieldProducts, true, kOpContains, item)})},
      {"some product does not contain",
       Conditions({Row(kFieldProducts, false, kOpContains, item)})},
      {"three joined with a field read from the records",
       Conditions({Row(kFieldName, true, kOpContains, name.substr(0, 2)),
                   Row(kFieldStaff, true, kOpGreater, "10"),
                   Row(kFieldProducts, true, kOpContains, item.substr(0, 2)),
                   Row(kFieldAddress, true, kOpContains, W("а"))})},
      {"one key of any kind", Keys({{0, someItem}})},
      {"one key of one kind", Keys({{kind, someItem}})},
      {"an item outside item.dat", Keys({{0, dm.ItemCount() + 3}, {0, -1}}), false},
      {"the root's keys", Keys(BuildKeyList(dm, {TClassInfo::Root()}))},
  };
}

// The whole base, and a shuffled list with repeats and numbers outside the base.
std::vector<RecordList> Lists(const Tdm& dm) {
  RecordList mixed = WholeBaseList(dm.RecordCount());
  mixed.insert(mixed.end(), {5, 5, 17, -1, dm.RecordCount(), INT32_MAX, INT32_MIN});
  std::shuffle(mixed.begin(), mixed.end(), std::mt19937(3));
  return {WholeBaseList(dm.RecordCount()), mixed};
}

void ExpectColumnsAgree(Tdm& dm) {
  for (const Case& c : Cases(dm)) {
    for (const RecordList& list : Lists(dm)) {
      const RecordList byRecords = ByRecords(dm, list, c.search);
      EXPECT_EQ(ByColumns(dm, list, c.search), byRecords) << c.what;
      EXPECT_TRUE(!c.findsSome || (!byRecords.empty() && byRecords.size() < list.size())) << c.what;
    }
  }
}

TEST(SearchColumns, AnswerAsTheRecordsDo) {
  Tdm dm(Generated() / "base/db");
  ASSERT_NE(dm.Columns(), nullptr);
  ExpectColumnsAgree(dm);
}

// Edits the search file's bytes; `reseal` puts a checksum that fits them in its trailer, as a
// forger would, so that only the checks of its structure stand in the way.
void EditSearchFile(const std::string& file, bool reseal,
                    const std::function<void(std::string&, const SearchColumns::Layout&)>& edit) {
  std::string bytes = ReadWholeFile(file).value();
  const auto* p = AsBytes(bytes.data());
  const auto layout = SearchColumns::LayoutFor(LoadI32(p + 104), LoadI32(p + 108), LoadU32(p + 116),
                                               LoadU32(p + 120), LoadU32(p + 124));
  edit(bytes, layout);
  if (reseal) {
    std::uint8_t sum[8];
    StoreU64(sum, Checksum::Of(bytes.data(), layout.trailer));
    bytes.replace(layout.trailer, 8, reinterpret_cast<const char*>(sum), 8);
  }
  std::ofstream(file, std::ios::binary | std::ios::in | std::ios::out)
      .write(bytes.data(), bytes.size());
}

void PutU32At(std::string& bytes, std::size_t at, std::uint32_t value) {
  StoreU32(reinterpret_cast<std::uint8_t*>(bytes.data() + at), value);
}

TEST(SearchColumns, AStaleOrDamagedFileIsBuiltAnew) {
  TempDir dir;
  const std::string db = CopyOfBase(dir);
  const std::string file = db + "/factory.search";
  Tdm(db).RecordCount();
  const auto fresh = fs::file_size(file);
  using Layout = SearchColumns::Layout;
  const std::vector<std::pair<const char*, std::function<void()>>> spoilers{
      {"cut short", [&] { fs::resize_file(file, 100); }},
      {"another magic",
       [&] { std::fstream(file, std::ios::in | std::ios::out | std::ios::binary).put('X'); }},
      {"a longer file", [&] { std::ofstream(file, std::ios::app) << "x"; }},
      {"a data file of another time",
       [&] {
         const struct utimbuf times { 1000000000, 1000000000 };
         utime((db + "/factory.dat").c_str(), &times);
       }},
      {"one bit flipped in a name searched for",
       [&] {
         EditSearchFile(file, false, [](std::string& b, const Layout& l) {
           b[l.names + LoadU32(AsBytes(b.data() + l.nameStarts + 4 * 17)) + 1] ^= 1;
         });
       }},
      {"a count of unserved records",
       [&] {
         EditSearchFile(file, false,
                        [](std::string& b, const Layout&) { PutU32At(b, 112, kRecords); });
       }},
      {"item starts that overlap",
       [&] {
         EditSearchFile(file, true, [](std::string& b, const Layout& l) {
           const std::uint32_t postings = LoadU32(AsBytes(b.data() + 120));
           for (std::size_t i = 1; i + 1 < (l.postRecords - l.itemStarts) / 4; i += 2)
             PutU32At(b, l.itemStarts + 4 * i, postings);
         });
       }},
      {"a name start past the block",
       [&] {
         EditSearchFile(file, true, [](std::string& b, const Layout& l) {
           PutU32At(b, l.nameStarts + 4 * 5, UINT32_MAX);
         });
       }},
  };
  for (const auto& [what, spoil] : spoilers) {
    spoil();
    Tdm dm(db);
    ASSERT_NE(dm.Columns(), nullptr) << what;
    EXPECT_EQ(fs::file_size(file), fresh) << what;
    EXPECT_TRUE(dm.TakeNotices().empty()) << what;
    ExpectColumnsAgree(dm);
  }
}

// factory.dat with every record's staff number raised by 1000: the same size, the same offsets.
std::string RaisedStaff(const std::string& db) {
  std::string bytes = ReadWholeFile(db + "/factory.dat").value();
  const std::string index = ReadWholeFile(db + "/factory.idx").value();
  for (std::size_t i = 0; i + 4 <= index.size(); i += 4) {
    const auto at = static_cast<std::size_t>(LoadI32(AsBytes(index.data() + i))) + 45;
    auto* staff = reinterpret_cast<std::uint8_t*>(bytes.data() + at);
    StoreU32(staff, LoadU32(staff) + 1000);
  }
  return bytes;
}

// The changed factory.dat rewritten in place, or written beside and renamed over it.
TEST(SearchColumns, ABaseCopiedInWithItsTimesKeptIsAnsweredFromTheNewData) {
  for (const bool inPlace : {true, false}) {
    SCOPED_TRACE(inPlace ? "rewritten in place" : "renamed over it");
    TempDir dir;
    const std::string db = CopyOfBase(dir), factory = db + "/factory.dat";
    const std::string written = inPlace ? factory : db + "/copy";
    const std::int32_t staff = Tdm(db).GetRecordView(40).Staff();
    // The system's change times move on in steps of its clock tick.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::string bytes = RaisedStaff(db);
    struct stat old {};
    ASSERT_EQ(stat(factory.c_str(), &old), 0);
    std::ofstream(written,
                  std::ios::binary | std::ios::out | (inPlace ? std::ios::in : std::ios::trunc))
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const struct timespec times[2] = {old.st_atim, old.st_mtim};  // as a copy keeping times
    ASSERT_EQ(utimensat(AT_FDCWD, written.c_str(), times, 0), 0);
    if (!inPlace) fs::rename(written, factory);
    Tdm dm(db);
    ASSERT_EQ(dm.GetRecordView(40).Staff(), staff + 1000);
    ASSERT_NE(dm.Columns(), nullptr);
    ExpectColumnsAgree(dm);
  }
}

// Replaces factory.dat by a changed copy as soon as the search file's build starts writing, as a
// rebuild of the base in place may: nothing built from the old data is saved.
class RebuiltDuringTheOpening : public FileSystem {
 public:
  explicit RebuiltDuringTheOpening(std::string db) : db_(std::move(db)) {}
  int Open(const std::string& path, int flags, mode_t mode) override {
    if (!done_ && (flags & O_CREAT) != 0 && path.find("factory.search") != std::string::npos) {
      done_ = true;
      WriteBytes(db_ + "/copy", RaisedStaff(db_));
      fs::rename(db_ + "/copy", db_ + "/factory.dat");
    }
    return FileSystem::Open(path, flags, mode);
  }

 private:
  std::string db_;
  bool done_ = false;
};

TEST(SearchColumns, ABuildThatSawTheBaseChangeIsNotSaved) {
  TempDir dir;
  const std::string db = CopyOfBase(dir);
  const std::int32_t staff = Tdm(db).GetRecordView(40).Staff();
  fs::remove(db + "/factory.search");
  {
    RebuiltDuringTheOpening files(db);
    ScopedFileSystem installed(files);
    Tdm dm(db);
    EXPECT_EQ(dm.GetRecordView(40).Staff(), staff + 1000);
    ExpectColumnsAgree(dm);
  }
  Tdm dm(db);
  EXPECT_EQ(dm.GetRecordView(40).Staff(), staff + 1000);
  ASSERT_NE(dm.Columns(), nullptr);
  ExpectColumnsAgree(dm);
}

TEST(SearchColumns, AFolderThatCannotTakeTheFileLeavesTheRecords) {
  TempDir dir;
  const std::string db = CopyOfBase(dir);
  test_support::NoSearchFile files;
  ScopedFileSystem installed(files);
  Tdm dm(db);
  EXPECT_EQ(dm.Columns(), nullptr);
  EXPECT_FALSE(fs::exists(db + "/factory.search"));
  ExpectColumnsAgree(dm);
}

}  // namespace
}  // namespace zorel
