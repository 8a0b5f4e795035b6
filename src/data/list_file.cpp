// Reading, writing and merging list files. A file is read whole (4 bytes a record) and every
// number is taken from within its bytes; saving replaces the target atomically.
#include "data/list_file.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_util.h"
#include "data/replacement_file.h"

namespace zorel {
namespace {

constexpr char kListMagic[] = "ISLA";

// The whole file, or EChildError when it is missing, unreadable or no regular file (a pipe
// or a device would make the reading wait forever).
std::string ReadListFile(const std::string& path) {
  if (!FileExists(path)) throw EChildError("Не могу найти файл со списком " + path);
  auto bytes = ReadWholeFile(path);
  if (!bytes) throw EChildError("Не могу отурыть файл со списком " + path);
  return std::move(*bytes);
}

bool HasListHead(const std::string& bytes) {
  return bytes.size() >= static_cast<std::size_t>(kListHeaderSize) &&
         std::memcmp(bytes.data(), kListMagic, 4) == 0;
}

// Calls visit for each whole 32-bit number after the head, in file order.
template <typename Visit>
void ForEachNumber(const std::string& bytes, Visit visit) {
  const std::uint8_t* p = AsBytes(bytes.data());
  const std::size_t n = (bytes.size() - kListHeaderSize) / 4;
  for (std::size_t i = 0; i < n; ++i) visit(LoadI32(p + kListHeaderSize + 4 * i));
}

}  // namespace

std::uint8_t ListFileHeader::Flags() const {
  return static_cast<std::uint8_t>((requisitesShown ? 1 : 0) | (lowerShown ? 2 : 0) |
                                   (advertShown ? 4 : 0));
}

LoadedList LoadListFile(const std::string& path, std::int32_t recordCount) {
  const std::string bytes = ReadListFile(path);
  LoadedList loaded;
  if (!HasListHead(bytes)) return loaded;
  const std::uint8_t* p = AsBytes(bytes.data());
  loaded.status = ListFileStatus::Ok;
  loaded.header.requisitesShown = (p[4] & 1) != 0;
  loaded.header.lowerShown = (p[4] & 2) != 0;
  loaded.header.advertShown = (p[4] & 4) != 0;
  loaded.header.lowerHeight = LoadI16(p + 5);
  loaded.header.advertWidth = LoadI16(p + 7);
  loaded.header.windowWidth = LoadI16(p + 9);
  loaded.header.windowHeight = LoadI16(p + 11);
  loaded.records.reserve((bytes.size() - kListHeaderSize) / 4);
  ForEachNumber(bytes, [&](std::int32_t v) {
    if (v >= 0 && v < recordCount) loaded.records.push_back(v);
  });
  return loaded;
}

void SaveListFile(const std::string& path, const ListFileHeader& header,
                  const RecordList& records) {
  std::string bytes;
  bytes.reserve(kListHeaderSize + 4 * records.size());
  bytes += kListMagic;
  PutU8(bytes, header.Flags());
  PutU16(bytes, static_cast<std::uint16_t>(header.lowerHeight));
  PutU16(bytes, static_cast<std::uint16_t>(header.advertWidth));
  PutU16(bytes, static_cast<std::uint16_t>(header.windowWidth));
  PutU16(bytes, static_cast<std::uint16_t>(header.windowHeight));
  for (const std::int32_t r : records) PutU32(bytes, static_cast<std::uint32_t>(r));
  const std::string failure = ReplaceUserFile(path, bytes);
  if (!failure.empty())
    throw EChildError("Не могу сохранить список в файле " + path + "\n" + failure);
}

ListFileStatus MergeListFile(RecordList& list, const std::string& path, MergeMode mode,
                             std::int32_t recordCount) {
  const std::string bytes = ReadListFile(path);
  if (!HasListHead(bytes)) return ListFileStatus::WrongFormat;
  // A set over the base's numbers gives the ascending, duplicate-free result in linear time.
  const std::size_t count = static_cast<std::size_t>(std::max(recordCount, 0));
  std::vector<bool> in(count, false);
  // Entries outside the base cannot come from a file of this base; they are kept, in order.
  RecordList below, above;
  for (const std::int32_t r : list) {
    if (r < 0) {
      below.push_back(r);
    } else if (static_cast<std::size_t>(r) >= count) {
      above.push_back(r);
    } else {
      in[static_cast<std::size_t>(r)] = true;
    }
  }
  const bool add = mode == MergeMode::Append;
  ForEachNumber(bytes, [&](std::int32_t v) {
    if (v >= 0 && static_cast<std::size_t>(v) < count) in[static_cast<std::size_t>(v)] = add;
  });
  for (RecordList* outside : {&below, &above}) {
    std::sort(outside->begin(), outside->end());
    outside->erase(std::unique(outside->begin(), outside->end()), outside->end());
  }
  RecordList merged = std::move(below);
  for (std::size_t r = 0; r < count; ++r) {
    if (in[r]) merged.push_back(static_cast<std::int32_t>(r));
  }
  merged.insert(merged.end(), above.begin(), above.end());
  list = std::move(merged);
  return ListFileStatus::Ok;
}

}  // namespace zorel
