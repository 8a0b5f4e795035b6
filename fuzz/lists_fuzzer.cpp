// Fuzz target: list files. A file from the input is loaded, another is appended to or
// subtracted from a list from the input, the result is saved with a head from the input and
// loaded back; the text form of record lists is parsed and made again. Loading and merging
// are checked against the format's rules, saving and reloading for equality.
#include <algorithm>
#include <set>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/record_list.h"
#include "dbwriter/db_writer.h"
#include "fuzz_base.h"
#include "fuzz_check.h"

namespace zorel::fuzz {
namespace {

bool HasHead(const std::string& bytes) {
  return bytes.size() >= static_cast<std::size_t>(kListHeaderSize) &&
         bytes.compare(0, 4, "ISLA") == 0;
}

std::vector<std::int32_t> Numbers(const std::string& bytes, std::size_t from) {
  std::vector<std::int32_t> numbers;
  for (std::size_t pos = from; pos + 4 <= bytes.size(); pos += 4) {
    numbers.push_back(LoadI32(AsBytes(bytes.data() + pos)));
  }
  return numbers;
}

bool InBase(std::int32_t v, std::int32_t count) { return v >= 0 && v < count; }

void CheckLoad(const std::string& path, const std::string& bytes, std::int32_t count) {
  const LoadedList loaded = LoadListFile(path, count);
  if (!HasHead(bytes)) {
    FUZZ_CHECK(loaded.status == ListFileStatus::WrongFormat);
    return;
  }
  FUZZ_CHECK(loaded.status == ListFileStatus::Ok);
  const auto* p = AsBytes(bytes.data());
  FUZZ_CHECK(loaded.header.Flags() == (p[4] & 7));
  FUZZ_CHECK(loaded.header.lowerHeight == LoadI16(p + 5));
  FUZZ_CHECK(loaded.header.advertWidth == LoadI16(p + 7));
  FUZZ_CHECK(loaded.header.windowWidth == LoadI16(p + 9));
  FUZZ_CHECK(loaded.header.windowHeight == LoadI16(p + 11));
  RecordList expected;
  for (const std::int32_t v : Numbers(bytes, kListHeaderSize)) {
    if (InBase(v, count)) expected.push_back(v);
  }
  FUZZ_CHECK(loaded.records == expected);
}

// Append or subtract: the base's numbers of the list, with the file's added or removed, in
// ascending order without duplicates; numbers outside the base that the list held stay, those
// below it first and those above it last, each once.
RecordList Merged(const RecordList& list, const std::string& bytes, MergeMode mode,
                  std::int32_t count) {
  std::set<std::int32_t> inside, below, above;
  for (const std::int32_t v : list) {
    (v < 0 ? below : InBase(v, count) ? inside : above).insert(v);
  }
  for (const std::int32_t v : Numbers(bytes, kListHeaderSize)) {
    if (!InBase(v, count)) continue;
    if (mode == MergeMode::Append) {
      inside.insert(v);
    } else {
      inside.erase(v);
    }
  }
  RecordList merged(below.begin(), below.end());
  merged.insert(merged.end(), inside.begin(), inside.end());
  merged.insert(merged.end(), above.begin(), above.end());
  return merged;
}

void CheckMerge(RecordList list, const std::string& path, const std::string& bytes, MergeMode mode,
                std::int32_t count) {
  const RecordList before = list;
  const ListFileStatus status = MergeListFile(list, path, mode, count);
  if (!HasHead(bytes)) {
    FUZZ_CHECK(status == ListFileStatus::WrongFormat);
    FUZZ_CHECK(list == before);
    return;
  }
  FUZZ_CHECK(status == ListFileStatus::Ok);
  FUZZ_CHECK(list == Merged(before, bytes, mode, count));
}

void CheckSave(const std::string& path, const ListFileHeader& header, const RecordList& list,
               std::int32_t count) {
  SaveListFile(path, header, list);
  const std::string bytes = ReadWholeFile(path).value_or("");
  FUZZ_CHECK(bytes.size() == kListHeaderSize + 4 * list.size());
  FUZZ_CHECK(Numbers(bytes, kListHeaderSize) == list);
  const LoadedList loaded = LoadListFile(path, count);
  FUZZ_CHECK(loaded.status == ListFileStatus::Ok);
  FUZZ_CHECK(loaded.header.Flags() == header.Flags());
  FUZZ_CHECK(loaded.header.lowerHeight == header.lowerHeight);
  FUZZ_CHECK(loaded.header.advertWidth == header.advertWidth);
  FUZZ_CHECK(loaded.header.windowWidth == header.windowWidth);
  FUZZ_CHECK(loaded.header.windowHeight == header.windowHeight);
  RecordList inside;
  std::copy_if(list.begin(), list.end(), std::back_inserter(inside),
               [count](std::int32_t v) { return InBase(v, count); });
  FUZZ_CHECK(loaded.records == inside);
  FUZZ_CHECK(!FileExists(path + ".new"));
}

// A save that cannot create its file reports it and leaves the old file alone.
void CheckFailedSave(const std::string& dir, const std::string& oldPath, const RecordList& list) {
  const std::string before = ReadWholeFile(oldPath).value_or("");
  bool refused = false;
  try {
    SaveListFile(dir + "/missing/folder.lst", ListFileHeader{}, list);
  } catch (const EChildError&) {
    refused = true;
  }
  FUZZ_CHECK(refused);
  FUZZ_CHECK(ReadWholeFile(oldPath).value_or("") == before);
}

void CheckText(const std::string& text, const RecordList& list) {
  FUZZ_CHECK(ParseRecordListText(RecordListText(list)) == list);
  const RecordList parsed = ParseRecordListText(text);
  FUZZ_CHECK(ParseRecordListText(RecordListText(parsed)) == parsed);
}

void CheckInsert(RecordList list, std::int32_t r) {
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
  InsertRecord(list, r);
  FUZZ_CHECK(std::is_sorted(list.begin(), list.end()));
  FUZZ_CHECK(std::adjacent_find(list.begin(), list.end()) == list.end());
  FUZZ_CHECK(std::binary_search(list.begin(), list.end(), r));
}

}  // namespace
}  // namespace zorel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorel;
  using namespace zorel::fuzz;
  InputReader in(data, size);
  const std::uint8_t options = in.Byte();
  std::int32_t count = in.U16();
  if (options & 1) count = -count;
  const MergeMode mode = (options & 2) ? MergeMode::Subtract : MergeMode::Append;
  const std::string first = in.Piece();
  const std::string second = in.Piece();
  const RecordList list = Numbers(in.Piece(), 0);
  ListFileHeader header;
  const std::uint8_t panels = in.Byte();
  header.requisitesShown = (panels & 1) != 0;
  header.lowerShown = (panels & 2) != 0;
  header.advertShown = (panels & 4) != 0;
  header.lowerHeight = static_cast<std::int16_t>(in.U16());
  header.advertWidth = static_cast<std::int16_t>(in.U16());
  header.windowWidth = static_cast<std::int16_t>(in.U16());
  header.windowHeight = static_cast<std::int16_t>(in.U16());
  const std::string text = in.Piece();

  const InputFolder folder(MemoryFolder() + "/lists");
  const std::string& dir = folder.dir();
  const std::string firstPath = dir + "/first.lst";
  const std::string secondPath = dir + "/second.lst";
  PutFile(firstPath, first);
  PutFile(secondPath, second);

  CheckLoad(firstPath, first, count);
  CheckMerge(list, secondPath, second, mode, count);
  RecordList merged = list;
  MergeListFile(merged, secondPath, mode, count);
  CheckSave(firstPath, header, merged, count);  // over the first file
  CheckSave(secondPath, header, list, count);
  CheckFailedSave(dir, firstPath, list);
  CheckText(text, list);
  CheckInsert(list, static_cast<std::int32_t>(in.U32()));
  return 0;
}
