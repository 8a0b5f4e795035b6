#include "data/idx_object.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_system.h"
#include "data/file_util.h"
#include "data/logger.h"

namespace zorel {
namespace {

std::span<const std::int32_t> OffsetsIn(const ByteSource& bytes) {
  return {reinterpret_cast<const std::int32_t*>(bytes.data()), bytes.size() / 4};
}

// An index written for another state of the data file: older than it, or with an entry whose
// length word lies outside it.
bool IsStale(std::span<const std::int32_t> offsets, const struct stat& index,
             const struct stat& data, EntryGeometry geometry) {
  if (ModifiedBefore(index, data)) return true;
  const auto size = static_cast<std::int64_t>(data.st_size);
  // Every offset is looked at without an early exit, so the loop runs as vector code.
  bool outside = false;
  for (const std::int32_t offset : offsets) {
    outside |= offset < 0 || static_cast<std::int64_t>(offset) + geometry.skip + 2 > size;
  }
  return outside;
}

// The index file mapped as it stands when it fits the data file (an empty optional
// otherwise), so opening a large base copies nothing.
std::optional<ByteSource> CurrentIndex(const std::string& indexName, const std::string& dataName,
                                       EntryGeometry geometry) {
  FileSystem& files = Files();
  struct stat dataStat {};
  struct stat indexStat {};
  const bool haveData = files.StatPath(dataName, &dataStat) == 0;
  if (files.StatPath(indexName, &indexStat) != 0) return std::nullopt;
  auto bytes = ByteSource::MapFile(indexName, true);
  if (!bytes) {
    LogIgnoredError("cannot read index, rebuilt", indexName, errno);
    return std::nullopt;
  }
  if (haveData && IsStale(OffsetsIn(*bytes), indexStat, dataStat, geometry)) {
    Logger().Log("EE: index " + indexName + " does not fit " + dataName + ", rebuilt");
    return std::nullopt;
  }
  return bytes;
}

// Saves the offsets a scan found; a folder that cannot take the file leaves them in memory only.
void SaveIndex(const std::string& indexName, const std::vector<std::int32_t>& offsets) {
  std::string image;
  image.reserve(offsets.size() * 4);
  for (auto off : offsets) PutU32(image, static_cast<std::uint32_t>(off));
  if (!WriteFileReplacing(indexName, image)) LogIgnoredError("cannot save index", indexName, errno);
}

}  // namespace

std::string TIdxObject::IndexNameFor(const std::string& dataName) {
  return ChangeExtension(dataName, ".idx");
}

TIdxObject::TIdxObject(const std::string& dataName, std::int32_t extra, std::int32_t dataStart)
    : indexName_(IndexNameFor(dataName)) {
  auto src = ByteSource::MapFile(dataName);
  if (!src) {
    throw DataError("Не могу открыть файл " + dataName + "\n" + ReasonLine(dataName, errno));
  }
  data_ = std::move(*src);
  // Only the file's own name decides: a folder called "items" must not change the geometry.
  const auto slash = indexName_.find_last_of('/');
  const std::string ownName =
      slash == std::string::npos ? indexName_ : indexName_.substr(slash + 1);
  const int skip = ownName.find("item") != std::string::npos ? 0 : 20;
  geometry_ = EntryGeometry{skip, extra};
  if (auto index = CurrentIndex(indexName_, dataName, geometry_)) {
    indexBytes_ = std::move(*index);
    offsets_ = OffsetsIn(indexBytes_);
  } else {
    scanned_ = ScanOffsets(data_.data(), data_.size(), dataStart, geometry_);
    SaveIndex(indexName_, scanned_);
    offsets_ = scanned_;
  }
}

TIdxObject::TIdxObject(ByteSource data, std::vector<std::int32_t> offsets, EntryGeometry geometry)
    : data_(std::move(data)),
      scanned_(std::move(offsets)),
      offsets_(scanned_),
      geometry_(geometry) {}

std::vector<std::int32_t> TIdxObject::ScanOffsets(const std::uint8_t* data, std::size_t size,
                                                  std::int64_t dataStart, EntryGeometry geometry) {
  std::vector<std::int32_t> offsets;
  const auto total = static_cast<std::int64_t>(size);
  // Offsets are 32-bit in the index format; entries past that cannot be addressed.
  const std::int64_t limit = std::min<std::int64_t>(total, INT32_MAX);
  std::int64_t pos = dataStart;
  while (pos >= 0 && pos < limit) {
    const std::int64_t wordAt = pos + geometry.skip;
    if (wordAt + 2 > total) break;
    const std::uint16_t word = LoadU16(data + wordAt);
    if (geometry.skip > 0 && word < kMinRecordLength) break;
    offsets.push_back(static_cast<std::int32_t>(pos));
    pos = pos + geometry.EntrySize(word);
  }
  return offsets;
}

}  // namespace zorel
