// Index files used as they stand (a search file vouches for them, as for a base copied with its
// derived files or forged ones): offsets that point past the data file, before its start,
// backwards or into the middle of other entries give null entries or entries read wholly
// inside the file, never a read outside it. Index files nothing vouches for are rebuilt. (The
// sanitizer build holds file bytes in blocks of their exact size, so a stray read there fails the
// test outright.)
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>

#include "data/bytes.h"
#include "data/data_module.h"
#include "data/file_util.h"
#include "data/record_details.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"
#include "support/vouch.h"

namespace zorel {
namespace {

using test_support::SampleBase;
using test_support::TempDir;
using test_support::VouchForIndexes;
using test_support::W;

std::string Index(const std::vector<std::int64_t>& offsets) {
  std::string bytes;
  for (const std::int64_t o : offsets) PutU32(bytes, static_cast<std::uint32_t>(o));
  return bytes;
}

std::vector<std::int32_t> ReadIndex(const std::string& path) {
  const std::string bytes = ReadWholeFile(path).value_or("");
  std::vector<std::int32_t> offsets(bytes.size() / 4);
  for (std::size_t i = 0; i < offsets.size(); ++i)
    offsets[i] = LoadI32(AsBytes(bytes.data() + 4 * i));
  return offsets;
}

class HostileIndex : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDatabase(dir_ / "db", SampleBase());
    { Tdm built(dir_ / "db"); }  // builds both index files
    records_ = ReadIndex(dir_ / "db/factory.idx");
    items_ = ReadIndex(dir_ / "db/item.idx");
    factorySize_ = static_cast<std::int64_t>(std::filesystem::file_size(dir_ / "db/factory.dat"));
    itemSize_ = static_cast<std::int64_t>(std::filesystem::file_size(dir_ / "db/item.dat"));
  }

  TempDir dir_;
  std::vector<std::int32_t> records_, items_;
  std::int64_t factorySize_ = 0, itemSize_ = 0;
};

TEST_F(HostileIndex, RecordOffsetsOutOfPlaceGiveNullOrRecordsInsideTheFile) {
  const std::int64_t first = records_[0];
  const std::int64_t second = records_[1];
  // kRecord: served as the first record; kNull: not served; kInside: whatever the bytes
  // there say, as long as it lies inside the file.
  enum Expect { kRecord, kNull, kInside };
  const struct {
    const char* what;
    std::int64_t offset;
    Expect expect;
  } cases[] = {
      {"the first record", first, kRecord},
      {"backwards, to the first record again", first, kRecord},
      {"a length running past the end", factorySize_ - 22, kNull},
      {"inside the header", 0, kInside},
      {"one byte into a record", first + 1, kInside},
      {"into the middle of a record", first + 30, kInside},
      {"just before the next record", second - 3, kInside},
  };
  std::vector<std::int64_t> offsets;
  for (const auto& c : cases) offsets.push_back(c.offset);
  WriteBytes(dir_ / "db/factory.idx", Index(offsets));
  VouchForIndexes(dir_ / "db");
  Tdm dm(dir_ / "db");
  ASSERT_EQ(dm.RecordCount(), static_cast<std::int32_t>(std::size(cases)));
  for (std::int32_t r = 0; r < dm.RecordCount(); ++r) {
    const auto& c = cases[r];
    SCOPED_TRACE(c.what);
    const RecordView view = dm.GetRecordView(r);
    // Whatever is served lies wholly inside the file.
    if (view.valid()) {
      EXPECT_LE(c.offset + view.length(), factorySize_);
    }
    if (c.expect == kRecord) {
      EXPECT_EQ(dm.GetFirmName(r), W("Минский ЗАВОД"));
    } else if (c.expect == kNull) {
      EXPECT_FALSE(view.valid());
      EXPECT_EQ(dm.GetFirmName(r), W("Проблемы на записи (") + std::to_string(r) + ")");
    }
    // Every display text of the record reads without error.
    const RecordDetails d = GetDetails(dm, r);
    EXPECT_LE(d.address.size() + d.head.size() + d.advert.size(), view.length());
  }
}

TEST_F(HostileIndex, ItemOffsetsOutOfPlaceGiveEmptyNamesOrNamesInsideTheFile) {
  const struct {
    const char* what;
    std::int64_t offset;
    std::string name;  // "": whatever the bytes there say, inside the file
  } cases[] = {
      {"the first item", items_[0], W("Станки")},
      {"backwards, to the first item again", items_[0], W("Станки")},
      {"a length running past the end", itemSize_ - 2, ""},
      {"into the middle of a name", items_[1] + 3, ""},
  };
  std::vector<std::int64_t> offsets;
  for (const auto& c : cases) offsets.push_back(c.offset);
  WriteBytes(dir_ / "db/item.idx", Index(offsets));
  VouchForIndexes(dir_ / "db");
  Tdm dm(dir_ / "db");
  ASSERT_EQ(dm.ItemCount(), static_cast<std::int32_t>(std::size(cases)));
  for (std::int32_t i = 0; i < dm.ItemCount(); ++i) {
    SCOPED_TRACE(cases[i].what);
    const std::string name = dm.GetItemName(i);
    EXPECT_LE(cases[i].offset + 2 + static_cast<std::int64_t>(name.size()), itemSize_);
    if (!cases[i].name.empty()) EXPECT_EQ(name, cases[i].name);
  }
  EXPECT_EQ(dm.GetItemName(dm.ItemCount()), "");
}

TEST_F(HostileIndex, AnIndexNothingVouchesForIsRebuilt) {
  const struct {
    const char* what;
    std::string file;
    std::int32_t good;
    std::int64_t bad;
    bool older = false;  // the index's time set before its data file's
  } cases[] = {
      {"record past the end", "factory", records_[0], factorySize_},
      {"record far past the end", "factory", records_[0], INT32_MAX},
      {"record offset negative", "factory", records_[0], INT32_MIN},
      {"record length word cut by the end", "factory", records_[0], factorySize_ - 21},
      {"item past the end", "item", items_[0], itemSize_},
      {"item offset negative", "item", items_[0], -2},
      {"item length word cut by the end", "item", items_[0], itemSize_ - 1},
      {"older than its data file", "factory", records_[0], records_[1], true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string index = dir_ / ("db/" + c.file + ".idx");
    const std::string built = ReadWholeFile(index).value_or("");
    WriteBytes(index, Index({c.good, c.bad}));
    if (c.older) {
      const auto data = std::filesystem::last_write_time(dir_ / ("db/" + c.file + ".dat"));
      std::filesystem::last_write_time(index, data - std::chrono::seconds(5));
    }
    {
      Tdm dm(dir_ / "db");
      EXPECT_EQ(dm.RecordCount(), static_cast<std::int32_t>(records_.size()));
      EXPECT_EQ(dm.ItemCount(), static_cast<std::int32_t>(items_.size()));
    }
    EXPECT_EQ(ReadWholeFile(index).value_or(""), built);
  }
}

TEST_F(HostileIndex, AShortIndexIsUsedAsItStandsAndItsTailIgnored) {
  WriteBytes(dir_ / "db/factory.idx", Index({records_[2]}) + "\x01\x02\x03");
  VouchForIndexes(dir_ / "db");
  Tdm dm(dir_ / "db");
  ASSERT_EQ(dm.RecordCount(), 1);
  EXPECT_EQ(dm.GetFirmName(0), W("Станкостроитель"));
  EXPECT_EQ(dm.GetRecord(1), nullptr);
}

TEST(RecordIndexLimits, EntriesLongerThanTheReadBufferAreNeverServed) {
  // An item whose length word claims more than the buffer holds, with all its bytes present.
  std::string items;
  PutU16(items, 40000);
  items += std::string(40000, 'a');
  PutU16(items, 3);
  items += "abc";
  TIdxObject index(ByteSource::FromBytes(items),
                   TIdxObject::ScanOffsets(AsBytes(items.data()), items.size(), 0, kItemGeometry),
                   kItemGeometry);
  ASSERT_EQ(index.Count(), 2);
  EXPECT_EQ(index.Get(0), nullptr);
  ASSERT_NE(index.Get(1), nullptr);
  EXPECT_EQ(LoadU16(index.Get(1)), 3);
}

}  // namespace
}  // namespace zorel
