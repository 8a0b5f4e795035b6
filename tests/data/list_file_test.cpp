// List files: the byte layout, loading with its filters, saving that never leaves a broken or
// missing file, and appending and subtracting another list.
#include "data/list_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/record_list.h"
#include "dbwriter/db_writer.h"
#include "support/error_of.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::ErrorOf;
using test_support::FileBytes;
using test_support::TempDir;

// A list file of the given numbers with a fixed head (flags 5, sizes 100, -2, 640, 480).
std::string ListBytes(const std::vector<std::int32_t>& numbers, const std::string& tail = "") {
  std::string bytes = "ISLA";
  PutU8(bytes, 5);
  for (std::int16_t v : {100, -2, 640, 480}) PutU16(bytes, static_cast<std::uint16_t>(v));
  for (const auto n : numbers) PutU32(bytes, static_cast<std::uint32_t>(n));
  return bytes + tail;
}

TEST(ListFileSave, WritesTheHeadAndNumbersThatLoadBackInOrder) {
  TempDir dir;
  const std::string path = dir / "list.lst";
  WriteBytes(path, ListBytes({5, 1, 3, 1}));
  const LoadedList loaded = LoadListFile(path, 10);
  EXPECT_EQ(loaded.status, ListFileStatus::Ok);
  EXPECT_EQ(loaded.records, (RecordList{5, 1, 3, 1}));  // file order and duplicates kept
  EXPECT_FALSE(loaded.header.lowerShown);               // flag bit 1 of 5
  EXPECT_EQ(loaded.header.advertWidth, -2);
  // Saved again, the file is the same byte for byte: every field of the head was read.
  SaveListFile(path, loaded.header, loaded.records);
  EXPECT_EQ(FileBytes(path), ListBytes({5, 1, 3, 1}));
}

TEST(ListFileSave, AnEmptyListIsAThirteenByteFileThatLoadsAsEmpty) {
  TempDir dir;
  const std::string path = dir / "empty.lst";
  WriteBytes(path, "old content that is longer than a head");
  SaveListFile(path, {}, {});
  EXPECT_EQ(FileBytes(path).size(), 13u);
  const LoadedList loaded = LoadListFile(path, 10);
  EXPECT_EQ(loaded.status, ListFileStatus::Ok);
  EXPECT_TRUE(loaded.records.empty());
}

TEST(ListFileSave, AFailedSaveReportsTheNameAndTheReasonAndLeavesWhatWasThere) {
  TempDir dir;
  std::filesystem::create_directories(dir / "taken.lst");
  WriteBytes(dir / "taken.lst/inside", "keep");
  WriteBytes(dir / "read-only.lst", "keep");
  std::filesystem::permissions(dir / "read-only.lst", std::filesystem::perms::owner_read);
  const struct {
    std::string path, reason;
  } cases[] = {
      {dir / "no such folder/list.lst", std::strerror(ENOENT)},
      {dir / "taken.lst", "не обычный файл"},
      {dir / "read-only.lst", "файл только для чтения"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf<EChildError>([&] {
                SaveListFile(c.path, {}, {1, 2});
              }),
              "Не могу сохранить список в файле " + c.path + "\n" + c.path + ": " + c.reason);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "no such folder"));
  EXPECT_EQ(FileBytes(dir / "taken.lst/inside"), "keep");
  EXPECT_EQ(FileBytes(dir / "read-only.lst"), "keep");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            2);  // no temporary file left behind
}

TEST(ListFileLoad, SkipsNumbersOutsideTheBaseAndTrailingBytes) {
  TempDir dir;
  const std::string path = dir / "list.lst";
  for (const std::string tail : {"", "\x01", "\x01\x02", "\x01\x02\x03"}) {
    SCOPED_TRACE(tail.size());
    WriteBytes(path, ListBytes({-1, 0, 9, 10, 2147483647, 3, -2147483647 - 1, 3}, tail));
    const LoadedList loaded = LoadListFile(path, 10);
    EXPECT_EQ(loaded.status, ListFileStatus::Ok);
    EXPECT_EQ(loaded.records, (RecordList{0, 9, 3, 3}));
  }
}

TEST(ListFileLoad, ReportsMissingFilesAndWrongFormats) {
  TempDir dir;
  const std::string missing = dir / "missing.lst";
  RecordList list{4, 2};
  EXPECT_EQ(ErrorOf<EChildError>([&] { LoadListFile(missing, 10); }),
            "Не могу найти файл со списком " + missing);
  EXPECT_EQ(ErrorOf<EChildError>([&] { MergeListFile(list, missing, MergeMode::Append, 10); }),
            "Не могу найти файл со списком " + missing);
  EXPECT_EQ(list, (RecordList{4, 2}));

  const std::string path = dir / "bad.lst";
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty file", ""},
      {"head one byte short", ListBytes({}).substr(0, 12)},
      {"wrong magic", "ISLB" + ListBytes({1}).substr(4)},
      {"magic in lower case", "isla" + ListBytes({1}).substr(4)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path, c.bytes);
    EXPECT_EQ(LoadListFile(path, 10).status, ListFileStatus::WrongFormat);
    EXPECT_EQ(MergeListFile(list, path, MergeMode::Append, 10), ListFileStatus::WrongFormat);
    EXPECT_EQ(MergeListFile(list, path, MergeMode::Subtract, 10), ListFileStatus::WrongFormat);
    EXPECT_EQ(list, (RecordList{4, 2}));
  }
}

TEST(ListFileMerge, GivesAnAscendingListWithoutDuplicates) {
  using enum MergeMode;
  const struct {
    const char* what;
    RecordList list;
    std::vector<std::int32_t> file;
    MergeMode mode;
    RecordList expected;
  } cases[] = {
      {"append", {7, 2}, {3, 2, 0, 3}, Append, {0, 2, 3, 7}},
      {"append nothing still sorts", {5, 1, 5, 3}, {}, Append, {1, 3, 5}},
      {"append skips outsiders", {1}, {-1, 10, 2147483647, 9}, Append, {1, 9}},
      {"subtract", {1, 2, 3, 4}, {3, 1, 1}, Subtract, {2, 4}},
      {"subtract what is absent", {4, 1}, {0, 2}, Subtract, {1, 4}},
      {"subtract skips outsiders", {0, 9}, {-1, 10, 9 - 2147483647}, Subtract, {0, 9}},
      {"outsiders in the list stay", {12, -3, 4, 12}, {1}, Append, {-3, 1, 4, 12}},
      {"subtract into an empty list", {}, {1, 2}, Subtract, {}},
      {"append into an empty list", {}, {2, 1, 2}, Append, {1, 2}},
      {"append itself only sorts", {8, 3, 8, 0}, {8, 3, 8, 0}, Append, {0, 3, 8}},
      {"subtract the whole base", {9, 0, 4, 4}, WholeBaseList(10), Subtract, {}},
  };
  TempDir dir;
  const std::string path = dir / "other.lst";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path, ListBytes(c.file, "\x07"));
    RecordList list = c.list;
    EXPECT_EQ(MergeListFile(list, path, c.mode, 10), ListFileStatus::Ok);
    EXPECT_EQ(list, c.expected);
  }
}

TEST(ListFileMerge, HandlesAMillionRecords) {
  constexpr std::int32_t kCount = 1000000;
  TempDir dir;
  const std::string path = dir / "odd.lst";
  RecordList odd;
  for (std::int32_t r = kCount - 1; r > 0; r -= 2) odd.push_back(r);  // descending in the file
  SaveListFile(path, {}, odd);
  RecordList list = WholeBaseList(kCount);
  ASSERT_EQ(MergeListFile(list, path, MergeMode::Subtract, kCount), ListFileStatus::Ok);
  ASSERT_EQ(list.size(), static_cast<std::size_t>(kCount / 2));
  for (std::size_t i = 0; i < list.size(); ++i)
    ASSERT_EQ(list[i], static_cast<std::int32_t>(2 * i));
  ASSERT_EQ(MergeListFile(list, path, MergeMode::Append, kCount), ListFileStatus::Ok);
  EXPECT_EQ(list, WholeBaseList(kCount));
}

TEST(RecordList, WholeBaseListCountsFromZero) {
  EXPECT_EQ(WholeBaseList(3), (RecordList{0, 1, 2}));
  EXPECT_TRUE(WholeBaseList(0).empty());
  EXPECT_TRUE(WholeBaseList(-4).empty());
}

TEST(RecordList, TextFormIsOneNumberPerCrLfLine) {
  EXPECT_EQ(RecordListText({0, 12, 345}), "0\r\n12\r\n345\r\n");
  EXPECT_EQ(RecordListText({}), "");
  EXPECT_EQ(ParseRecordListText("0\r\n12\r\n345\r\n"), (RecordList{0, 12, 345}));
  // LF alone, a missing last line end, and lines that are not whole numbers.
  EXPECT_EQ(ParseRecordListText("7\n\n x\r\n 4\r\n5a\r\n99999999999\r\n-3\r\n8"),
            (RecordList{7, -3, 8}));
}

TEST(RecordList, InsertRecordKeepsAnAscendingListAscendingAndUnique) {
  const struct {
    RecordList list;
    std::int32_t r;
    RecordList expected;
  } cases[] = {
      {{}, 4, {4}},
      {{1, 3, 5}, 4, {1, 3, 4, 5}},
      {{1, 3, 5}, 3, {1, 3, 5}},
      {{1, 3, 5}, 0, {0, 1, 3, 5}},
      {{1, 3, 5}, 9, {1, 3, 5, 9}},
      {{1, 3, 5}, 5, {1, 3, 5}},
  };
  for (const auto& c : cases) {
    RecordList list = c.list;
    InsertRecord(list, c.r);
    EXPECT_EQ(list, c.expected) << "inserting " << c.r;
  }
}

}  // namespace
}  // namespace zorel
