// Opening a base and decoding its records and fields, and what damaged files make of it.
#include "data/data_module.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <climits>
#include <filesystem>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/record_details.h"
#include "data/text1251.h"
#include "dbwriter/db_writer.h"
#include "support/error_of.h"
#include "support/open_base.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"
#include "support/vouch.h"

namespace zorel {
namespace {

using test_support::ErrorOf;
using test_support::SampleBase;
using test_support::TempDir;
using test_support::VouchForIndexes;
using test_support::W;

// In a folder named like the item file, which must not change the record geometry.
TEST(DataModuleStartUp, OpensTheSampleBaseAndBuildsItsIndexes) {
  TempDir dir;
  WriteDatabase(dir / "items/db", SampleBase());
  Tdm dm(dir / "items/db");
  EXPECT_EQ(dm.RecordCount(), 3);
  EXPECT_EQ(dm.ItemCount(), 8);
  EXPECT_EQ(dm.GetFirmName(2), W("Станкостроитель"));
  EXPECT_TRUE(FileExists(dir / "items/db/factory.idx"));
  EXPECT_TRUE(FileExists(dir / "items/db/item.idx"));
  EXPECT_EQ(dm.Header().edition, "2003");
  EXPECT_EQ(dm.Header().kindLabels.size(), 3u);
  // 14 + 4 (edition) + 15 (three labels)
  EXPECT_EQ(dm.Header().dataStart, 33);
  EXPECT_EQ(dm.ListsDir(), (dir.path() / "items/lists/").string());
  EXPECT_EQ(dm.FormsDir(), (dir.path() / "items/rpt/").string());
  EXPECT_EQ(dm.TitleWithEdition(" Зорель\t"), "Зорель 2003");
}

TEST(DataModuleStartUp, ReportsEachUnusableFileWithItsMessage) {
  TempDir dir;
  const std::string db = dir / "db/";
  const struct {
    const char* file;
    const char* bytes;  // nullptr: the file is missing
    std::string message;
  } cases[] = {
      {"factory.dat", nullptr,
       "Не могу открыть файл данных !!!\n" + db + "factory.dat: No such file or directory"},
      {"factory.dat", "SDF6",
       "Неверная версия файла данных !!!\n" + db + "factory.dat: нет метки SDF63 в начале файла"},
      {"class.dat", nullptr,
       "Не могу открыть файл " + db + "class.dat\n" + db + "class.dat: No such file or directory"},
  };
  for (const auto& c : cases) {
    WriteDatabase(dir / "db", SampleBase());
    if (c.bytes != nullptr) {
      WriteBytes(db + c.file, c.bytes);
    } else {
      std::filesystem::remove(db + c.file);
    }
    EXPECT_EQ(ErrorOf<DataError>([&] { Tdm dm(dir / "db"); }), c.message);
  }
}

// The detail panels' texts of each record, and the print fields' texts, a remark among them.
TEST(DataModuleFields, DecodesDisplayTextsAndPrintFields) {
  test_support::OpenBase base(SampleBase());
  Tdm& dm = base.dm();
  EXPECT_EQ(test_support::DetailsText(dm, 0),
            "Минский ЗАВОД|оао|1995|1200|220000|Беларусь, Минская обл.|ул. Ленина, 1|Иванов И.И.|"
            "017    |222-33-44|222-33-45|info@zavod.by|www.zavod.by|Лучшие станки|"
            "1. пр-во - станок токарный\r\n2. опт - болт м12\r\n|");
  EXPECT_EQ(
      test_support::DetailsText(dm, 1),
      "Брестский комбинат|ОАО Плюс|1990|0|      |Украина, |||       ||||||1. торг - гайка\r\n|");
  EXPECT_EQ(test_support::DetailsText(dm, 2), "Станкостроитель|||15|      ||||       |||||||");
  EXPECT_TRUE(GetDetails(dm, 0).hasAdvert);
  EXPECT_FALSE(GetDetails(dm, 2).hasAdvert);
  EXPECT_EQ(dm.GetFirmName(3), W("Проблемы на записи (3)"));
  EXPECT_EQ(dm.GetItemName(dm.ItemCount()), "");
  EXPECT_EQ(dm.GetItemName(-1), "");
  EXPECT_EQ(dm.GetEntry(FieldDictionary::OrgForms, -1), "");
  EXPECT_EQ(dm.GetEntry(FieldDictionary::OrgForms, static_cast<int>(dm.OrgForms().size())), "");
  dm.SetRemark(0, W(" заметка\r\n"));
  // Every field of a record in UTF-8, each followed by "|".
  const auto fields = [&dm](std::int32_t record) {
    std::string text;
    for (int f = 0; f < kPrintFieldCount; ++f) text += ToUtf8(PrintFieldText(dm, record, f)) + "|";
    return text;
  };
  EXPECT_EQ(fields(0),
            "Минский ЗАВОД|оао|1995|220000|Беларусь|Минская обл.|1200|017    |ул. Ленина, 1|"
            "Иванов И.И.|222-33-44|222-33-45|Лучшие станки| заметка\r\n|info@zavod.by|www.zavod.by|"
            "пр-во - станок токарный; опт - болт м12.|Строка пользователя|");
  EXPECT_EQ(fields(1),
            "Брестский комбинат|ОАО Плюс|1990|      |Украина||0|       |||||||||"
            "торг - гайка.|Строка пользователя|");
  EXPECT_EQ(fields(2), "Станкостроитель|||      |||15|       ||||||||||Строка пользователя|");
  for (const auto& [record, field] : {std::pair{0, kPrintFieldCount}, {0, -1}, {3, 0}, {-1, 17}}) {
    EXPECT_EQ(PrintFieldText(dm, record, field), "") << record << ":" << field;
  }
}

// Builds factory.dat by hand so that a record's offset words can be broken on purpose.
std::string RawBase(const std::string& records) {
  BaseSource b;
  b.edition = "";
  return EncodeFactoryHeader(b) + records;
}

TEST(RecordBounds, BrokenOffsetsReadAsEmptyFieldsAndShortRecordsAsNull) {
  TempDir dir;
  WriteDatabase(dir / "db", SampleBase());
  EnterpriseSource e;
  e.name = "Name";
  e.address = "Addr";
  const std::string good = EncodeRecord(e);
  std::string broken = good;
  // The address ends before it starts.
  StoreU16(reinterpret_cast<std::uint8_t*>(broken.data()) + 24, 71);
  std::string past = good;
  // The name runs past the record.
  StoreU16(reinterpret_cast<std::uint8_t*>(past.data()) + 22, 5000);
  WriteBytes(dir / "db/factory.dat", RawBase(good + broken + past));
  Tdm dm(dir / "db");
  ASSERT_EQ(dm.RecordCount(), 3);
  EXPECT_EQ(dm.GetFirmName(0), "Name");
  EXPECT_EQ(GetDetails(dm, 0).address, "Addr");
  EXPECT_EQ(dm.GetFirmName(1), "Name");
  EXPECT_EQ(GetDetails(dm, 1).address, "");
  EXPECT_EQ(dm.GetFirmName(2), "");
}

TEST(RecordIndex, ScanStopsAtALengthBelowTheHeadAndAtACutRecord) {
  TempDir dir;
  WriteDatabase(dir / "db", SampleBase());
  EnterpriseSource e;
  e.name = "A";
  const std::string rec = EncodeRecord(e);
  const std::string zero(30, '\0');  // length word 0: the scan would stand still
  WriteBytes(dir / "db/factory.dat", RawBase(rec + rec + zero + rec));
  {
    Tdm dm(dir / "db");
    EXPECT_EQ(dm.RecordCount(), 2);
  }
  std::filesystem::remove(dir / "db/factory.idx");
  WriteBytes(dir / "db/factory.dat", RawBase(rec + rec.substr(0, rec.size() - 1)));
  Tdm dm(dir / "db");
  ASSERT_EQ(dm.RecordCount(), 2);
  EXPECT_NE(dm.GetRecord(0), nullptr);
  EXPECT_EQ(dm.GetRecord(1), nullptr);  // cut by the end of the file: never stale bytes
  EXPECT_EQ(dm.GetRecord(2), nullptr);
}

TEST(RecordIndex, BuildsTheDocumentedItemIndex) {
  const std::string items = std::string(
      "\x03\x00"
      "abc\x00\x00\x05\x00hello",
      14);
  EXPECT_EQ(TIdxObject::ScanOffsets(AsBytes(items.data()), items.size(), 0, kItemGeometry),
            (std::vector<std::int32_t>{0, 5, 7}));
}

TEST(ClassTable, ServesWholeEntriesOnly) {
  std::string bytes(62 + 30, '\x01');
  TClassObject table(ByteSource::FromBytes(bytes));
  EXPECT_NE(table.Get(0), nullptr);
  EXPECT_NE(table.Get(1), nullptr);
  EXPECT_EQ(table.Get(2), nullptr);
  EXPECT_EQ(table.Get(-1), nullptr);
}

TEST(DamagedBase, SaysOnceHowManyRecordsCannotBeServedAndWhere) {
  TempDir dir;
  WriteDatabase(dir / "db", SampleBase());
  {
    Tdm clean(dir / "db");
    EXPECT_EQ(clean.TakeNotices(), std::vector<std::string>{});
  }
  // The last record cut short: its index entry still fits the file, the record does not.
  const auto size = std::filesystem::file_size(dir / "db/factory.dat");
  std::filesystem::resize_file(dir / "db/factory.dat", size - 5);
  Tdm dm(dir / "db");
  EXPECT_EQ(dm.RecordCount(), 3);
  EXPECT_EQ(dm.TakeNotices(), std::vector<std::string>{"Не читаются записи файла " + (dir / "db/") +
                                                       "factory.dat: 1 из 3"});
  EXPECT_EQ(dm.TakeNotices(), std::vector<std::string>{});
}

TEST(DamagedBase, OnlyRegularFilesAreReadAsLists) {
  TempDir dir;
  const std::string pipe = dir / "pipe.lst";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::filesystem::create_directories(dir.path() / "folder.lst");
  for (const std::string& path : {pipe, dir / "folder.lst"}) {
    SCOPED_TRACE(path);
    EXPECT_THROW(LoadListFile(path, 10), EChildError);
    RecordList list{1};
    EXPECT_THROW(MergeListFile(list, path, MergeMode::Append, 10), EChildError);
    EXPECT_EQ(list, RecordList{1});
  }
}

// Index files used as they stand (a search file vouches for them, as for a base copied with its
// derived files or forged ones): offsets that point past the data file, before its start,
// backwards or into the middle of other entries give null entries or entries read wholly
// inside the file, never a read outside it. Index files nothing vouches for are rebuilt. (The
// sanitizer build holds file bytes in blocks of their exact size, so a stray read there fails the
// test outright.)

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
  const struct {
    const char* what;
    std::int64_t offset;
    const char* name;  // "": whatever the bytes there say, inside the file
  } cases[] = {
      {"the first record", first, "Минский ЗАВОД"},
      {"backwards, to the first record again", first, "Минский ЗАВОД"},
      {"a length running past the end", factorySize_ - 22, "Проблемы на записи (2)"},
      {"inside the header", 0, ""},
      {"one byte into a record", first + 1, ""},
      {"into the middle of a record", first + 30, ""},
      {"just before the next record", second - 3, ""},
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
    if (*c.name != '\0') {
      EXPECT_EQ(dm.GetFirmName(r), W(c.name));
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
    if (!cases[i].name.empty()) {
      EXPECT_EQ(name, cases[i].name);
    }
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
